#include "headlines/TimeStamps.h"

namespace pelo::headlines {
namespace {

// Fixed-width decimal with leading zeros; wider values are written in full.
void AppendPadded(std::string& out, int value, int width)
{
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (value < 0)
        out += '-';
    for (int i = static_cast<int>(digits.size()); i < width; ++i)
        out += '0';
    out += digits;
}

void AppendClock(std::string& out, const TLocalTime& t)
{
    AppendPadded(out, t.Hour, 2);
    out += ':';
    AppendPadded(out, t.Minute, 2);
    out += ':';
    AppendPadded(out, t.Second, 2);
    out += '.';
    AppendPadded(out, t.Millisecond, 3);
}

} // namespace

std::string FormatBoxTime(const TLocalTime& t, bool altTimeFormat)
{
    std::string out;
    out.reserve(12);
    if (altTimeFormat) {
        AppendPadded(out, t.Second, 2);
        out += '.';
        AppendPadded(out, t.Millisecond, 3);
    } else {
        AppendClock(out, t);
    }
    return out;
}

std::string FormatLogTime(const TLocalTime& t)
{
    std::string out;
    out.reserve(23);
    AppendPadded(out, t.Day, 2);
    out += '/';
    AppendPadded(out, t.Month, 2);
    out += '/';
    AppendPadded(out, t.Year, 1);
    out += ' ';
    AppendClock(out, t);
    return out;
}

}  // namespace pelo::headlines
