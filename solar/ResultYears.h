#pragma once
// The years a result may fall in. The engine computes with any offset and longitude it is given,
// so a far-off input can move an event into another year; such a result is refused as an error
// rather than shown with a strange year.
//
//     const CSolarResult sunrise = LocalSunrise(date, lat, lon, offset, dst);
//     CheckResultYears(sunrise);  // throws CSolarException(BadDate) outside 1900 to 9999

#include "LocalSolarTime.h"
#include "SolarException.h"

inline constexpr const char* kResultYearsMessage =
    "Cannot compute: the result falls outside the years 1900 to 9999";
static_assert(kFirstResultYear == 1900 && kLastResultYear == 9999,
              "kResultYearsMessage names the years of CivilTime.h");

// True when the event's date and, for a day without the event, the nearest such day's date lie
// in 1900 to 9999.
inline bool IsInResultYears(const CSolarResult& result) noexcept {
    auto inYears = [](const CCivilTime& time) {
        return time.date.year >= kFirstResultYear && time.date.year <= kLastResultYear;
    };
    if (result.HasTime()) {
        return inYears(result.time);
    }
    return result.nearest == NearestEvent::None || inYears(result.nearestTime);
}

inline void CheckResultYears(const CSolarResult& result) {
    if (!IsInResultYears(result)) {
        throw CSolarException(CSolarException::Cause::BadDate, kResultYearsMessage);
    }
}
