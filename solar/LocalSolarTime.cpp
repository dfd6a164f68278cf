#include "LocalSolarTime.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "DayText.h"
#include "MonthInfo.h"
#include "SolarLocal.h"
#include "SolarTerms.h"

using namespace solar::detail;

namespace {

constexpr double kPolarLatitude = 66.4;  // beyond it (strictly) sunrise and sunset search days

CEventMinutes EventUtc(SolarEvent event, int n, double lat, double lon) {
    return event == SolarEvent::Sunrise ? SunriseEventUtc(n, lat, lon)
                                        : SunsetEventUtc(n, lat, lon);
}

// Sunrise or sunset beyond the polar limits, on a day n when the Sun does not cross the horizon
// (`result` says which way it stays). Days are searched one by one, backward in the season of the
// midnight Sun's half of the year and forward in the other, within one pass through the year, and
// the first day found is reported as the last or next such event.
//   backward: previous day, and from day 1 to day 365 of the year before;
//   forward:  next day, and from day 366 (reached in a common year too) to day 1 of the next.
void FindNearestEvent(CSolarResult& result, const CCivilDate& date, int n, double lat, double lon,
                      float offset, int dst) {
    const SolarEvent event = result.event;
    const bool backward = lat > 0 ? (n >= 80 && n <= 266) : (n < 83 || n > 263);
    int day = n;
    int yearShift = 0;
    for (int step = 1; step < 366; ++step) {
        if (backward) {
            if (day == 1) {
                day = 365;
                --yearShift;
            } else {
                --day;
            }
        } else {
            if (day == 366) {
                day = 1;
                ++yearShift;
            } else {
                ++day;
            }
        }
        if (day == n) {
            break;  // one whole pass without the event (the pole itself, or nonsense latitudes)
        }
        const CEventMinutes found = EventUtc(event, day, lat, lon);
        if (found.crossing == SolarCrossing::Crosses) {
            // The true date of day `day` counted from 1 January of its year: day 366 of a
            // common year is 1 January of the next.
            const CCivilDate foundDate =
                AddDays(CCivilDate{date.year + yearShift, 1, 1}, std::int64_t{day} - 1);
            result.nearest = backward ? NearestEvent::Last : NearestEvent::Next;
            result.nearestTime = UtcMinutesToLocalTime(found.minutes, foundDate, offset, dst);
            break;
        }
    }
}

CSolarResult LocalCrossingEvent(SolarEvent event, const CCivilDate& date, double lat, double lon,
                                float offset, int dst) {
    CheckSolarDate(date);
    CheckSolarInputs(lat, lon, offset);
    const int n = DayOfYear(date.month, date.day, IsLeapYear(date.year));
    CSolarResult result = ResultFromEvent(event, EventUtc(event, n, lat, lon), date, offset, dst);
    if (!result.HasTime() && (lat > kPolarLatitude || lat < -kPolarLatitude)) {
        FindNearestEvent(result, date, n, lat, lon, offset, dst);
    }
    return result;
}

}  // namespace

void CheckSolarDate(const CCivilDate& date) {
    if (!IsValidDate(date)) {
        throw CSolarException(CSolarException::Cause::BadDate,
                              "Cannot compute: the date is not a valid calendar date");
    }
    if (date.year < kFirstResultYear || date.year > kLastResultYear) {
        throw CSolarException(CSolarException::Cause::BadDate,
                              "Cannot compute: the date must lie in the years " +
                                  std::to_string(kFirstResultYear) + " to " +
                                  std::to_string(kLastResultYear));
    }
}

void CheckSolarInputs(double lat, double lon, float offset) {
    if (!std::isfinite(lat) || !std::isfinite(lon) || !std::isfinite(offset)) {
        ThrowNonFinite();
    }
}

int DayOfYear(int month, int day, bool leap) {
    const CMonthInfo* months = MonthTable(leap);
    const int before = std::clamp(month - 1, 0, 12);
    int n = day;
    for (int i = 0; i < before; ++i) {
        n += months[i].m_nDays;
    }
    return n;
}

CCivilTime UtcMinutesToLocalTime(double minutes, const CCivilDate& date, float offset, int dst) {
    return LocalClockTime(minutes, date, offset, dst);
}

CCivilDate LocalDateOf(const CTime& date) {
    std::tm fields{};
    if (!date.GetLocalTm(fields)) {
        throw CSolarException(CSolarException::Cause::BadDate,
                              "Cannot compute: the date cannot be read as a calendar date");
    }
    // tm_year counts from 1900; a year past the last fails the check below without overflowing.
    const int year = fields.tm_year > kLastResultYear ? kLastResultYear + 1 : fields.tm_year + 1900;
    const CCivilDate civil{year, fields.tm_mon + 1, fields.tm_mday};
    CheckSolarDate(civil);
    return civil;
}

CSolarResult LocalSunrise(const CCivilDate& date, double lat, double lon, float offset, int dst) {
    return LocalCrossingEvent(SolarEvent::Sunrise, date, lat, lon, offset, dst);
}

CSolarResult LocalSunset(const CCivilDate& date, double lat, double lon, float offset, int dst) {
    return LocalCrossingEvent(SolarEvent::Sunset, date, lat, lon, offset, dst);
}

CSolarResult LocalSolarNoon(const CCivilDate& date, double lon, float offset, int dst) {
    CheckSolarDate(date);
    CheckSolarInputs(0, lon, offset);
    const int n = DayOfYear(date.month, date.day, IsLeapYear(date.year));
    CSolarResult result;
    result.event = SolarEvent::SolarNoon;
    result.time = UtcMinutesToLocalTime(SolarNoonMinutesUtc(n, lon), date, offset, dst);
    return result;
}

CSolarResult LocalSunrise(const CTime& date, double lat, double lon, float offset, int dst) {
    return LocalSunrise(LocalDateOf(date), lat, lon, offset, dst);
}

CSolarResult LocalSunset(const CTime& date, double lat, double lon, float offset, int dst) {
    return LocalSunset(LocalDateOf(date), lat, lon, offset, dst);
}

CSolarResult LocalSolarNoon(const CTime& date, double lon, float offset, int dst) {
    return LocalSolarNoon(LocalDateOf(date), lon, offset, dst);
}

std::optional<CCivilDate> NextCrossingDate(SolarEvent event, const CCivilDate& date, double lat,
                                           double lon, float offset, int dst) {
    CheckSolarDate(date);
    CheckSolarInputs(lat, lon, offset);
    for (int step = 1; step <= 366; ++step) {
        const CCivilDate day = AddDays(date, step);
        if (day.year > kLastResultYear) {
            break;
        }
        const CEventMinutes found =
            EventUtc(event, DayOfYear(day.month, day.day, IsLeapYear(day.year)), lat, lon);
        if (found.crossing == SolarCrossing::Crosses) {
            return UtcMinutesToLocalTime(found.minutes, day, offset, dst).date;
        }
    }
    return std::nullopt;
}

std::string FormatSolarTime(const CCivilTime& time) {
    CDayText text;
    text.LongDate(time.date);
    text.Text(",  ");
    text.Clock(time);
    return text.String();
}

std::string FormatSolarTime(const CSolarResult& result) {
    if (result.HasTime()) {
        return FormatSolarTime(result.time);
    }
    const char* name = result.event == SolarEvent::Sunset ? "sunset" : "sunrise";
    std::string text = result.event == SolarEvent::Sunset ? "No sunset" : "No sunrise";
    text += result.outcome == SolarOutcome::UpAllDay ? ": the Sun is up all day"
                                                     : ": the Sun is down all day";
    if (result.nearest != NearestEvent::None) {
        text += result.nearest == NearestEvent::Last ? " (last " : " (next ";
        text += name;
        text += ' ';
        text += FormatSolarTime(result.nearestTime);
        text += ')';
    }
    return text;
}
