#pragma once
// The twelve months of the Gregorian calendar with their lengths, one table for common years
// and one for leap years. The solar engine adds up the day counts of the months before a date
// to get its day of the year.

#include <cstdint>
#include <string>

struct CMonthInfo {
    CMonthInfo(std::string name, std::int32_t days) : m_nDays(days), m_strName(std::move(name)) {}

    std::int32_t m_nDays;   // number of days in the month
    std::string m_strName;  // English name, "January" to "December"
};

// January at index 0, December at index 11.
extern const CMonthInfo g_Months[12];      // common year: February has 28 days
extern const CMonthInfo g_LeapMonths[12];  // leap year: February has 29 days

// g_LeapMonths for a leap year, g_Months otherwise.
inline const CMonthInfo* MonthTable(bool leap) {
    return leap ? g_LeapMonths : g_Months;
}
