#pragma once
// One year of a place's days, as the year window draws and lists them and the exports write
// them: sunrise, sunset and solar noon, the three twilights, and the clock each day is read on.
//
// The request is what the main window holds: the place (longitude WEST positive), the offset
// and daylight-saving tick typed or taken from the place, or the place's time-zone name with
// "from the date" on, so that each day is read on the clock the place kept that day; and
// whether sunrise, sunset and noon come from the precise engine. The twilights always come from
// the precise engine, the only one that has them.
//
//     CYearRequest request{.latitude = 41.88, .longitude = 87.63, .offset = 6.0f,
//                          .zoneName = "America/Chicago", .fromDate = true,
//                          .date = CCivilDate{2007, 6, 21}};
//     CYearTable year = ComputeYear(request);   // 365 days of 2007, clocks changing in March
//                                               // and November

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "CivilTime.h"
#include "DayText.h"
#include "Exception.h"
#include "LocalSolarTime.h"
#include "MoonEvents.h"
#include "MoonLight.h"
#include "SolarTable.h"
#include "SunEvents.h"
#include "ZoneClock.h"

// A year that cannot be read on the clock asked for: the zone is not in the system's database.
class CYearZoneError : public CMessageException {
public:
    explicit CYearZoneError(const std::string& zoneName);
};

struct CYearRequest {
    double latitude = 0;    // degrees, north positive
    double longitude = 0;   // degrees, WEST positive
    float offset = 0;       // hours behind UTC, standard time
    int dst = 0;            // 1: the daylight-saving hour on every day
    std::string zoneName;   // "America/Chicago"; used only with fromDate
    bool fromDate = false;  // each day's clock from the zone (daylight saving from the date)
    bool precise = false;   // sunrise, sunset and noon from the precise engine
    CCivilDate date;        // the chosen date; its year is the year shown
    std::string placeName;  // "Chicago", UTF-8: for titles and calendar texts, may be empty
    std::string stateCode;  // "IL", the archive of the place named; may be empty

    // Latitude, longitude and offset all 0 is the main window with nothing entered.
    bool IsEmpty() const noexcept { return latitude == 0 && longitude == 0 && offset == 0; }

    friend bool operator==(const CYearRequest&, const CYearRequest&) = default;
};

struct CYearDay {
    CCivilDate date;
    CSolarResult sunrise;
    CSolarResult sunset;
    CSolarResult solarNoon;
    // Indexed by the morning/evening pairs below; outcome and time as the precise engine gives.
    CSunEventResult civilDawn, civilDusk;
    CSunEventResult nauticalDawn, nauticalDusk;
    CSunEventResult astronomicalDawn, astronomicalDusk;
    int utcOffsetSeconds = 0;  // the day's clock, east positive, daylight saving included
    bool hasTwilights = false;
    // The Moon on the same clock, when asked for (the tool's --events moonrise, moonset, moon).
    bool hasMoon = false;
    CMoonEventResult moonrise;
    CMoonEventResult moonset;
    CMoonPhaseOfDate moonPhase;
};

struct CYearTable {
    CYearRequest request;
    std::vector<CYearDay> days;  // 1 January to 31 December, or a run of --days for the tool
    std::string zoneName;        // the zone the days were read on, empty for a fixed offset
};

// The year of request.date. Throws CSolarException for inputs the engines refuse and for an
// event that falls outside the years 1900 to 9999, and
// CYearZoneError when fromDate names no zone of the system's database.
CYearTable ComputeYear(const CYearRequest& request);

// `count` days from `first` on (the tool's --days), otherwise as ComputeYear.
CYearTable ComputeDays(const CYearRequest& request, const CCivilDate& first, int count);

// `count` days from `first` read on `clock` (the tool's choice of zone, offset and tick), with
// the twilights and the Moon when asked for; the request gives the place and the engine, and
// with fromDate lets the table name the clock's zone. Throws as ComputeYear does.
CYearTable ComputeDaysOnClock(const CYearRequest& request, const CClockChoice& clock,
                              const CCivilDate& first, int count, bool twilights,
                              bool moon = false);

// Takes the days of StreamDaysOnClock one at a time, in date order.
class CYearDaySink {
public:
    virtual void Add(const CYearDay& day) = 0;

protected:
    ~CYearDaySink() = default;
};

// The days of ComputeDaysOnClock handed to `sink` as they are computed, so that a century of
// them costs no more room than the sink keeps. Throws as ComputeYear does, after the days
// before the failing one have been handed over.
void StreamDaysOnClock(const CYearRequest& request, const CClockChoice& clock,
                       const CCivilDate& first, int count, bool twilights, bool moon,
                       CYearDaySink& sink);

// The day's sunrise to sunset (DayText.h's DayLengthSeconds).
std::optional<std::int64_t> DayLengthSeconds(const CYearDay& day);

// Hours after the day's local midnight, possibly below 0 or above 24 when the event falls on
// the day before or after.
double HoursIntoDay(const CCivilTime& time, const CCivilDate& day);
