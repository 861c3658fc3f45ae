// Functions over dates: building, taking apart, formatting and moving by months.
#include <algorithm>
#include <cmath>

#include "platform/com/ole_date.h"
#include "tarn/expression/dates.h"
#include "tarn/expression/function_routines.h"
#include "tarn/expression/parser_exception.h"

namespace tarn::routines {

using platform::com::CalendarTime;
using platform::com::calendarToOleDate;
using platform::com::oleDateToCalendar;

namespace {

double dateArgument(Arguments args, std::size_t index) {
    return args[index]->real();
}

void format(Arguments args, Variant& result, const wchar_t* pattern) {
    result = Variant::fromString(formatDate(dateArgument(args, 0), pattern));
}

// One field of the date; -1 for a date outside the valid range.
void part(Arguments args, Variant& result, int CalendarTime::*field) {
    const auto time = oleDateToCalendar(dateArgument(args, 0));
    result = Variant::fromDouble(time ? static_cast<double>((*time).*field) : -1.0);
}

// A date and time field from a number argument; out-of-range values fail validation later.
int dateField(Arguments args, std::size_t index) {
    return static_cast<int>(std::clamp(toCount(args[index]->real()), -100000LL, 100000LL));
}

Variant builtDate(const CalendarTime& time) {
    const auto value = calendarToOleDate(time);
    if (!value)
        raiseParserError(kErrorInvalidValue);
    return Variant::fromDate(*value);
}

CalendarTime today() {
    auto now = oleDateToCalendar(std::floor(currentDateTime()));
    return now.value_or(CalendarTime{});
}

}  // namespace

void cdow(Arguments a, Variant& r) {
    format(a, r, L"%A");
}
void cmonth(Arguments a, Variant& r) {
    format(a, r, L"%B");
}
void dmy(Arguments a, Variant& r) {
    format(a, r, L"%d %B %y");
}
void mdy(Arguments a, Variant& r) {
    format(a, r, L"%B %d, %y");
}
void dtos(Arguments a, Variant& r) {
    format(a, r, L"%Y%m%d");
}

void dtoc(Arguments a, Variant& r) {
    if (toCount(a[1]->real()) == 1) {
        format(a, r, L"%Y%m%d");
    } else {
        r = Variant::fromString(dateText(dateArgument(a, 0)));
    }
}

void time(Arguments, Variant& r) {
    r = Variant::fromString(formatDate(currentDateTime(), L"%H:%M:%S"));
}

void ctod(Arguments a, Variant& r) {
    r = Variant::fromDate(parseDateText(a[0]->text()));
}

void date(Arguments a, Variant& r) {
    CalendarTime t;
    t.year = dateField(a, 0), t.month = dateField(a, 1), t.day = dateField(a, 2);
    if (t.year == 0 && t.month == 0 && t.day == 0)
        t = today();
    r = builtDate(t);
}

void dateTime(Arguments a, Variant& r) {
    bool allZero = true;
    for (std::size_t i = 0; i < 6; ++i)
        allZero = allZero && dateField(a, i) == 0;
    if (allZero) {
        r = Variant::fromDate(currentDateTime());
        return;
    }
    CalendarTime t;
    t.year = dateField(a, 0), t.month = dateField(a, 1), t.day = dateField(a, 2);
    if (t.year == 0 && t.month == 0 && t.day == 0)
        t = today();
    t.hour = dateField(a, 3), t.minute = dateField(a, 4), t.second = dateField(a, 5);
    r = builtDate(t);
}

void year(Arguments a, Variant& r) {
    part(a, r, &CalendarTime::year);
}
void month(Arguments a, Variant& r) {
    part(a, r, &CalendarTime::month);
}
void day(Arguments a, Variant& r) {
    part(a, r, &CalendarTime::day);
}
void hour(Arguments a, Variant& r) {
    part(a, r, &CalendarTime::hour);
}
void minute(Arguments a, Variant& r) {
    part(a, r, &CalendarTime::minute);
}
void sec(Arguments a, Variant& r) {
    part(a, r, &CalendarTime::second);
}

void seconds(Arguments, Variant& r) {
    const auto now = oleDateToCalendar(currentDateTime()).value_or(CalendarTime{});
    r = Variant::fromDouble((now.hour * 60.0 + now.minute) * 60.0 + now.second);
}

// The same day that many months later, limited to the target month's last day; the time
// of day is kept. A result outside years 100..9999 stops with 3210.
void goMonth(Arguments a, Variant& r) {
    auto t = oleDateToCalendar(dateArgument(a, 0));
    if (!t)
        raiseParserError(kErrorInvalidValue, {L"GOMONTH"});
    const long long months = std::clamp(toCount(a[1]->real()), -200000LL, 200000LL);
    const long long index = t->year * 12LL + (t->month - 1) + months;
    const long long year = index >= 0 ? index / 12 : (index - 11) / 12;
    t->year = static_cast<int>(std::clamp(year, -1LL, 10000LL));
    t->month = static_cast<int>(index - year * 12) + 1;
    t->day = std::min(t->day, platform::com::daysInMonth(t->year, t->month));
    const auto value = calendarToOleDate(*t);
    if (!value)
        raiseParserError(kErrorInvalidValue, {L"GOMONTH"});
    r = Variant::fromDate(*value);
}

}  // namespace tarn::routines
