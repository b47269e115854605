#include "lang/rtl/DateTimeRoutines.h"

#include "lang/rtl/DoubleRounding.h"
#include "lang/rtl/MathRoutines.h"
#include "lang/rtl/ScriptError.h"

#include <array>
#include <chrono>
#include <cmath>
#include <ctime>

namespace pelo::lang::rtl {

namespace {

constexpr int64_t kMSecsPerDay = 86400000;
constexpr double kMinDecodableDate = -693594.0;  // 31/12/0000
constexpr double kMaxDateTime = 2958465.99999999;

constexpr std::array<const char*, 12> kShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<const char*, 12> kLongMonthNames = {"January", "February", "March",     "April",
                                                         "May",     "June",     "July",      "August",
                                                         "September", "October", "November", "December"};
constexpr std::array<const char*, 7> kShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 7> kLongDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                      "Thursday", "Friday", "Saturday"};
constexpr std::string_view kShortDateFormat = "dd/MM/yyyy";
constexpr std::string_view kLongDateFormat = "dd/MM/yyyy.";
constexpr std::string_view kShortTimeFormat = "hh:mm:ss.zzz";
constexpr std::string_view kLongTimeFormat = "hh:mm:ss.zzz";
constexpr char kDateSeparator = '/';
constexpr char kTimeSeparator = ':';
constexpr const char* kTimeAMString = "";
constexpr const char* kTimePMString = "";
constexpr int kTwoDigitYearCenturyWindow = 50;

int daysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<size_t>(month - 1)];
}

// Day number (0 = 30/12/1899) to calendar date, proleptic Gregorian.
void civilFromSerial(int64_t serial, int& year, int& month, int& day) {
    const int64_t z = serial - 25569 + 719468;  // days since 01/03/0000
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

// Milliseconds of the day, rounded to the nearest millisecond and counted from midnight even for
// negative date-times (-1.25 is 06:00 on 29/12/1899).
int64_t timeOfDayMs(DateTime value) {
    double d = asDouble(value * static_cast<double>(kMSecsPerDay));
    d = asDouble(d + (d < 0 ? -0.5 : 0.5));
    if (!(std::fabs(d) < 9223372036854775808.0)) throw ScriptError(ErrorKind::MathError, kInvalidFloatingPointOperation);
    const auto ms = static_cast<int64_t>(d);
    return (ms < 0 ? -ms : ms) % kMSecsPerDay;
}

std::function<DateTime()>& clockOverride() {
    static std::function<DateTime()> clock;
    return clock;
}

DateTime systemNow() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t secs = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    const std::tm* local = std::localtime(&secs);  // the program's logic runs on one thread
    if (local == nullptr) return UnixToDateTime(static_cast<int64_t>(secs));
    DateTime date = 0, time = 0;
    TryEncodeDate(static_cast<uint16_t>(local->tm_year + 1900), static_cast<uint16_t>(local->tm_mon + 1),
                  static_cast<uint16_t>(local->tm_mday), date);
    TryEncodeTime(static_cast<uint16_t>(local->tm_hour), static_cast<uint16_t>(local->tm_min),
                  static_cast<uint16_t>(local->tm_sec > 59 ? 59 : local->tm_sec), static_cast<uint16_t>(ms), time);
    return date + time;
}

std::string quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

// ---- FormatDateTime ----

class DateTimeFormatter {
public:
    explicit DateTimeFormatter(DateTime value) {
        DecodeDate(value, year_, month_, day_);
        dayOfWeek_ = DayOfWeek(value);
        DecodeTime(value, hour_, minute_, second_, msec_);
    }

    std::string run(std::string_view format) {
        if (format.empty())
            store(std::string_view("C"), 0, false);
        else
            store(format, 0, false);
        return std::move(out_);
    }

private:
    void storeInt(int value, int digits) {
        std::string s = std::to_string(value);
        if (static_cast<int>(s.size()) < digits) out_.append(static_cast<size_t>(digits) - s.size(), '0');
        out_ += s;
    }

    static bool startsWithNoCase(std::string_view s, size_t at, std::string_view prefix) {
        if (s.size() - at < prefix.size()) return false;
        for (size_t i = 0; i < prefix.size(); ++i) {
            char c = s[at + i];
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
            if (c != prefix[i]) return false;
        }
        return true;
    }

    static char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

    void store(std::string_view format, int nesting, bool timeFlag) {
        if (nesting > 1) return;
        // a 12-hour clock token anywhere outside quotes switches every hour to 12-hour form
        bool clock12 = false;
        for (size_t p = 0; p < format.size(); ++p) {
            const char c = format[p];
            if (c == '\'' || c == '"') {
                ++p;
                while (p < format.size() && format[p] != c) ++p;
            } else if ((c == 'A' || c == 'a') && (startsWithNoCase(format, p, "A/P") ||
                                                   startsWithNoCase(format, p, "AMPM") ||
                                                   startsWithNoCase(format, p, "AM/PM"))) {
                clock12 = true;
                break;
            }
        }
        char lastToken = ' ';
        size_t cur = 0;
        while (cur < format.size()) {
            const char token = upper(format[cur]);
            size_t count = 1;
            switch (token) {
            case '\'':
            case '"': {
                size_t p = cur + 1;
                while (p < format.size() && format[p] != format[cur]) ++p;
                const size_t textEnd = p;
                out_.append(format.substr(cur + 1, textEnd - cur - 1));
                count = (p < format.size() ? p + 1 : p) - cur;
                break;
            }
            case 'A':
                if (startsWithNoCase(format, cur, "AMPM")) {
                    count = 4;
                    out_ += hour_ < 12 ? kTimeAMString : kTimePMString;
                } else if (startsWithNoCase(format, cur, "AM/PM")) {
                    count = 5;
                    out_.append(format.substr(hour_ < 12 ? cur : cur + 3, 2));
                } else if (startsWithNoCase(format, cur, "A/P")) {
                    count = 3;
                    out_.append(format.substr(hour_ < 12 ? cur : cur + 2, 1));
                } else {
                    throw ScriptError("Illegal character in format string");
                }
                break;
            case '/':
                out_ += kDateSeparator;
                break;
            case ':':
                out_ += kTimeSeparator;
                break;
            case ' ':
            case 'C':
            case 'D':
            case 'F':
            case 'H':
            case 'M':
            case 'N':
            case 'S':
            case 'T':
            case 'Y':
            case 'Z': {
                size_t p = cur + 1;
                while (p < format.size() && upper(format[p]) == token) ++p;
                count = p - cur;
                storeToken(token, count, format.substr(cur, count), nesting, timeFlag, clock12, lastToken);
                lastToken = token;
                break;
            }
            default:
                out_ += token;
                break;
            }
            cur += count;
        }
    }

    void storeToken(char token, size_t count, std::string_view text, int nesting, bool timeFlag, bool clock12,
                    char lastToken) {
        switch (token) {
        case ' ':
            out_.append(text);
            break;
        case 'Y':
            if (count > 2)
                storeInt(year_, 4);
            else
                storeInt(year_ % 100, 2);
            break;
        case 'M':
            if (lastToken == 'H' || timeFlag) {
                storeInt(minute_, count == 1 ? 0 : 2);
            } else if (count <= 2) {
                storeInt(month_, count == 1 ? 0 : 2);
            } else if (month_ >= 1 && month_ <= 12) {
                out_ += (count == 3 ? kShortMonthNames : kLongMonthNames)[static_cast<size_t>(month_ - 1)];
            }
            break;
        case 'D':
            if (count <= 2)
                storeInt(day_, count == 1 ? 0 : 2);
            else if (count <= 4)
                out_ += (count == 3 ? kShortDayNames : kLongDayNames)[static_cast<size_t>(dayOfWeek_ - 1)];
            else
                store(count == 5 ? kShortDateFormat : kLongDateFormat, nesting + 1, false);
            break;
        case 'H': {
            int h = hour_;
            if (clock12) {
                h %= 12;
                if (h == 0) h = 12;
            }
            storeInt(h, count == 1 ? 0 : 2);
            break;
        }
        case 'N':
            storeInt(minute_, count == 1 ? 0 : 2);
            break;
        case 'S':
            storeInt(second_, count == 1 ? 0 : 2);
            break;
        case 'Z':
            storeInt(msec_, count == 1 ? 0 : 3);
            break;
        case 'T':
            store(count == 1 ? kShortTimeFormat : kLongTimeFormat, nesting + 1, true);
            break;
        case 'C':
            store(kShortDateFormat, nesting + 1, false);
            if (hour_ != 0 || minute_ != 0 || second_ != 0) {
                out_ += ' ';
                store(kLongTimeFormat, nesting + 1, true);
            }
            break;
        case 'F':
            store(kShortDateFormat, nesting + 1, false);
            out_ += ' ';
            store(kLongTimeFormat, nesting + 1, true);
            break;
        default:
            break;
        }
    }

    uint16_t year_ = 0, month_ = 0, day_ = 0, dayOfWeek_ = 1;
    uint16_t hour_ = 0, minute_ = 0, second_ = 0, msec_ = 0;
    std::string out_;
};

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

bool TryEncodeDate(uint16_t year, uint16_t month, uint16_t day, DateTime& result) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return false;
    int64_t days = day;
    for (int m = 1; m < month; ++m) days += daysInMonth(year, m);
    const int64_t c = year - 1;
    result = static_cast<double>(c * 365 + c / 4 - c / 100 + c / 400 + days - 693594);
    return true;
}

bool TryEncodeTime(uint16_t hour, uint16_t minute, uint16_t second, uint16_t msec, DateTime& result) {
    if (hour >= 24 || minute >= 60 || second >= 60 || msec >= 1000) return false;
    const int64_t ms = hour * int64_t{3600000} + minute * int64_t{60000} + second * int64_t{1000} + msec;
    result = asDouble(static_cast<double>(ms) / static_cast<double>(kMSecsPerDay));
    return true;
}

DateTime EncodeDate(uint16_t year, uint16_t month, uint16_t day) {
    DateTime r = 0;
    if (!TryEncodeDate(year, month, day, r))
        throw ScriptError(std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day) +
                          " is not a valid date specification");
    return r;
}

DateTime EncodeTime(uint16_t hour, uint16_t minute, uint16_t second, uint16_t msec) {
    DateTime r = 0;
    if (!TryEncodeTime(hour, minute, second, msec, r))
        throw ScriptError(std::to_string(hour) + ":" + std::to_string(minute) + ":" + std::to_string(second) +
                          "." + std::to_string(msec) + " is not a valid time specification");
    return r;
}

void DecodeDate(DateTime value, uint16_t& year, uint16_t& month, uint16_t& day) {
    if (!(value > kMinDecodableDate)) {  // NaN included
        year = month = day = 0;
        return;
    }
    constexpr double kHalfMs = 1.0 / (kMSecsPerDay * 2.0);
    double v = asDouble(value > 0 ? value + kHalfMs : value - kHalfMs);
    if (v > kMaxDateTime) v = kMaxDateTime;
    int y = 0, m = 0, d = 0;
    civilFromSerial(static_cast<int64_t>(std::trunc(v)), y, m, d);
    year = static_cast<uint16_t>(y);
    month = static_cast<uint16_t>(m);
    day = static_cast<uint16_t>(d);
}

void DecodeTime(DateTime value, uint16_t& hour, uint16_t& minute, uint16_t& second, uint16_t& msec) {
    int64_t ms = timeOfDayMs(value);
    hour = static_cast<uint16_t>(ms / 3600000);
    ms %= 3600000;
    minute = static_cast<uint16_t>(ms / 60000);
    ms %= 60000;
    second = static_cast<uint16_t>(ms / 1000);
    msec = static_cast<uint16_t>(ms % 1000);
}

uint16_t DayOfWeek(DateTime value) {
    const int64_t r = 1 + (Trunc64(value) % 7 - 1) % 7;  // the remainder first: the earliest day has no day before it
    return static_cast<uint16_t>(r <= 0 ? r + 7 : r);
}

uint16_t MilliSecondOf(DateTime value) { return static_cast<uint16_t>(timeOfDayMs(value) % 1000); }
uint16_t SecondOf(DateTime value) { return static_cast<uint16_t>(timeOfDayMs(value) / 1000 % 60); }
uint16_t MinuteOf(DateTime value) { return static_cast<uint16_t>(timeOfDayMs(value) / 60000 % 60); }
uint16_t HourOf(DateTime value) { return static_cast<uint16_t>(timeOfDayMs(value) / 3600000); }
uint16_t DayOf(DateTime value) {
    uint16_t y = 0, m = 0, d = 0;
    DecodeDate(value, y, m, d);
    return d;
}

void SetClockForTesting(std::function<DateTime()> clock) { clockOverride() = std::move(clock); }

DateTime Now() { return clockOverride() ? clockOverride()() : systemNow(); }
DateTime Date() { return std::trunc(Now()); }
DateTime Time() {
    const DateTime n = Now();
    return asDouble(n - std::trunc(n));
}

int64_t DateTimeToUnix(DateTime value) { return Round64(asDouble(asDouble(value - kUnixEpochDays) * 86400.0)); }

DateTime UnixToDateTime(int64_t seconds) {
    return asDouble(asDouble(static_cast<double>(seconds) / 86400.0) + kUnixEpochDays);
}

std::string FormatDateTime(std::string_view format, DateTime value) {
    return DateTimeFormatter(value).run(format);
}

std::string DateToStr(DateTime value) { return FormatDateTime("ddddd", value); }
std::string TimeToStr(DateTime value) { return FormatDateTime("tt", value); }
std::string DateTimeToStr(DateTime value) { return FormatDateTime("c", value); }

DateTime StrToDate(std::string_view s) {
    const auto fail = [&]() -> DateTime { throw ScriptError(quoted(s) + " is not a valid date format"); };
    size_t len = s.size();
    while (len > 0 && (s[len - 1] == ' ' || s[len - 1] == '\t')) --len;
    if (len == 0) return fail();
    // day, month and year come in the order of the short date format
    constexpr int kDayPos = 1, kMonthPos = 2, kYearPos = 3;
    std::array<int64_t, 4> values{};
    std::string number;
    int n = 0;
    bool yearHasMoreDigits = false;
    for (size_t i = 0; i < len; ++i) {
        const char c = s[i];
        const bool digit = c >= '0' && c <= '9';
        if (digit) number += c;
        if (c == ' ') continue;  // spaces may stand anywhere
        if (c == kDateSeparator || (i == len - 1 && digit)) {
            if (++n > 3) return fail();
            if (n == kYearPos && number.size() > 2) yearHasMoreDigits = true;
            if (number.empty() || number.size() > 9) return fail();
            values[static_cast<size_t>(n)] = std::stoll(number);
            number.clear();
        } else if (!digit) {
            return fail();
        }
    }
    uint16_t thisYear = 0, thisMonth = 0, thisDay = 0;
    DecodeDate(Now(), thisYear, thisMonth, thisDay);
    int64_t y, m, d;
    if (n == 3) {
        y = values[kYearPos];
        m = values[kMonthPos];
        d = values[kDayPos];
    } else {
        y = thisYear;
        if (n < 2) {
            d = values[1];
            m = thisMonth;
        } else {
            d = values[1];
            m = values[2];
        }
    }
    auto year = static_cast<uint16_t>(y), month = static_cast<uint16_t>(m), day = static_cast<uint16_t>(d);
    if (year < 100 && !yearHasMoreDigits) {
        const int window = thisYear - kTwoDigitYearCenturyWindow;
        year = static_cast<uint16_t>(year + window / 100 * 100);
        if (year < window) year = static_cast<uint16_t>(year + 100);
    }
    DateTime result = 0;
    if (!TryEncodeDate(year, month, day, result)) return fail();
    return result;
}

DateTime StrToTime(std::string_view s) {
    const auto fail = [&]() -> DateTime { throw ScriptError(quoted(s) + " is not a valid time"); };
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    const std::string_view t = s.substr(b, e - b);
    std::array<int64_t, 4> parts{};  // hour, minute, second, millisecond
    size_t index = 0;
    std::string number;
    auto flush = [&]() -> bool {
        if (number.empty() || number.size() > 9) return false;
        parts[index] = std::stoll(number);
        number.clear();
        return true;
    };
    for (size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c >= '0' && c <= '9') {
            number += c;
        } else if (c == kTimeSeparator && index < 2) {
            if (!flush()) return fail();
            ++index;
        } else if (c == '.' && index == 2) {
            if (!flush()) return fail();
            index = 3;
        } else {
            return fail();
        }
    }
    if (!flush()) return fail();
    for (const int64_t p : parts)
        if (p > 65535) return fail();
    DateTime result = 0;
    if (!TryEncodeTime(static_cast<uint16_t>(parts[0]), static_cast<uint16_t>(parts[1]),
                       static_cast<uint16_t>(parts[2]), static_cast<uint16_t>(parts[3]), result))
        return fail();
    return result;
}

DateTime StrToDateTime(std::string_view s) {
    size_t i = s.find(kTimeSeparator);
    if (i == std::string_view::npos) return StrToDate(s);
    while (i > 0 && s[i] != ' ') --i;
    if (s[i] != ' ') return StrToTime(s);
    const DateTime date = StrToDate(s.substr(0, i));
    const DateTime time = StrToTime(s.substr(i + 1));
    return date < 0 ? date - time : date + time;
}

}  // namespace pelo::lang::rtl
