#pragma once
// Date and time routines. A date-time is a double: whole days since 30/12/1899, the fraction being
// the time of day. Text uses the program's fixed formats: short date "dd/MM/yyyy", long date
// "dd/MM/yyyy.", times "hh:mm:ss.zzz", separators '/' and ':', no AM/PM strings, English names.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace pelo::lang::rtl {

using DateTime = double;

inline constexpr double kUnixEpochDays = 25569.0;  // 01/01/1970 as a date-time

bool IsLeapYear(int year);

// EncodeDate raises "<y>-<m>-<d> is not a valid date specification" for dates outside 1..9999 or
// impossible days; EncodeTime raises "<h>:<m>:<s>.<ms> is not a valid time specification".
DateTime EncodeDate(uint16_t year, uint16_t month, uint16_t day);
DateTime EncodeTime(uint16_t hour, uint16_t minute, uint16_t second, uint16_t msec);
bool TryEncodeDate(uint16_t year, uint16_t month, uint16_t day, DateTime& result);
bool TryEncodeTime(uint16_t hour, uint16_t minute, uint16_t second, uint16_t msec, DateTime& result);

// Both round to the nearest millisecond first, so 0.99999999999 decodes as 31/12/1899 00:00:00.000.
// Dates before 01/01/0001 decode as 0/0/0; dates after 9999 as 31/12/9999.
void DecodeDate(DateTime value, uint16_t& year, uint16_t& month, uint16_t& day);
void DecodeTime(DateTime value, uint16_t& hour, uint16_t& minute, uint16_t& second, uint16_t& msec);

uint16_t DayOfWeek(DateTime value);  // 1 = Sunday .. 7 = Saturday, from the truncated day number
uint16_t MilliSecondOf(DateTime value);
uint16_t SecondOf(DateTime value);
uint16_t MinuteOf(DateTime value);
uint16_t HourOf(DateTime value);
uint16_t DayOf(DateTime value);  // day of the month

// The local clock. Tests and the host may replace it; an empty function restores the system clock.
void SetClockForTesting(std::function<DateTime()> clock);
DateTime Now();
DateTime Date();  // today at midnight
DateTime Time();  // time of day

int64_t DateTimeToUnix(DateTime value);  // (value - 25569) * 86400, rounded half to even
DateTime UnixToDateTime(int64_t seconds);

// FormatDateTime with the usual tokens (d..dddddd, m..mmmm, yy/yyyy, h, n, s, z, t/tt, c, f, am/pm,
// a/p, ampm, quoted text). 'm' right after an 'h' token means minutes. Other letters are copied in
// upper case; a stray 'a' raises "Illegal character in format string".
std::string FormatDateTime(std::string_view format, DateTime value);
std::string DateToStr(DateTime value);      // dd/MM/yyyy
std::string TimeToStr(DateTime value);      // hh:mm:ss.zzz
std::string DateTimeToStr(DateTime value);  // date, plus the time unless it is midnight

// StrToDate reads day/month/year in that order with '/' between (year optional: the current one; a
// two-digit year falls in the 50-year window around the current year) and raises
// "\"<s>\" is not a valid date format" on bad text.
DateTime StrToDate(std::string_view s);
// StrToTime reads h[:m[:s[.z]]] and raises "\"<s>\" is not a valid time".
DateTime StrToTime(std::string_view s);
// StrToDateTime: text with a ':' is a date, a space and a time, or a time alone; text without one is a
// date. Bad parts raise the errors of StrToDate and StrToTime.
DateTime StrToDateTime(std::string_view s);

}  // namespace pelo::lang::rtl
