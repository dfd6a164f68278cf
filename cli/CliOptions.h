#pragma once
// Command-line options of daybreak-cli and their parser.
//
// Units and signs are the main window's: latitude north positive, longitude WEST positive,
// offset in hours behind UTC (6 for US Central, -3.5 for Iran). A hemisphere suffix spares the
// sign rule: "41.88N", "33.87S", "87.63W", "144.79E". A value always follows its option as the
// next argument, so a negative number is read as a value, not as an option ("--lon -144.79");
// "--option=value" works too. --coords "41.88,-87.63" takes both as a map shows them, east
// positive.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CivilTime.h"
#include "EventOutput.h"
#include "Exception.h"
#include "PlaceOptions.h"
#include "ZoneClock.h"

// A bad command line: what() is one line naming the argument, without the program's name.
class CCliError : public CMessageException {
public:
    using CMessageException::CMessageException;
};

// A user's argument fit to echo in a message: its control characters written as \xHH, as
// archive text is printed (Windows1252ToPrintable).
std::string PrintableArgument(std::string_view text);

enum class CliFormat { Text, Csv, Json, Ics };

// --wait EVENT[+-MINUTES]: one event of the Sun and the minutes after it (negative: before).
struct CWaitEvent {
    SunEvent event = SunEvent::Sunset;
    int minutes = 0;
};

// "sunset-30", "civil-dawn+10", "noon": throws CCliError naming `option` for anything else.
CWaitEvent ParseWaitEvent(std::string_view option, std::string_view text);

struct CCliOptions {
    bool help = false;
    bool version = false;

    // The place, typed in.
    std::optional<double> latitude;   // degrees, north positive
    std::optional<double> longitude;  // degrees, west positive
    std::optional<float> offset;      // hours behind UTC

    // Or the place from the state archives (a state with a zip code or a city), or one of the
    // listings (a state's zip codes or cities, an archive dump) instead of any calculation.
    CPlaceOptions place;

    bool dst = false;    // add the daylight-saving hour
    bool noDst = false;  // never add it
    // The clock by the date: daylight saving (and, without --offset, the offset) from this
    // zone on each date, unless --dst or --no-dst fixes the tick.
    std::optional<CZoneClock> zone;
    std::optional<CCivilDate> date;  // today when absent
    // --date today, tomorrow, yesterday, +N or -N: days from today at the place (its zone's
    // date when one is known, else the computer's); RunCli turns it into `date`.
    std::optional<int> daysFromToday;
    int days = 0;  // 0: the three result lines; N: a table of N days
    CliFormat format = CliFormat::Text;
    bool precise = false;          // sunrise, sunset and noon from the precise engine
    std::vector<CliEvent> events;  // --events; empty: the three default events
    // --almanac: the year's principal phases of the Moon, equinoxes and solstices on the
    // clock, instead of a place's day.
    std::optional<int> almanac;
    // --now: whether it is day, twilight or night at the place now; --wait: sleep until the
    // next such event there.
    bool now = false;
    std::optional<CWaitEvent> wait;
    // --places FILE ("-": standard input): many places, one a line (BatchInput.h).
    std::optional<std::string> places;
};

// The clock the results are read on: the zone's by the date (with --offset as its standard
// offset and --dst or --no-dst as its tick when given), or the fixed offset and tick.
CClockChoice ClockChoiceOf(const CCliOptions& options);

// Throws CCliError for an unknown option, a missing or malformed value, or a missing place.
CCliOptions ParseCliOptions(const std::vector<std::string>& args);

// The ranges the options accept: every place on Earth, every clock in use.
inline constexpr double kMaxLatitude = 90.0;
inline constexpr double kMaxLongitude = 180.0;
inline constexpr double kMaxOffsetHours = 14.0;

// Single values, as the options take them, each checked against its range (a number too small
// for a double is taken as zero). Each throws CCliError naming `option` and the range.
double ParseLatitude(std::string_view option, std::string_view text);
double ParseLongitude(std::string_view option, std::string_view text);
float ParseOffset(std::string_view option, std::string_view text);

// "41.88,-87.63" or "41.88, -87.63" as maps give a place: latitude north positive, longitude
// EAST positive (hemisphere letters work too). The result is in this tool's units.
struct CCoordinates {
    double latitude = 0;   // degrees, north positive
    double longitude = 0;  // degrees, west positive
};
CCoordinates ParseCoordinates(std::string_view option, std::string_view text);
CCivilDate ParseDate(std::string_view option, std::string_view text);
// "today", "tomorrow", "yesterday", "+N" or "-N" as days from today; nothing for other text.
std::optional<int> ParseRelativeDate(std::string_view text);

// The date `days` from `today`; throws CCliError naming `option` and `text` when it falls
// outside the years 1900 to 9999.
CCivilDate ResolveRelativeDate(std::string_view option, std::string_view text,
                               const CCivilDate& today, int days);
