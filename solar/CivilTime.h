#pragma once
// Civil (wall-clock) dates and times in the proleptic Gregorian calendar, with no time zone
// attached. The solar engine carries its results in this form, so that the clock time shown is
// exactly the computed one whatever the computer's own zone is.

#include <compare>
#include <cstdint>

// The years the program computes in and shows: dates asked for and results alike.
inline constexpr int kFirstResultYear = 1900;
inline constexpr int kLastResultYear = 9999;

struct CCivilDate {
    int year = 1970;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to 31

    friend constexpr auto operator<=>(const CCivilDate&, const CCivilDate&) = default;
};

struct CCivilTime {
    CCivilDate date;
    int hour = 0;    // 0 to 23
    int minute = 0;  // 0 to 59
    int second = 0;  // 0 to 59

    friend constexpr auto operator<=>(const CCivilTime&, const CCivilTime&) = default;
};

// Divisible by 4 and not by 100, or divisible by 400.
constexpr bool IsLeapYear(int year) noexcept {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// 28 to 31, from the month tables g_Months and g_LeapMonths; 0 for a month outside 1 to 12.
int DaysInMonth(int year, int month) noexcept;

bool IsValidDate(const CCivilDate& date) noexcept;

// Days since 1970-01-01 (negative before it), and back.
std::int64_t DaysFromCivil(const CCivilDate& date) noexcept;
CCivilDate CivilFromDays(std::int64_t days) noexcept;

CCivilDate AddDays(const CCivilDate& date, std::int64_t days) noexcept;

// 0 = Sunday to 6 = Saturday.
int Weekday(const CCivilDate& date) noexcept;

// Seconds since 1970-01-01 00:00:00 of the same civil clock (no zone), for differences.
std::int64_t CivilSeconds(const CCivilTime& time) noexcept;
