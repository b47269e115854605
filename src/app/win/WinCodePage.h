#pragma once
// The system's ANSI code page for the platform-free text rules.
#include "app/CodePage.h"

namespace pelo::app {

class WinCodePage final : public CodePage {
public:
    std::u16string ToWide(std::string_view bytes) const override;
    std::string FromWide(std::u16string_view text) const override;
};

}  // namespace pelo::app
