#pragma once
// What the single-day operations and the table share besides the formulas: the input checks
// and the one conversion of an event's UTC minutes into a local result. Not part of the
// engine's public interface.

#include "CivilTime.h"
#include "LocalSolarTime.h"
#include "SolarTerms.h"

// Throws CSolarException unless the date is a real date in the years 1900 to 9999.
void CheckSolarDate(const CCivilDate& date);

// Throws CSolarException unless latitude, longitude and offset are finite.
void CheckSolarInputs(double lat, double lon, float offset);

// Checks a table's inputs before any row is made; false when it has no rows.
bool CheckSolarTable(const CCivilDate& first, int days, double lat, double lon, float offset);

// The local result of an event on `date`: its clock time when the Sun crosses the altitude,
// otherwise which way it stays. No nearest day: searching for one is the single-day operations'
// part. `Result` is the engine's result type of the event.
template <typename Result, typename Event>
Result LocalResultOf(Event event, const CEventMinutes& minutes, const CCivilDate& date,
                     float offset, int dst) {
    Result result;
    result.event = event;
    switch (minutes.crossing) {
        case SolarCrossing::Crosses:
            result.time = solar::detail::LocalClockTime(minutes.minutes, date, offset, dst);
            break;
        case SolarCrossing::UpAllDay:
            result.outcome = SolarOutcome::UpAllDay;
            break;
        case SolarCrossing::DownAllDay:
            result.outcome = SolarOutcome::DownAllDay;
            break;
    }
    return result;
}

inline CSolarResult ResultFromEvent(SolarEvent event, const CEventMinutes& minutes,
                                    const CCivilDate& date, float offset, int dst) {
    return LocalResultOf<CSolarResult>(event, minutes, date, offset, dst);
}
