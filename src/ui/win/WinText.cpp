#include "ui/win/WinText.h"

#include <vector>

namespace pelo::ui {

std::wstring AnsiToWide(std::string_view s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

std::string WideToAnsi(std::wstring_view s) {
    if (s.empty()) return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring GetWindowTextW(HWND hwnd) {
    const int n = GetWindowTextLengthW(hwnd);
    std::vector<wchar_t> buf(static_cast<size_t>(n) + 2);
    const int got = ::GetWindowTextW(hwnd, buf.data(), n + 1);
    return std::wstring(buf.data(), static_cast<size_t>(got > 0 ? got : 0));
}

std::string GetWindowTextA(HWND hwnd) {
    const int n = GetWindowTextLengthA(hwnd);
    std::vector<char> buf(static_cast<size_t>(n) + 2);
    const int got = ::GetWindowTextA(hwnd, buf.data(), n + 1);
    return std::string(buf.data(), static_cast<size_t>(got > 0 ? got : 0));
}

}  // namespace pelo::ui
