#pragma once
// The main window's clock: caption text and the phase alignment of its half-second timer.
#include <string>
#include <string_view>

namespace pelo::app {

struct ClockTick {
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// Keeps the 500 ms timer about 10 ms behind each full and half second, so the shown second changes on time.
class ClockAlignment {
public:
    // Returns the timer interval to use from now on.
    int OnTick(int millisecond);
    bool Aligned() const { return aligned_; }
    int Interval() const { return interval_; }

private:
    bool aligned_ = false;
    int interval_ = 500;
};

// CaptionBase + "     Time: HH:MM:SS".
std::string ClockCaptionText(std::string_view captionBase, const ClockTick& t);

// ProgramTitle + version, plus " (testing)" while a script runs in test mode.
std::string MakeCaptionBase(bool testMode);

}  // namespace pelo::app
