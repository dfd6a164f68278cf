#include "CTime.h"

#include <limits>

namespace {

bool LocalFields(std::int64_t seconds, std::tm& out) noexcept {
    if (seconds < std::numeric_limits<std::time_t>::min() ||
        seconds > std::numeric_limits<std::time_t>::max()) {
        return false;
    }
    const auto t = static_cast<std::time_t>(seconds);
    tzset();
    return localtime_r(&t, &out) != nullptr;
}

}  // namespace

std::optional<CTime> CTime::FromLocal(int year, int month, int day, int hour, int minute,
                                      int second) {
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 59) {
        return std::nullopt;
    }
    // tm_year is an int counting from 1900: keep the subtraction from overflowing.
    if (year < std::numeric_limits<int>::min() + 1900) {
        return std::nullopt;
    }
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    // mktime returns -1 both on failure and for 1969-12-31 23:59:59 UTC; it sets tm_wday only
    // on success, so a sentinel there tells the two apart.
    fields.tm_wday = -1;
    tzset();
    const std::time_t t = std::mktime(&fields);
    if (t == static_cast<std::time_t>(-1) && fields.tm_wday == -1) {
        return std::nullopt;
    }
    return CTime(static_cast<std::int64_t>(t));
}

CTime CTime::GetCurrentTime() noexcept {
    return CTime(static_cast<std::int64_t>(std::time(nullptr)));
}

bool CTime::GetLocalTm(std::tm& out) const noexcept {
    return LocalFields(m_time, out);
}

int CTime::GetYear() const noexcept {
    std::tm f{};
    if (!GetLocalTm(f) || f.tm_year > std::numeric_limits<int>::max() - 1900) {
        return 0;
    }
    return f.tm_year + 1900;
}

int CTime::GetMonth() const noexcept {
    std::tm f{};
    return GetLocalTm(f) ? f.tm_mon + 1 : 0;
}

int CTime::GetDay() const noexcept {
    std::tm f{};
    return GetLocalTm(f) ? f.tm_mday : 0;
}

int CTime::GetHour() const noexcept {
    std::tm f{};
    return GetLocalTm(f) ? f.tm_hour : 0;
}

int CTime::GetMinute() const noexcept {
    std::tm f{};
    return GetLocalTm(f) ? f.tm_min : 0;
}

int CTime::GetSecond() const noexcept {
    std::tm f{};
    return GetLocalTm(f) ? f.tm_sec : 0;
}
