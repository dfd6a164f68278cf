#include "Cli.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <new>
#include <ostream>
#include <utility>

#include "AlmanacOutput.h"
#include "BatchInput.h"
#include "CTime.h"
#include "CliOptions.h"
#include "DayOnClock.h"
#include "DayText.h"
#include "DaybreakVersion.h"
#include "EventOutput.h"
#include "FdOutput.h"
#include "LocalSolarTime.h"
#include "ModulePath.h"
#include "NoonNote.h"
#include "PlaceCommands.h"
#include "PreciseSun.h"
#include "SolarException.h"
#include "SolarTable.h"
#include "StateArchive.h"
#include "SunNow.h"
#include "YearExport.h"
#include "YearOutput.h"

namespace {

constexpr const char* kProgram = "daybreak-cli";
// A bad command line found after the options were read (a date that falls out of range
// once today is known).
class CLateUsageError : public CCliError {
public:
    using CCliError::CCliError;
};

// The plain table or CSV file, written a row at a time as the rows are computed. A result
// can leave the years 1900 to 9999 only on the first or the last date: those two are computed
// (and refused) first, so that an error prints nothing else.
class CPlainTable final : public CDayOnClockSink {
public:
    CPlainTable(const CClockChoice& clock, const CCivilDate& first, int days, double lat,
                double lon, CliFormat format)
        : m_clock(clock), m_first(first), m_days(days), m_lat(lat), m_lon(lon), m_format(format) {
        SolarDayOnClock(clock, first, lat, lon, SolarEngine::Series);
        if (days > 1) {
            SolarDayOnClock(clock, AddDays(first, days - 1), lat, lon, SolarEngine::Series);
        }
    }

    void Write(std::ostream& out) {
        m_out = &out;
        m_text.Clear();
        m_text.Text(DayTableHeader(m_format == CliFormat::Csv));
        out.write(m_text.Data(), static_cast<std::streamsize>(m_text.Size()));
        SolarDaysOnClock(m_clock, m_first, m_days, m_lat, m_lon, SolarEngine::Series, 0, *this);
    }

    void Add(const CDayOnClock& row) override {
        std::ostream& out = *m_out;
        if (!out) {
            return;
        }
        m_text.Clear();
        m_text.DayRow(row, m_format == CliFormat::Csv);
        out.write(m_text.Data(), static_cast<std::streamsize>(m_text.Size()));
    }

private:
    CClockChoice m_clock;
    CCivilDate m_first;
    int m_days = 0;
    double m_lat = 0;
    double m_lon = 0;
    CliFormat m_format = CliFormat::Text;
    std::ostream* m_out = nullptr;
    CDayText m_text;
};

// Computes what the options ask for: lines appended to `text`, or a table whose writer is
// returned.
CliOutputWriter PrepareOutput(const CCliOptions& options, std::string& text) {
    if (options.almanac) {
        text += AlmanacOutput(options);
        return {};
    }
    const CCivilDate date = *options.date;  // today's when not given, set by RunCli
    const double lat = *options.latitude;
    const double lon = *options.longitude;
    if (UsesYearFileOutput(options)) {
        return YearStreamOutput(options, date);
    }
    if (UsesEventOutput(options)) {
        return EventOutput(options, date);
    }
    const CClockChoice clock = ClockChoiceOf(options);

    if (options.days == 0 && options.format == CliFormat::Text) {
        // All three before anything is written, as the window computes them.
        const CDayOnClock day = SolarDayOnClock(clock, date, lat, lon, SolarEngine::Series);
        text += "Local Sunrise: " + FormatSolarTime(day.sunrise) + "\n" +
                "Local Sunset: " + FormatSolarTime(day.sunset) + "\n" +
                "Local Solar Noon: " + FormatSolarTime(day.solarNoon) + "\n";
        return {};
    }
    auto table = std::make_shared<CPlainTable>(clock, date, options.days == 0 ? 1 : options.days,
                                               lat, lon, options.format);
    return [table](std::ostream& out) { table->Write(out); };
}

// Every message of this tool starts lower-case, as the options' do; the engines' and the
// files' messages ("Cannot compute: ...", "Cannot open file ...") start with a capital for the
// window's boxes. Each "daybreak-cli: " line of `text` that starts so is lowered; place names
// ("Phoenix keeps standard time") stay as they are.
std::string ToolText(std::string text) {
    const std::string from = std::string(kProgram) + ": Cannot ";
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + from.size())) {
        if (at == 0 || text[at - 1] == '\n') {
            text[at + from.size() - 7] = 'c';
        }
    }
    return text;
}

// A zip code or city is looked up in a folder with no state archive at all: say so once,
// instead of one failure per state (or none, and a zip code that "no place has").
void CheckArchivesPresent(const CPlaceOptions& place) {
    if (!place.LooksUpPlace()) {
        return;
    }
    const std::filesystem::path dir =
        place.archives ? std::filesystem::path(*place.archives) : GetExecutableDirectory();
    std::error_code error;
    for (std::filesystem::directory_iterator it(dir, error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().filename().string().rfind("timezone.arc.", 0) == 0) {
            return;
        }
    }
    throw CCliError((place.archives ? "--archives: " : std::string()) + "no state archives (" +
                    StateArchiveFileName("XX") + ") in " + PrintableArgument(dir.string()));
}

// Today: the zone's date when a zone is known, else the computer's; `days` from it.
CCivilDate TodayOf(const CTime& now, const std::optional<CZoneClock>& zone, int days) {
    const CCivilDate today = zone ? zone->DateAt(now.GetTime()) : LocalDateOf(now);
    return ResolveRelativeDate("--date", (days >= 0 ? "+" : "") + std::to_string(days), today,
                               days);
}

CCivilDate ResolvedDate(const CTime& now, const CCliOptions& options,
                        const std::optional<CZoneClock>& zone) {
    return TodayOf(now, zone, options.daysFromToday.value_or(0));
}

// A table that would run past the last date the engines take is refused up front, naming
// its last day rather than the engines' range.
void CheckTableEnd(const CCliOptions& options) {
    if (options.days > 1 && options.date &&
        DaysFromCivil(*options.date) + options.days - 1 >
            DaysFromCivil(CCivilDate{kLastResultYear, 12, 31})) {
        throw CCliError("--days: a table of " + std::to_string(options.days) + " days from " +
                        IsoDate(*options.date) + " would run past " +
                        IsoDate(CCivilDate{kLastResultYear, 12, 31}));
    }
}

}  // namespace

std::string CliUsage() {
    return R"(Usage:
  daybreak-cli (--lat DEG --lon DEG | --coords LAT,LON)
               (--offset HOURS | --tz ZONE) [--dst | --no-dst]
               [--date YYYY-MM-DD] [--days N] [--format FMT]
               [--precise] [--events LIST]
  daybreak-cli [--state STATE] (--zip ZIP | --city CITY) [--first] [...]
  daybreak-cli --almanac YEAR (--offset HOURS | --tz ZONE | a place)
               [--dst | --no-dst] [--format FMT]
  daybreak-cli (--list-zips CODE | --list-cities CODE | --dump FILE)
  daybreak-cli --places FILE [--date DATE] [--days N] [--format FMT] [...]

Prints the local sunrise, sunset and solar noon of a place for a date:
  Local Sunrise: Thursday, June 21, 2007,  05:15:47
  Local Sunset: Thursday, June 21, 2007,  20:28:08
  Local Solar Noon: Thursday, June 21, 2007,  12:51:50

Options:
  --lat DEG        latitude in degrees, north positive
                   (41.88, 41.88N, 33.87S, -33.87)
  --lon DEG        longitude in degrees, WEST positive
                   (87.63, 87.63W, 144.79E, -144.79)
  --coords LAT,LON latitude and longitude as maps give them, both EAST
                   positive: "41.88,-87.63" or "41.88, -87.63" (instead of
                   --lat and --lon)
  --offset HOURS   time-zone offset in hours behind UTC: 5 US Eastern,
                   6 US Central, 7 US Mountain, 8 US Pacific, 9 Alaska,
                   10 Hawaii, -10 Guam, -3.5 Iran
  --tz ZONE        the place's time zone (America/Chicago): daylight saving
                   follows the date, and the zone gives the offset unless
                   --offset is given
  --dst            add the daylight-saving hour (whatever the date)
  --no-dst         never add it (with --tz or a place from the archives)
  --date DATE      the date: YYYY-MM-DD, today, tomorrow, yesterday, +N or -N
                   days (default: today; the place's today when its zone is
                   known, from the archives or --tz, else this computer's)
  --days N         a table of N days from the date on: date, sunrise, sunset,
                   solar noon, day length; "+1" marks an event on the next
                   day, "-1" on the day before
  --format FMT     text (default) or csv (the table's rows with a header
                   line; times carry their UTC offset); json (an array of day
                   objects: ISO date, local times with their UTC offset, "up
                   all day" / "down all day" where the Sun does not cross,
                   day_length in seconds); ics (an iCalendar file with a
                   sunrise and a sunset event a day)
  --precise        sunrise, sunset and solar noon from the precise engine
                   (within seconds of an ephemeris; the default series is off
                   by up to minutes)
  --events LIST    the events to show, comma-separated, as lines or as the
                   table's columns: sunrise, sunset, noon (the default three),
                   civil, nautical, astronomical (dawn and dusk), golden (-4 to
                   +6 degrees), blue (-6 to -4 degrees), azimuth (the Sun's
                   direction at sunrise and sunset, its noon elevation),
                   moonrise, moonset, moon (the Moon's phase and the percentage
                   lit at 12:00). All of the Sun's but the default three come
                   from the precise engine, the Moon's from the Moon engine, on
                   the same clock; json takes them all (fields named as the
                   csv columns), ics only moonrise, moonset and moon
  --now            whether it is day, civil, nautical or astronomical twilight
                   or night at the place now, with the Sun's altitude; exit
                   status 0 by day, 1 otherwise
  --wait EVENT[+-MINUTES]
                   print the time of the next EVENT at the place, sleep until
                   it (MINUTES after it, or before with -) and exit 0: sunrise,
                   sunset, noon, civil-dawn, civil-dusk, nautical-dawn,
                   nautical-dusk, astronomical-dawn, astronomical-dusk (e.g.
                   sunset-30); the wall clock is read again at least every
                   minute, so clock changes and suspends are followed
  --almanac YEAR   the year's new moons, first quarters, full moons, last
                   quarters, equinoxes and solstices in time order, on the
                   clock of --offset, --tz or a place (no coordinates needed);
                   as csv "event,time" rows (full_moon, march_equinox, ...)
  --zip ZIP        take the place of that zip code from the archives, in
                   whatever state
  --city CITY      ... the town of that name, in the US (a town's zip codes
                   are one place) or the world (towns of at least 1,000
                   people), in any case, with or without accents and
                   punctuation; "Paris, TX", "Paris, France", "Paris FR"
                   choose among several: the most populous answers and up to
                   three others are named on standard error; a name that
                   matches nothing suggests up to five near ones (exit 2)
  --state STATE    ... only in that state or possession: its code or its
                   name, any case (TX, texas, PR). With it, a city-list text
                   ("Mission - 78572") or a name as stored ("Mission") takes
                   the first such place in the archive and lists the others'
                   zip codes on standard error; --zip takes the first record
  --first          of several places, take the first (state table order, then
                   archive order)
                   The place's lines (City Name, County Name, Latitude,
                   Longitude west positive, Time Zone) come before the
                   results. Daylight saving follows the date on the place's
                   own time zone; --dst or --no-dst fixes it instead. A place
                   that keeps standard time all year never gets the hour.
  --list-zips CODE    the state's zip codes, one per line, sorted as the
                      window sorts them
  --list-cities CODE  the state's city-list texts ("Mission - 78572"), sorted
                      the same way
  --dump FILE      every record of an archive file as one line of ten
                   tab-separated fields, then the record count; a cut-off last
                   record is reported on standard error and the exit status
                   is 1
  --places FILE    many places in one run, read as CSV (FILE "-": standard
                   input) whose header names the columns: zip or city (each
                   with an optional state), or lat and lon (as --lat and
                   --lon) with tz or offset (or --tz or --offset for all),
                   and an optional id. Each place gets the days of --date
                   and --days (with --precise and --events) as text, csv or
                   json, every row starting with its id (default: its line
                   number), or as ics: one calendar in UTC whose events
                   carry each place's id; a bad line is reported
                   on standard error with its number and skipped (exit
                   status 3)
  --archives DIR   the directory of the state archives (default: the
                   program's directory)
  -h, --help       this text
  --version        the program's name and version number
  --               ends the options

A value always follows its option as the next argument, so negative numbers
work: "--lon -144.79", "--offset -9.5". "--option=value" works too. A
hemisphere letter saves remembering the signs: N and W keep the number, S and
E turn it. When solar noon falls more than three hours from 12:00 local, a
note on standard error asks to check the signs.

Where the Sun does not rise or set that day the line says so, e.g.
  Local Sunrise: No sunrise: the Sun is up all day (last sunrise ...)
naming, beyond 66.4 degrees of latitude, the nearest day that has the event.

Examples:
  daybreak-cli --lat 41.88N --lon 87.63W --offset 6 --dst --date 2007-06-21
  daybreak-cli --coords "41.88, -87.63" --offset 6 --dst --date 2007-06-21
  daybreak-cli --lat 13.44 --lon 144.79E --offset -10 --date 2007-06-21
  daybreak-cli --lat 64.84 --lon 147.72 --offset 9 --dst --days 7 --format csv
  daybreak-cli --lat 41.88 --lon 87.63 --tz America/Chicago --days 366
  daybreak-cli --zip 78572 --date 2007-06-21 --dst
  daybreak-cli --city "san antonio" --state tx --first
  daybreak-cli --list-cities PR

Latitude lies in -90 to 90, longitude in -180 to 180, the offset in -14 to 14
hours, and every result must fall in the years 1900 to 9999. Text from the
archives and arguments echoed in messages are printed with their control
characters written as \xHH.

Exit status: 0 on success, 2 for a bad argument or an input that cannot be
computed (an unknown state or time zone, a missing archive, a zip code or city
that no record has, several places without --first, a value out of its range;
a wrong command line adds "try 'daybreak-cli --help'"), 1 for --dump of a file
that ends inside a record, for an archive that --zip or --city without --state
could not read (and the place not found elsewhere), for output that cannot be
written ("cannot write output: REASON") and for running out of memory, 3 when
--places skipped some lines.

See also: man daybreak-cli; the user guide, with examples, is
/usr/share/doc/daybreak/user-guide.md (or PREFIX/share/doc/daybreak/).
)";
}

namespace {

// An error's line on standard error, as the tool writes every message.
void SayError(std::ostream& err, const char* what) {
    err << ToolText(kProgram + std::string(": ") + what) << "\n";
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCli(args, out, err, CCliSystem::Real());
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CCliSystem& system) {
    const CTime now(system.now());
    std::string text;
    std::string notes;
    CliOutputWriter write;
    int status = kCliExitOk;
    std::optional<std::int64_t> waitTarget;  // --wait: the instant to sleep until
    CCliOptions options;
    try {
        options = ParseCliOptions(args);
        if (!options.help && !options.version && !options.place.Lists()) {
            CheckArchivesPresent(options.place);
        }
    } catch (const CCliError& e) {
        SayError(err, e.what());
        err << kCliHelpHint;
        return kCliExitUsage;
    }
    // The date and the table's end, known only once today at the place is: still the command
    // line's fault when wrong.
    auto settle = [&options, &now](const std::optional<CZoneClock>& zone) {
        try {
            if (!options.date) {
                options.date = ResolvedDate(now, options, zone);
            }
            CheckTableEnd(options);
        } catch (const CCliError& e) {
            throw CLateUsageError(e.what());
        }
    };
    try {
        if (options.help) {
            text = CliUsage();
        } else if (options.version) {
            text = std::string(kProgram) + " " + kDaybreakVersion + "\n";
        } else if (options.place.Lists()) {
            status = RunPlaceListing(options.place, out, text, notes);
        } else if (options.places) {
            settle(options.zone);
            write = [&options, &err, &status](std::ostream& to) {
                status = RunBatch(options, to, err);
            };
        } else if (options.place.LooksUpPlace()) {
            if (options.date) {
                text = ResolvePlace(options, notes);
            } else {
                // The place's zone decides what today is: the place is looked up on the
                // computer's today, and again when the place's date differs.
                CCliOptions provisional = options;
                provisional.date = TodayOf(now, std::nullopt, 0);
                text = ResolvePlace(provisional, notes);
                settle(provisional.zone);
                if (*options.date == *provisional.date) {
                    options = provisional;
                } else {
                    notes.clear();
                    text = ResolvePlace(options, notes);
                }
            }
            settle(options.zone);
            if (options.now || options.wait) {
                text.clear();  // the one line, for scripts
            } else {
                write = PrepareOutput(options, text);
            }
        } else {
            if (!options.almanac) {
                settle(options.zone);
            }
            if (!options.now && !options.wait) {
                write = PrepareOutput(options, text);
            }
            if (!options.almanac) {
                notes += NoonNote(options, *options.date);
            }
        }
        if (options.now) {
            const double altitude =
                SunAltitudeAt(now.GetTime(), *options.latitude, *options.longitude);
            text = SunStateLine(altitude);
            status = IsDaylight(altitude) ? kCliExitOk : kCliExitFailure;
        } else if (options.wait) {
            waitTarget = NextEventInstant(options, now.GetTime(), text);
        }
    } catch (const CLateUsageError& e) {
        SayError(err, e.what());
        err << kCliHelpHint;
        return kCliExitUsage;
    } catch (const CPlaceDataError& e) {
        // An archive that had to be read could not be: the system's failure, not the input's.
        SayError(err, e.what());
        return kCliExitFailure;
    } catch (const CMessageException& e) {
        // A bad argument, or an input the engines or the year files cannot take.
        SayError(err, e.what());
        return kCliExitUsage;
    } catch (const std::bad_alloc&) {
        err << kProgram << ": out of memory\n";
        return kCliExitFailure;
    }
    notes = ToolText(notes);
    err << notes;
    out << text;
    if (write) {
        try {
            write(out);
        } catch (const CMessageException& e) {
            // Rows are streamed; their edges were checked before the first was written.
            SayError(err, e.what());
            return kCliExitUsage;
        } catch (const std::bad_alloc&) {
            err << kProgram << ": out of memory\n";
            return kCliExitFailure;
        }
    }
    out.flush();
    if (!out) {
        // A reader that went away ends the run quietly, as the pipe's signal would have.
        if (WriteFailureErrno(out) != EPIPE) {
            err << kProgram << ": cannot write output: " << WriteFailureReason(out) << "\n";
        }
        return kCliExitFailure;
    }
    if (waitTarget) {
        WaitUntil(*waitTarget, system);
    }
    return status;
}
