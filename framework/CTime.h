#pragma once
// Calendar time: a signed 64-bit count of seconds since 1970-01-01 00:00:00 UTC.
//
// A CTime is built from, and split into, local calendar fields in the computer's own time zone
// (the runtime's mktime and localtime_r, with the zone refreshed by tzset before each
// conversion, so a change of zone while the program runs takes effect at the next call).
// It carries the date picker's value; only its local calendar date is read by the solar engine.
//
//     auto t = CTime::FromLocal(2007, 6, 21, 12, 0, 0);   // noon, 21 June 2007, local time
//     int day = t->GetDay();                               // 21

#include <compare>
#include <cstdint>
#include <ctime>
#include <optional>

class CTime {
public:
    constexpr CTime() noexcept = default;
    constexpr explicit CTime(std::int64_t seconds) noexcept : m_time(seconds) {}

    // Builds a calendar time from local fields (month 1 to 12, day 1 to 31, hour 0 to 23,
    // minute and second 0 to 59), leaving the daylight-saving state to the runtime. Fields out
    // of those ranges, or a time the runtime cannot represent, give no value.
    static std::optional<CTime> FromLocal(int year, int month, int day, int hour = 0,
                                          int minute = 0, int second = 0);

    // The current time.
    static CTime GetCurrentTime() noexcept;

    constexpr std::int64_t GetTime() const noexcept { return m_time; }

    // Splits into local calendar fields (tm_year is years since 1900, tm_mon 0 to 11).
    // False when the runtime cannot convert the value; `out` is then unspecified.
    bool GetLocalTm(std::tm& out) const noexcept;

    // Local calendar fields; each is 0 when the conversion fails.
    int GetYear() const noexcept;    // e.g. 2007
    int GetMonth() const noexcept;   // 1 to 12
    int GetDay() const noexcept;     // 1 to 31
    int GetHour() const noexcept;    // 0 to 23
    int GetMinute() const noexcept;  // 0 to 59
    int GetSecond() const noexcept;  // 0 to 60 (a leap second where the zone has one)

    friend constexpr auto operator<=>(const CTime&, const CTime&) noexcept = default;

private:
    std::int64_t m_time = 0;
};
