#include "AlmanacOutput.h"

#include <ctime>

#include "CliOptions.h"
#include "DayText.h"
#include "ResultYears.h"
#include "SeasonsAndPhases.h"

namespace {

// The clock of a date: the dates a zone's clock is known on are those of the results.
int OffsetOn(const CClockChoice& clock, CCivilDate date) {
    if (date.year < kFirstResultYear) {
        date = CCivilDate{kFirstResultYear, 1, 1};
    } else if (date.year > kLastResultYear) {
        date = CCivilDate{kLastResultYear, 12, 31};
    }
    return clock.OnDate(date).utcOffsetSeconds;
}

// Julian day (UT) of 00:00 of `date` on its clock.
double StartOf(const CCivilDate& date, const CClockChoice& clock) {
    return JulianDayUt(CCivilTime{date, 0, 0, 0}) - OffsetOn(clock, date) / 86400.0;
}

}  // namespace

std::vector<CAlmanacEntry> AlmanacOnClock(int year, const CClockChoice& clock) {
    if (year < kFirstResultYear || year > kLastResultYear) {
        throw CSolarException(CSolarException::Cause::BadDate, kResultYearsMessage);
    }
    const double first = StartOf(CCivilDate{year, 1, 1}, clock);
    const double last = StartOf(CCivilDate{year, 12, 31}, clock) + 1.0;
    std::vector<CAlmanacEntry> entries;
    for (const CAlmanacEvent& event : AlmanacBetween(first, last)) {
        CAlmanacEntry entry;
        entry.key = AlmanacEventKey(event.event);
        entry.label = AlmanacEventLabel(event.event);
        const CClockReading reading = ReadOnDatesClock(
            event.julianDayUt, [&clock](const CCivilDate& date) { return OffsetOn(clock, date); });
        entry.time = reading.local;
        entry.utcOffsetSeconds = reading.utcOffsetSeconds;
        entries.push_back(entry);
    }
    return entries;
}

std::string AlmanacOutput(const CCliOptions& options) {
    const std::vector<CAlmanacEntry> entries =
        AlmanacOnClock(*options.almanac, ClockChoiceOf(options));
    switch (options.format) {
        case CliFormat::Json:
            return AlmanacJson(entries);
        case CliFormat::Ics: {
            CIcsOptions ics;
            ics.stamp = std::time(nullptr);
            // The zone is named only when the times are its own clock, as for the days.
            const bool own = options.zone && !options.offset && !options.dst && !options.noDst;
            return AlmanacIcs(entries, own ? options.zone->Name() : std::string(), ics);
        }
        case CliFormat::Csv: {
            CDayText text;
            text.Text("event,time\n");
            for (const CAlmanacEntry& entry : entries) {
                text.Text(entry.key);
                text.Char(',');
                text.Stamp(SolarOutcome::Time, entry.time, entry.utcOffsetSeconds);
                text.Char('\n');
            }
            return text.String();
        }
        case CliFormat::Text:
            break;
    }
    std::string text;
    for (const CAlmanacEntry& entry : entries) {
        text += std::string(entry.label) + ": " + FormatSolarTime(entry.time) + "\n";
    }
    return text;
}
