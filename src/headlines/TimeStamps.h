#pragma once
// Time-stamp texts of headline lines and log lines, and the clock they are read from.
#include <string>

namespace pelo::headlines {

// A local date and time with milliseconds, as the system clock reports it.
struct TLocalTime {
    int Year = 0;
    int Month = 0;   // 1..12
    int Day = 0;     // 1..31
    int Hour = 0;    // 0..23
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
};

// The local clock. The Win32 layer reads GetLocalTime; tests fix the time.
class IClock {
public:
    virtual ~IClock() = default;
    virtual TLocalTime LocalNow() = 0;
};

// hh:mm:ss.zzz, or ss.zzz when altTimeFormat is on. The headline box uses it.
std::string FormatBoxTime(const TLocalTime& t, bool altTimeFormat);

// dd/MM/yyyy hh:mm:ss.zzz. Log lines always carry the full form, whatever the box shows.
std::string FormatLogTime(const TLocalTime& t);

}  // namespace pelo::headlines
