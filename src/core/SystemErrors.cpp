#include "core/SystemErrors.h"

namespace pelo {

std::string FormatOSErrorMessage(std::uint32_t code, std::string_view systemText)
{
    std::string text = "System Error.  Code: ";
    text += std::to_string(static_cast<std::int32_t>(code));  // printed signed, like a %d
    text += ".\r\n";
    text += systemText;
    return text;
}

EOSError::EOSError(std::uint32_t code, std::string_view systemText)
    : std::runtime_error(FormatOSErrorMessage(code, systemText)), code_(code)
{
}

}  // namespace pelo
