#include "app/ClockCaption.h"

#include <cstdio>

#include "app/StartupRules.h"

namespace pelo::app {

int ClockAlignment::OnTick(int ms) {
    if (aligned_) return interval_;
    if ((ms > 50 && ms < 500) || ms > 550) {
        interval_ = 510 - (ms % 500);
    } else {
        interval_ = 500;
        aligned_ = true;
    }
    return interval_;
}

std::string ClockCaptionText(std::string_view captionBase, const ClockTick& t) {
    char clock[32];
    std::snprintf(clock, sizeof clock, "     Time: %02d:%02d:%02d", t.hour, t.minute, t.second);
    std::string text(captionBase);
    text += clock;
    return text;
}

std::string MakeCaptionBase(bool testMode) {
    std::string base(ProgramTitle);
    base += ProgramVersion;
    if (testMode) base += " (testing)";
    return base;
}

}  // namespace pelo::app
