#pragma once
// Command-line options that take the place from the state archives instead of typing it in:
//
//     --zip 78572                        the place of that zip code, in whatever state
//     --state TX --zip 78572             ... in that state (the first in the archive)
//     --state TX --city "Mission - 78572"  the place of that city-list text
//     --state TX --city Mission          the first place of that name; the others' zip codes
//                                        are listed on standard error
//     --city "new york", --city "Paris, France"  the best-ranked place of that name, US
//                                        town or world town ("City, ST", "City, Country"),
//                                        folded (case, accents, punctuation); up to three
//                                        others are named on standard error
//     --state takes a code or a name in any case
//     --list-zips TX, --list-cities TX   the two lists, sorted as the window sorts them
//     --dump FILE                        every record of an archive file, one line each
//     --archives DIR                     where the archives lie (default: beside the program)

#include <functional>
#include <optional>
#include <string>
#include <string_view>

struct CPlaceOptions {
    std::optional<std::string> state;
    std::optional<std::string> zip;
    std::optional<std::string> city;
    std::optional<std::string> listZips;
    std::optional<std::string> listCities;
    std::optional<std::string> dump;
    std::optional<std::string> archives;

    bool first = false;  // --first: of several places, the first
    // Typed coordinates without --offset or --tz: the clock is the zone of the point.
    bool zoneOfPoint = false;

    bool LooksUpPlace() const { return state || zip || city || zoneOfPoint; }
    bool Lists() const { return listZips || listCities || dump; }
};

// Takes `name` when it is one of the options above, reading its value through `value`.
// Returns false for any other option.
bool ParsePlaceOption(std::string_view name, const std::function<std::string_view()>& value,
                      CPlaceOptions& place);

// Checks how the place options combine with each other and with the rest of the command line.
// `typedPlace`: --lat, --lon or --offset was given; `calculation`: --dst, --date, --days or
// --format was given. Throws CCliError.
void CheckPlaceOptions(const CPlaceOptions& place, bool typedPlace, bool calculation);
