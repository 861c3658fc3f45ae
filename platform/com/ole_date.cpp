#include "platform/com/ole_date.h"

#include <cmath>

namespace platform::com {
namespace {

constexpr long long kEpochOffsetDays = 25569;  // 1899-12-30 .. 1970-01-01
constexpr double kMillisecondsPerDay = 86400000.0;

void civilFromDays(long long z, int& year, int& month, int& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

long long daysFromCivil(int year, int month, int day) {
    long long y = year;
    long long m = month;
    // Normalise months outside 1..12 into the year.
    y += (m - 1 >= 0 ? (m - 1) / 12 : (m - 12) / 12);
    m = ((m - 1) % 12 + 12) % 12 + 1;
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

bool isValidCalendarDate(int year, int month, int day) {
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month);
}

std::optional<double> calendarToOleDate(const CalendarTime& t) {
    if (!isValidCalendarDate(t.year, t.month, t.day) || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
        t.minute > 59 || t.second < 0 || t.second > 59 || t.millisecond < 0 || t.millisecond > 999)
        return std::nullopt;
    const double days =
        static_cast<double>(daysFromCivil(t.year, t.month, t.day) + kEpochOffsetDays);
    const double fraction =
        ((t.hour * 60.0 + t.minute) * 60.0 + t.second + t.millisecond / 1000.0) / 86400.0;
    return days >= 0 ? days + fraction : days - fraction;
}

std::optional<CalendarTime> oleDateToCalendar(double date) {
    if (!std::isfinite(date) || date < kMinOleDate || date > kMaxOleDate)
        return std::nullopt;
    // Split into whole days and a forward-running time of day, then count milliseconds.
    double whole = std::trunc(date);
    double fraction = std::fabs(date - whole);
    long long ms = std::llround(fraction * kMillisecondsPerDay);
    if (ms >= static_cast<long long>(kMillisecondsPerDay)) {
        ms -= static_cast<long long>(kMillisecondsPerDay);
        whole += date >= 0 ? 1 : -1;
    }
    const long long unixDays = static_cast<long long>(whole) - kEpochOffsetDays;
    CalendarTime t;
    civilFromDays(unixDays, t.year, t.month, t.day);
    t.millisecond = static_cast<int>(ms % 1000);
    t.second = static_cast<int>(ms / 1000 % 60);
    t.minute = static_cast<int>(ms / 60000 % 60);
    t.hour = static_cast<int>(ms / 3600000);
    t.dayOfWeek = static_cast<int>(((unixDays % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday
    return t;
}

double oleDateToLinear(double date) {
    if (date >= 0)
        return date;
    const double whole = std::trunc(date);
    return whole + (whole - date);
}

double linearToOleDate(double days) {
    if (days >= 0)
        return days;
    const double whole = std::floor(days);
    return whole - (days - whole);
}

}  // namespace platform::com
