#include "CivilTime.h"

#include "MonthInfo.h"

int DaysInMonth(int year, int month) noexcept {
    if (month < 1 || month > 12) {
        return 0;
    }
    return MonthTable(IsLeapYear(year))[month - 1].m_nDays;
}

bool IsValidDate(const CCivilDate& date) noexcept {
    return date.month >= 1 && date.month <= 12 && date.day >= 1 &&
           date.day <= DaysInMonth(date.year, date.month);
}

// Days from civil and back over 400-year eras (146097 days each), with March as the first month
// of the computing year so that the leap day falls at its end.
std::int64_t DaysFromCivil(const CCivilDate& date) noexcept {
    const std::int64_t y = static_cast<std::int64_t>(date.year) - (date.month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;                          // 0 to 399
    const std::int64_t mp = (date.month + 9) % 12;                   // March = 0
    const std::int64_t doy = (153 * mp + 2) / 5 + date.day - 1;      // 0 to 365
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;  // 0 to 146096
    return era * 146097 + doe - 719468;
}

CCivilDate CivilFromDays(std::int64_t days) noexcept {
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    return CCivilDate{static_cast<int>(year), month, day};
}

CCivilDate AddDays(const CCivilDate& date, std::int64_t days) noexcept {
    if (days == 0) {
        return date;
    }
    // A step of one day within the month, the usual carry of a clock time past midnight,
    // needs none of the era arithmetic.
    if (date.month >= 1 && date.month <= 12 && date.day >= 1) {
        if (days == 1 && date.day < 28) {
            return CCivilDate{date.year, date.month, date.day + 1};
        }
        if (days == -1 && date.day > 1 && date.day <= 28) {
            return CCivilDate{date.year, date.month, date.day - 1};
        }
    }
    return CivilFromDays(DaysFromCivil(date) + days);
}

int Weekday(const CCivilDate& date) noexcept {
    const std::int64_t days = DaysFromCivil(date);  // 1970-01-01 was a Thursday
    return static_cast<int>(((days + 4) % 7 + 7) % 7);
}

std::int64_t CivilSeconds(const CCivilTime& time) noexcept {
    return DaysFromCivil(time.date) * 86400 + time.hour * 3600 + time.minute * 60 + time.second;
}
