#include <gtest/gtest.h>

#include <cmath>

#include "platform/com/ole_date.h"

using namespace platform::com;

namespace {
CalendarTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    CalendarTime t;
    t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi, t.second = s,
    t.millisecond = ms;
    return t;
}
}  // namespace

TEST(OleDate, KnownDatesBothWays) {
    struct Case {
        CalendarTime time;
        double date;
    } cases[] = {
        {at(1899, 12, 30), 0.0},      {at(1900, 1, 1), 2.0},
        {at(1899, 12, 29, 6), -1.25},  // days run backwards, the time of day forwards
        {at(1970, 1, 1), 25569.0},    {at(2000, 2, 29, 12), 36585.5},
        {at(100, 1, 1), -657434.0},   {at(9999, 12, 31), 2958465.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(*calendarToOleDate(c.time), c.date) << c.date;
        auto back = oleDateToCalendar(c.date);
        ASSERT_TRUE(back);
        back->dayOfWeek = 0;
        EXPECT_EQ(*back, c.time) << c.date;
    }
}

TEST(OleDate, DayOfWeekAndRounding) {
    EXPECT_EQ(oleDateToCalendar(0.0)->dayOfWeek, 6);      // 1899-12-30 was a Saturday
    EXPECT_EQ(oleDateToCalendar(25569.0)->dayOfWeek, 4);  // 1970-01-01 a Thursday
    const auto almostMidnight = oleDateToCalendar(1.0 - 1e-10);
    EXPECT_EQ(almostMidnight->day, 31);  // rounds up into the next day
    EXPECT_EQ(almostMidnight->hour, 0);
}

TEST(OleDate, RejectsOutOfRange) {
    EXPECT_FALSE(calendarToOleDate(at(2021, 2, 29)));
    EXPECT_FALSE(calendarToOleDate(at(2021, 4, 31)));
    EXPECT_FALSE(calendarToOleDate(at(2021, 13, 1)));
    EXPECT_FALSE(calendarToOleDate(at(99, 12, 31)));
    EXPECT_FALSE(calendarToOleDate(at(2021, 1, 1, 24)));
    EXPECT_FALSE(oleDateToCalendar(3e6));
    EXPECT_FALSE(oleDateToCalendar(-7e5));
    EXPECT_FALSE(oleDateToCalendar(std::nan("")));
}

TEST(OleDate, LinearDaysRunForwardsThroughTheEpoch) {
    struct Case {
        double date;
        double linear;
    } cases[] = {{0.0, 0.0}, {2.5, 2.5}, {-1.0, -1.0}, {-1.25, -0.75}, {-2.75, -1.25}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(oleDateToLinear(c.date), c.linear) << c.date;
        EXPECT_DOUBLE_EQ(linearToOleDate(c.linear), c.date) << c.date;
    }
    // 1899-12-29 06:00 plus one day is 1899-12-30 06:00.
    EXPECT_DOUBLE_EQ(linearToOleDate(oleDateToLinear(-1.25) + 1), 0.25);
    EXPECT_LT(oleDateToLinear(-1.0), oleDateToLinear(-1.25));  // 00:00 before 06:00
}
