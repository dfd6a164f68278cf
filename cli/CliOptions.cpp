#include "CliOptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

#include "BatchInput.h"
#include "SolarTable.h"
#include "Windows1252.h"

std::string PrintableArgument(std::string_view text) {
    return Utf8ToPrintable(text);  // UTF-8 as the terminal gave it
}

namespace {

[[noreturn]] void Fail(std::string_view option, std::string_view text, std::string_view why) {
    std::string message(option);
    message += ": '";
    message += PrintableArgument(text);
    message += "' ";
    message += why;
    throw CCliError(message);
}

// A decimal number, optionally signed ("+5", "-3.5"); "nan" and "inf" parse and are refused
// later by the engine with its own message.
std::optional<double> ParseNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
            return std::nullopt;
        }
    }
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (ptr != end || text.empty()) {
        return std::nullopt;
    }
    if (ec == std::errc::result_out_of_range) {
        // Either too small for a double, which is zero for every purpose here, or too large,
        // which is infinite and out of every range.
        const double magnitude = std::strtod(std::string(text).c_str(), nullptr);
        const bool negative = text.front() == '-';
        if (std::fabs(magnitude) < 1.0) {
            return negative ? -0.0 : 0.0;
        }
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    }
    if (ec != std::errc()) {
        return std::nullopt;
    }
    return value;
}

// A coordinate with an optional hemisphere suffix: `positive` and `negative` are the letters
// that keep and turn the sign (N/S for latitude, W/E for longitude).
double ParseCoordinate(std::string_view option, std::string_view text, char positive, char negative,
                       char wrong1, char wrong2) {
    // A plain number first: "nan" ends in a letter that is not a hemisphere.
    if (const std::optional<double> plain = ParseNumber(text)) {
        return *plain;
    }
    std::string_view number = text;
    int sign = 1;
    if (!number.empty()) {
        const char last =
            static_cast<char>(std::toupper(static_cast<unsigned char>(number.back())));
        if (last == positive || last == negative) {
            number.remove_suffix(1);
            sign = last == negative ? -1 : 1;
            if (!number.empty() && (number.front() == '-' || number.front() == '+')) {
                Fail(option, text, "has both a sign and a hemisphere letter");
            }
        } else if (number.back() == 'e') {
            // "1e" for a latitude: an exponent without digits rather than a wrong hemisphere
        } else if (last == wrong1 || last == wrong2) {
            std::string why = "has the wrong hemisphere letter (use ";
            why += positive;
            why += " or ";
            why += negative;
            why += ')';
            Fail(option, text, why);
        }
    }
    const std::optional<double> value = ParseNumber(number);
    if (!value) {
        Fail(option, text, "is not a number");
    }
    return sign * *value;
}

// `value` when it lies in -limit to limit; NaN and infinities never do.
double InRange(std::string_view option, std::string_view text, double value, double limit,
               const char* what, const char* unit) {
    if (!(value >= -limit && value <= limit)) {
        const std::string bound = std::to_string(static_cast<int>(limit));
        Fail(option, text,
             std::string("is not ") + what + " from -" + bound + " to " + bound + " " + unit);
    }
    return value;
}

bool IsOption(std::string_view arg) {
    return arg.size() > 2 && arg[0] == '-' && arg[1] == '-';
}

}  // namespace

double ParseLatitude(std::string_view option, std::string_view text) {
    return InRange(option, text, ParseCoordinate(option, text, 'N', 'S', 'E', 'W'), kMaxLatitude,
                   "a latitude", "degrees");
}

double ParseLongitude(std::string_view option, std::string_view text) {
    return InRange(option, text, ParseCoordinate(option, text, 'W', 'E', 'N', 'S'), kMaxLongitude,
                   "a longitude", "degrees");
}

CCoordinates ParseCoordinates(std::string_view option, std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        Fail(option, text, "is not a latitude and longitude (e.g. \"41.88,-87.63\")");
    }
    std::string_view east = text.substr(comma + 1);
    while (!east.empty() && east.front() == ' ') {
        east.remove_prefix(1);
    }
    const std::string_view north = text.substr(0, comma);
    CCoordinates place;
    place.latitude = ParseLatitude(option, north);
    // East positive as maps give it; the hemisphere letters read the same either way. The
    // subtraction turns it west positive without making a -0 of 0.
    place.longitude = 0.0 - InRange(option, east, ParseCoordinate(option, east, 'E', 'W', 'N', 'S'),
                                    kMaxLongitude, "a longitude", "degrees");
    return place;
}

float ParseOffset(std::string_view option, std::string_view text) {
    const std::optional<double> value = ParseNumber(text);
    if (!value) {
        Fail(option, text, "is not a number of hours");
    }
    return static_cast<float>(InRange(option, text, *value, kMaxOffsetHours, "an offset", "hours"));
}

CCivilDate ParseDate(std::string_view option, std::string_view text) {
    auto digits = [&](std::size_t from, std::size_t count) {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
                return -1;
            }
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        Fail(option, text, "is not a date of the form YYYY-MM-DD");
    }
    const CCivilDate date{digits(0, 4), digits(5, 2), digits(8, 2)};
    if (date.year < 0 || date.month < 0 || date.day < 0) {
        Fail(option, text, "is not a date of the form YYYY-MM-DD");
    }
    if (!IsValidDate(date)) {
        // The form is right: name what is wrong with the day itself.
        if (date.month < 1 || date.month > 12) {
            Fail(option, text, "does not exist (a month runs from 01 to 12)");
        }
        const int last = AddDays(CCivilDate{date.year + (date.month == 12 ? 1 : 0),
                                            date.month == 12 ? 1 : date.month + 1, 1},
                                 -1)
                             .day;
        Fail(option, text, "does not exist (that month has " + std::to_string(last) + " days)");
    }
    if (date.year < kFirstResultYear) {
        Fail(option, text, "is before " + std::to_string(kFirstResultYear));
    }
    return date;
}

CWaitEvent ParseWaitEvent(std::string_view option, std::string_view text) {
    static constexpr std::pair<const char*, SunEvent> kNames[] = {
        {"sunrise", SunEvent::Sunrise},
        {"sunset", SunEvent::Sunset},
        {"noon", SunEvent::SolarNoon},
        {"civil-dawn", SunEvent::CivilDawn},
        {"civil-dusk", SunEvent::CivilDusk},
        {"nautical-dawn", SunEvent::NauticalDawn},
        {"nautical-dusk", SunEvent::NauticalDusk},
        {"astronomical-dawn", SunEvent::AstronomicalDawn},
        {"astronomical-dusk", SunEvent::AstronomicalDusk},
    };
    // The minutes: a sign and up to four digits at the end ("sunset-30").
    std::string_view name = text;
    int minutes = 0;
    const std::size_t sign = text.find_last_of("+-");
    if (sign != std::string_view::npos && sign + 1 < text.size() && text.size() - sign <= 5 &&
        std::all_of(text.begin() + static_cast<std::ptrdiff_t>(sign) + 1, text.end(),
                    [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; })) {
        name = text.substr(0, sign);
        for (const char c : text.substr(sign + 1)) {
            minutes = minutes * 10 + (c - '0');
        }
        minutes = text[sign] == '-' ? -minutes : minutes;
    }
    for (const auto& [known, event] : kNames) {
        if (name == known) {
            return {event, minutes};
        }
    }
    Fail(option, text,
         "is not an event with optional minutes (sunrise, sunset, noon, civil-dawn, "
         "civil-dusk, nautical-dawn, nautical-dusk, astronomical-dawn, astronomical-dusk; "
         "e.g. sunset-30)");
}

std::optional<int> ParseRelativeDate(std::string_view text) {
    if (text == "today") {
        return 0;
    }
    if (text == "tomorrow") {
        return 1;
    }
    if (text == "yesterday") {
        return -1;
    }
    // "+N" or "-N" with at most seven digits: further than any date of 1900 to 9999.
    if (text.size() < 2 || text.size() > 8 || (text[0] != '+' && text[0] != '-')) {
        return std::nullopt;
    }
    int days = 0;
    for (const char c : text.substr(1)) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return std::nullopt;
        }
        days = days * 10 + (c - '0');
    }
    return text[0] == '-' ? -days : days;
}

CCivilDate ResolveRelativeDate(std::string_view option, std::string_view text,
                               const CCivilDate& today, int days) {
    constexpr CCivilDate kFirst{kFirstResultYear, 1, 1};
    constexpr CCivilDate kLast{kLastResultYear, 12, 31};
    const long long day = DaysFromCivil(today) + days;
    if (day < DaysFromCivil(kFirst)) {
        Fail(option, text, "falls before " + std::to_string(kFirstResultYear));
    }
    if (day > DaysFromCivil(kLast)) {
        Fail(option, text, "falls after " + std::to_string(kLastResultYear));
    }
    return AddDays(today, days);
}

CClockChoice ClockChoiceOf(const CCliOptions& options) {
    if (options.zone) {
        std::optional<int> tick;
        if (options.dst || options.noDst) {
            tick = options.dst ? 1 : 0;
        }
        return CClockChoice::Zone(*options.zone, options.offset, tick);
    }
    return CClockChoice::Fixed(options.offset.value_or(0.0f), options.dst ? 1 : 0);
}

CCliOptions ParseCliOptions(const std::vector<std::string>& args) {
    CCliOptions options;
    bool coords = false;
    bool latOrLon = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        // "-h" is the one short option: the spelling every user tries first.
        if (args[i] == "--") {
            // The end of the options: this tool takes no other arguments.
            if (i + 1 < args.size()) {
                throw CCliError("unexpected argument '" + PrintableArgument(args[i + 1]) + "'");
            }
            break;
        }
        std::string_view arg = args[i] == "-h" ? std::string_view("--help") : args[i];
        if (!IsOption(arg)) {
            throw CCliError("unexpected argument '" + PrintableArgument(arg) + "'");
        }
        std::string_view name = arg;
        std::optional<std::string_view> inlineValue;
        if (const auto eq = arg.find('='); eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        // The next argument is the value even when it starts with '-': "--lon -144.79".
        auto value = [&]() -> std::string_view {
            if (inlineValue) {
                return *inlineValue;
            }
            if (i + 1 >= args.size()) {
                throw CCliError(std::string(name) + ": missing value");
            }
            return args[++i];
        };
        auto noValue = [&]() {
            if (inlineValue) {
                throw CCliError(std::string(name) + ": takes no value");
            }
        };

        if (name == "--help") {
            noValue();
            options.help = true;
        } else if (name == "--version") {
            noValue();
            options.version = true;
        } else if (name == "--lat") {
            options.latitude = ParseLatitude(name, value());
            latOrLon = true;
        } else if (name == "--lon") {
            options.longitude = ParseLongitude(name, value());
            latOrLon = true;
        } else if (name == "--coords") {
            const CCoordinates place = ParseCoordinates(name, value());
            options.latitude = place.latitude;
            options.longitude = place.longitude;
            coords = true;
        } else if (name == "--offset") {
            options.offset = ParseOffset(name, value());
        } else if (name == "--dst") {
            noValue();
            options.dst = true;
        } else if (name == "--no-dst") {
            noValue();
            options.noDst = true;
        } else if (name == "--tz") {
            const std::string_view text = value();
            options.zone = CZoneClock::Load(std::string(text));
            if (!options.zone) {
                Fail(name, text,
                     "is not a time zone of this system's database (e.g. America/Chicago)");
            }
        } else if (name == "--date") {
            const std::string_view text = value();
            if (const std::optional<int> days = ParseRelativeDate(text)) {
                options.daysFromToday = *days;
                options.date.reset();
            } else {
                options.date = ParseDate(name, text);
                options.daysFromToday.reset();
            }
        } else if (name == "--days") {
            const std::string_view text = value();
            int days = 0;
            const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), days);
            if (ec != std::errc() || ptr != text.data() + text.size() || days < 1 ||
                days > kMaxSolarTableDays) {
                Fail(name, text, "is not a number of days from 1 to 36600");
            }
            options.days = days;
        } else if (name == "--format") {
            const std::string_view text = value();
            if (text == "text") {
                options.format = CliFormat::Text;
            } else if (text == "csv") {
                options.format = CliFormat::Csv;
            } else if (text == "json") {
                options.format = CliFormat::Json;
            } else if (text == "ics") {
                options.format = CliFormat::Ics;
            } else {
                Fail(name, text, "is not a format (text, csv, json or ics)");
            }
        } else if (name == "--precise") {
            noValue();
            options.precise = true;
        } else if (name == "--now") {
            noValue();
            options.now = true;
        } else if (name == "--wait") {
            options.wait = ParseWaitEvent(name, value());
        } else if (name == "--places") {
            options.places = std::string(value());
        } else if (name == "--first") {
            noValue();
            options.place.first = true;
        } else if (name == "--events") {
            options.events = ParseEventList(name, value());
        } else if (name == "--almanac") {
            const std::string_view text = value();
            int year = 0;
            const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), year);
            if (ec != std::errc() || ptr != text.data() + text.size() || text.size() != 4 ||
                year < kFirstResultYear || year > kLastResultYear) {
                Fail(name, text,
                     "is not a year from " + std::to_string(kFirstResultYear) + " to " +
                         std::to_string(kLastResultYear));
            }
            options.almanac = year;
        } else if (!ParsePlaceOption(name, value, options.place)) {
            throw CCliError("unknown option '" + PrintableArgument(name) + "'");
        }
    }

    if (options.help || options.version) {
        return options;
    }
    if (coords && latOrLon) {
        throw CCliError("--coords: give either --coords or --lat and --lon");
    }
    if (options.dst && options.noDst) {
        throw CCliError("--dst and --no-dst: give one of them");
    }
    if (options.format == CliFormat::Ics &&
        std::any_of(options.events.begin(), options.events.end(), [](CliEvent event) {
            return event != CliEvent::Sunrise && event != CliEvent::Sunset &&
                   event != CliEvent::Noon && !HasMoonEvent({event});
        })) {
        throw CCliError(
            "--events: the ics format carries its own events of the Sun; it adds only "
            "moonrise, moonset and moon");
    }
    if ((options.now || options.wait) &&
        (options.almanac || options.days != 0 || options.format != CliFormat::Text ||
         !options.events.empty() || (options.now && options.wait))) {
        throw CCliError(
            "--now and --wait: each goes without the other and without --days, --format, "
            "--events and --almanac");
    }
    if (options.almanac && (options.date || options.daysFromToday || options.days != 0 ||
                            options.precise || !options.events.empty())) {
        throw CCliError("--almanac: goes without --date, --days, --precise and --events");
    }
    if (options.places) {
        CheckBatchOptions(options);
        return options;
    }
    CheckPlaceOptions(options.place, options.latitude || options.longitude || options.offset,
                      options.dst || options.noDst || options.zone || options.date ||
                          options.daysFromToday || options.days != 0 ||
                          options.format != CliFormat::Text || options.precise ||
                          !options.events.empty() || options.almanac.has_value());
    if (options.place.LooksUpPlace() || options.place.Lists()) {
        return options;
    }
    if (options.almanac) {
        // The clock alone: a typed place adds nothing to the year's instants.
        if (!options.offset && !options.zone) {
            throw CCliError(
                "--almanac: needs a clock: --offset HOURS, --tz ZONE or a place from the "
                "archives");
        }
        return options;
    }
    if (!options.latitude) {
        throw CCliError("--lat: missing (latitude in degrees, e.g. 41.88 or 41.88N)");
    }
    if (!options.longitude) {
        throw CCliError("--lon: missing (longitude in degrees, west positive, e.g. 87.63W)");
    }
    // Without a clock the zone of the point gives it.
    options.place.zoneOfPoint = !options.offset && !options.zone;
    return options;
}
