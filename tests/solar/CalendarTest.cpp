#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>

#include "CTime.h"
#include "CivilTime.h"
#include "LocalSolarTime.h"
#include "MonthInfo.h"

namespace {

TEST(Calendar, LeapYearsAndDayOfYear) {
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(2100));
    EXPECT_TRUE(IsLeapYear(2008));
    EXPECT_FALSE(IsLeapYear(2007));

    struct Row {
        int month, day;
        bool leap;
        int n;
    };
    const Row rows[] = {
        {1, 1, false, 1},   {1, 1, true, 1},      {2, 29, true, 60},   {3, 1, false, 60},
        {3, 1, true, 61},   {6, 21, false, 172},  {6, 21, true, 173},  {12, 1, false, 335},
        {12, 1, true, 336}, {12, 31, false, 365}, {12, 31, true, 366}, {0, 5, false, 5},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(DayOfYear(r.month, r.day, r.leap), r.n) << r.month << "/" << r.day;
    }
    // Both kinds of 31 December and 29 February compute (the last day index of each year).
    for (const CCivilDate date : {CCivilDate{2007, 12, 31}, CCivilDate{2008, 12, 31},
                                  CCivilDate{2000, 2, 29}, CCivilDate{2100, 12, 31}}) {
        EXPECT_TRUE(LocalSunrise(date, 41.88, 87.63, 6, 0).HasTime());
        EXPECT_EQ(LocalSolarNoon(date, 87.63, 6, 0).time.date, date);
    }
    EXPECT_THROW(LocalSunrise(CCivilDate{2100, 2, 29}, 41.88, 87.63, 6, 0), CSolarException);
}

// Every month's entry, pinned: the month tables are the only month lengths, so a swapped or
// mistyped entry would shift day numbers, date checks and table dates alike.
TEST(Calendar, MonthTablesHoldEachMonthsNameAndLength) {
    struct Row {
        const char* name;
        int common, leap;
    };
    const Row rows[12] = {
        {"January", 31, 31},   {"February", 28, 29}, {"March", 31, 31},    {"April", 30, 30},
        {"May", 31, 31},       {"June", 30, 30},     {"July", 31, 31},     {"August", 31, 31},
        {"September", 30, 30}, {"October", 31, 31},  {"November", 30, 30}, {"December", 31, 31},
    };
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(g_Months[i].m_strName, rows[i].name) << i;
        EXPECT_EQ(g_LeapMonths[i].m_strName, rows[i].name) << i;
        EXPECT_EQ(g_Months[i].m_nDays, rows[i].common) << rows[i].name;
        EXPECT_EQ(g_LeapMonths[i].m_nDays, rows[i].leap) << rows[i].name;
        EXPECT_EQ(DaysInMonth(2007, i + 1), rows[i].common) << rows[i].name;
        EXPECT_EQ(DaysInMonth(2008, i + 1), rows[i].leap) << rows[i].name;
    }
    EXPECT_EQ(DaysInMonth(2007, 0), 0);
    EXPECT_EQ(DaysInMonth(2007, 13), 0);
}

TEST(Calendar, CivilDayArithmetic) {
    EXPECT_EQ(DaysFromCivil({1970, 1, 1}), 0);
    EXPECT_EQ(DaysFromCivil({2000, 3, 1}), 11017);
    EXPECT_EQ(DaysFromCivil({1969, 12, 31}), -1);
    // Round trip over four centuries, day by day, with the calendar's own month lengths.
    CCivilDate date{1899, 1, 1};
    for (std::int64_t days = DaysFromCivil(date); date.year < 2301; ++days) {
        ASSERT_EQ(CivilFromDays(days), date);
        ASSERT_EQ(DaysFromCivil(date), days);
        ASSERT_EQ(AddDays(date, 1), CivilFromDays(days + 1));
        ASSERT_EQ(AddDays(date, -1), CivilFromDays(days - 1));
        date.day += 1;
        if (date.day > DaysInMonth(date.year, date.month)) {
            date.day = 1;
            if (++date.month > 12) {
                date.month = 1;
                ++date.year;
            }
        }
    }
    EXPECT_EQ(AddDays({2007, 12, 31}, 1), (CCivilDate{2008, 1, 1}));
    EXPECT_EQ(AddDays({2008, 3, 1}, -1), (CCivilDate{2008, 2, 29}));
    EXPECT_EQ(AddDays({1970, 1, 1}, -1), (CCivilDate{1969, 12, 31}));
}

TEST(Calendar, ResultTextNamesAndWidths) {
    struct Row {
        CCivilTime time;
        const char* text;
    };
    const Row rows[] = {
        {{{1900, 1, 1}, 0, 0, 0}, "Monday, January 01, 1900,  00:00:00"},
        {{{2000, 1, 1}, 9, 5, 7}, "Saturday, January 01, 2000,  09:05:07"},
        {{{2024, 2, 29}, 12, 0, 0}, "Thursday, February 29, 2024,  12:00:00"},
        {{{2100, 12, 31}, 23, 59, 59}, "Friday, December 31, 2100,  23:59:59"},
        {{{1969, 12, 28}, 1, 2, 3}, "Sunday, December 28, 1969,  01:02:03"},
        // The longest text of all: 40 characters.
        {{{2037, 9, 30}, 23, 59, 59}, "Wednesday, September 30, 2037,  23:59:59"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(FormatSolarTime(r.time), r.text);
    }
    EXPECT_EQ(std::string(rows[5].text).size(), 40u);
}

// The engine's day of a local time: the epoch's eve is a date like any other; a date before
// 1900 is refused.
TEST(Calendar, LocalDateOfATime) {
    setenv("TZ", "UTC", 1);
    tzset();
    const auto before = CTime::FromLocal(1969, 12, 31, 23, 59, 59);
    ASSERT_TRUE(before.has_value());
    EXPECT_EQ(LocalDateOf(*before), (CCivilDate{1969, 12, 31}));
    const auto old = CTime::FromLocal(1850, 6, 1, 12);
    ASSERT_TRUE(old.has_value());
    EXPECT_THROW(LocalDateOf(*old), CSolarException);
}

}  // namespace
