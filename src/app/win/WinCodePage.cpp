#include "app/win/WinCodePage.h"

#include <windows.h>

namespace pelo::app {

std::u16string WinCodePage::ToWide(std::string_view bytes) const {
    if (bytes.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return std::u16string(out.begin(), out.end());
}

std::string WinCodePage::FromWide(std::u16string_view text) const {
    if (text.empty()) return {};
    const std::wstring w(text.begin(), text.end());
    const int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, "?", nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), out.data(), n, "?", nullptr);
    return out;
}

}  // namespace pelo::app
