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

std::wstring SystemErrorText(DWORD code) {
    wchar_t* msg = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&msg), 0, nullptr);
    std::wstring text = L"System Error.  Code: " + std::to_wstring(code) + L".";
    if (msg) {
        std::wstring m(msg);
        LocalFree(msg);
        while (!m.empty() && (m.back() == L'\n' || m.back() == L'\r' || m.back() == L' ')) m.pop_back();
        if (!m.empty()) text += L"\r\n" + m;
    }
    return text;
}

}  // namespace pelo::ui
