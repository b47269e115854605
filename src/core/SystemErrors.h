#pragma once
// Exceptions that stand for failures reported by the operating system and for broken internal contracts.
// The main window's general error handling shows what() in an error box, so the texts are user-visible.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pelo {

// "System Error.  Code: <code>." followed by CR LF and the system's own description of the code.
std::string FormatOSErrorMessage(std::uint32_t code, std::string_view systemText);

// A failed system call. The Win32 layer builds it from GetLastError() and FormatMessage().
class EOSError : public std::runtime_error {
public:
    EOSError(std::uint32_t code, std::string_view systemText);
    std::uint32_t ErrorCode() const noexcept { return code_; }

private:
    std::uint32_t code_;
};

// A terminal's list view stopped answering: the window is gone, or its thread did not answer in time. Whoever
// reads that list has lost it for good; the text is the system's, as for any other failed call.
class EListLost : public EOSError {
public:
    EListLost(std::uint32_t code, std::string_view systemText, bool terminalHung)
        : EOSError(code, systemText), terminalHung_(terminalHung)
    {
    }
    // The terminal's thread is alive but busy: anything else that waits on that process may wait as long.
    bool TerminalHung() const noexcept { return terminalHung_; }

private:
    bool terminalHung_;
};

// A caller broke a contract that the code checks at run time (freeing a pointer that was never handed out, ...).
class EAssertionFailed : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

}  // namespace pelo
