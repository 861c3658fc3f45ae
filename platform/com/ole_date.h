// OLE automation dates: a double counting days since 1899-12-30 00:00, whose fraction is
// the time of day. For dates before the epoch the integer part counts days backwards while
// the fraction still runs forwards (-1.25 is 1899-12-29 06:00). Valid years: 100..9999.
//
// Contract: pure functions, thread-safe; invalid input gives false / std::nullopt.
#pragma once

#include <optional>

namespace platform::com {

struct CalendarTime {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int dayOfWeek = 0;  // 0 = Sunday; filled in by oleDateToCalendar

    friend bool operator==(const CalendarTime&, const CalendarTime&) = default;
};

inline constexpr double kMinOleDate = -657434.0;         // 0100-01-01
inline constexpr double kMaxOleDate = 2958465.99999999;  // 9999-12-31 23:59:59

// Days from 1970-01-01 of a proleptic Gregorian date (any month/day overflow normalised).
long long daysFromCivil(int year, int month, int day);
bool isValidCalendarDate(int year, int month, int day);
int daysInMonth(int year, int month);

// False when the fields are out of range (month 13, 31 April, hour 24, year 10000, ...).
std::optional<double> calendarToOleDate(const CalendarTime& time);
// Rounds to the nearest millisecond. std::nullopt outside the valid range.
std::optional<CalendarTime> oleDateToCalendar(double date);

// A date as a count of days that runs forwards through the epoch (-1.25 becomes -0.75), so
// that adding days, subtracting and ordering work before 1899-12-30 too; and back.
double oleDateToLinear(double date);
double linearToOleDate(double days);

}  // namespace platform::com
