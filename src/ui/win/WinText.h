#pragma once
// Conversions between the program's text kinds: wide (file names, settings, registry) and 8-bit system code page
// (headlines, window titles, script strings).
#include <windows.h>

#include <string>
#include <string_view>

namespace pelo::ui {

std::wstring AnsiToWide(std::string_view s);
std::string WideToAnsi(std::wstring_view s);

inline std::wstring ToWide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
inline std::u16string ToU16(std::wstring_view s) { return std::u16string(s.begin(), s.end()); }

std::wstring GetWindowTextW(HWND hwnd);
std::string GetWindowTextA(HWND hwnd);

}  // namespace pelo::ui
