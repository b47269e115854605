#include "core/win/WinOSError.h"

namespace pelo {

std::string SystemErrorDescription(DWORD code)
{
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string description;
    if (n != 0 && text != nullptr)
        description.assign(text, n);
    if (text != nullptr)
        LocalFree(text);
    while (!description.empty() && (description.back() == '\n' || description.back() == '\r' ||
                                    description.back() == ' '))
        description.pop_back();
    return description;
}

EOSError MakeOSError(DWORD code) { return EOSError(code, SystemErrorDescription(code)); }

void RaiseLastOSError() { throw MakeOSError(GetLastError()); }

}  // namespace pelo
