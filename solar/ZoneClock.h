#pragma once
// The clock a place keeps, from its time zone in the system's time-zone database (IANA names
// such as "America/Chicago"), and the day's events read on that clock.
//
// A date's clock is the zone's offset at local noon of that date, daylight saving included,
// handed to the engine as the offset and daylight-saving tick a user would give by hand: for
// a US place the results equal the manual ones with the right tick. History comes from the
// database: Indianapolis kept no daylight saving in 2005, New York kept it in January 1974.
//
//     std::optional<CZoneClock> chicago = CZoneClock::Load("America/Chicago");
//     CClockOnDate c = chicago->OnDate(CCivilDate{2007, 7, 1});  // offset 6, dst 1, "CDT"
//     CSolarResult r = ZonedSunrise(CCivilDate{2007, 7, 1}, 41.88, 87.63, *chicago);
//
// Where the zone's offset puts the engine's events on another date than the longitude would
// (Samoa keeps UTC+13 at 172 degrees west), the engine's day is chosen so that solar noon
// falls on the date asked for; sunrise and sunset come from that same day.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "LocalSolarTime.h"
#include "SolarTable.h"

// The clock of one date, in the engine's terms and for display.
struct CClockOnDate {
    float offset = 0;          // hours WEST of Greenwich, standard time (6 for US Central)
    int dst = 0;               // 1 when daylight saving adds its hour on this date
    int utcOffsetSeconds = 0;  // east-positive total offset, daylight saving included
    std::string abbreviation;  // "CDT", "HST", "+13", ...

    friend bool operator==(const CClockOnDate&, const CClockOnDate&) = default;
};

class CZoneClock {
public:
    // The zone of that name, or nothing when the name is not a zone of the system's database
    // (or could be a path out of it).
    static std::optional<CZoneClock> Load(const std::string& name);

    const std::string& Name() const noexcept { return m_name; }

    // The clock at local noon of `date` (a valid date of the years 1900 to 9999).
    CClockOnDate OnDate(const CCivilDate& date) const;

    // The first date after `date` whose clock differs from that of `date`, if any lies
    // before `limit`. One look-up per change of clocks, not per day.
    std::optional<CCivilDate> NextChange(const CCivilDate& date, const CCivilDate& limit) const;

    // The zone's calendar date at an instant (seconds since 1970-01-01 00:00:00 UTC): "today"
    // at the place rather than on the computer.
    CCivilDate DateAt(std::int64_t unixSeconds) const;

    struct Impl;

private:
    CZoneClock(std::string name, std::shared_ptr<const Impl> impl);

    std::string m_name;
    std::shared_ptr<const Impl> m_impl;
};

// The east-positive offset in seconds of a clock `offset` hours west of Greenwich with the
// daylight-saving tick; whole seconds (every offset in use is whole minutes).
int UtcOffsetSeconds(float offset, int dst);

// "UTC-05:00" for -18000 seconds; "UTC+05:45", "UTC+00:00".
std::string FormatUtcOffset(int seconds);

// The day's events read on the zone's clock of that date. Throws CSolarException as the
// fixed-offset operations do.
CSolarResult ZonedSunrise(const CCivilDate& date, double lat, double lon, const CZoneClock& zone);
CSolarResult ZonedSunset(const CCivilDate& date, double lat, double lon, const CZoneClock& zone);
CSolarResult ZonedSolarNoon(const CCivilDate& date, double lon, const CZoneClock& zone);

// A table whose every row is read on the clock of its own date, so that rows on both sides of
// a change of clocks are right. Each run of days with one clock is computed as one table.
std::vector<CSolarDay> ZonedSolarTable(const CCivilDate& first, int days, double lat, double lon,
                                       const CZoneClock& zone);

// Days that share one clock, and the engine's first day for them (the date itself but beyond
// the date line, see above).
struct CClockRun {
    CCivilDate first;
    int days = 0;
    CClockOnDate clock;
    CCivilDate engineFirst;
};

// How results are read: at a fixed offset and daylight-saving tick, as typed, or on a zone's
// clock by the date, where a user may still fix the standard offset or the tick.
class CClockChoice {
public:
    static CClockChoice Fixed(float offset, int dst);
    static CClockChoice Zone(CZoneClock zone, std::optional<float> standardOffset = {},
                             std::optional<int> forcedDst = {});

    const CZoneClock* GetZone() const noexcept { return m_zone ? &*m_zone : nullptr; }

    CClockOnDate OnDate(const CCivilDate& date) const;

    // The one day `date` as a run of its own.
    CClockRun Day(const CCivilDate& date, double lon) const;

    // The runs covering `days` days from `first` (none for 0 or fewer); a fixed clock is one
    // run whose engine day is the date. Throws CSolarException for a date outside 1900-9999.
    std::vector<CClockRun> Runs(const CCivilDate& first, int days, double lon) const;

private:
    std::optional<CZoneClock> m_zone;
    std::optional<float> m_offset;  // the fixed clock, or the zone's standard offset replaced
    std::optional<int> m_dst;
};

// A table of rows read on the chosen clock, each run computed as one table; `clocks`, when
// given, receives each row's clock.
std::vector<CSolarDay> SolarTableOnClock(const CClockChoice& choice, const CCivilDate& first,
                                         int days, double lat, double lon,
                                         std::vector<CClockOnDate>* clocks = nullptr);

// Takes the rows of a table on a clock one at a time, each with the clock it is read on.
class CClockedDaySink {
public:
    virtual void Add(const CSolarDay& row, const CClockOnDate& clock) = 0;

protected:
    ~CClockedDaySink() = default;
};

// The same rows handed to `sink` as they are made, without storing the table; the checks
// that do not depend on a row all come before the first one.
void SolarTableOnClock(const CClockChoice& choice, const CCivilDate& first, int days, double lat,
                       double lon, CClockedDaySink& sink);
