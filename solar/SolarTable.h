#pragma once
// A run of consecutive days' sunrise, sunset and solar noon for one place, as a table.
//
// Each row holds what LocalSunrise, LocalSunset and LocalSolarNoon give for its date, bit for
// bit, except that a day without a crossing carries no nearest day (no polar search is run for
// table rows). The work the days share (latitude terms, each day's fractional-year series and
// hour angle, which serve the sunset of one day and the sunrise of the next) is done once.
//
//     auto rows = LocalSolarTable(CCivilDate{2007, 1, 1}, 365, 41.88, 87.63, 6.0f, 0);

#include <vector>

#include "LocalSolarTime.h"

struct CSolarDay {
    CCivilDate date;
    CSolarResult sunrise;
    CSolarResult sunset;
    CSolarResult solarNoon;
};

// At most a century of rows in one table: a row is about 200 bytes.
inline constexpr int kMaxSolarTableDays = 36600;

// Takes a table's rows one at a time, in date order, so that a long table need not be stored.
class CSolarDaySink {
public:
    virtual void Add(const CSolarDay& row) = 0;

protected:
    ~CSolarDaySink() = default;
};

// `days` rows from `first` on (0 or fewer gives none). Throws CSolarException as the single-day
// operations do, and for more than kMaxSolarTableDays days, before any row is made.
std::vector<CSolarDay> LocalSolarTable(const CCivilDate& first, int days, double lat, double lon,
                                       float offset, int dst);

// The same rows handed to `sink` as they are made; the checks all come before the first row.
void LocalSolarTable(const CCivilDate& first, int days, double lat, double lon, float offset,
                     int dst, CSolarDaySink& sink);
