#include "PlaceOptions.h"

#include "CliOptions.h"

bool ParsePlaceOption(std::string_view name, const std::function<std::string_view()>& value,
                      CPlaceOptions& place) {
    std::optional<std::string>* target = nullptr;
    if (name == "--state") {
        target = &place.state;
    } else if (name == "--zip") {
        target = &place.zip;
    } else if (name == "--city") {
        target = &place.city;
    } else if (name == "--list-zips") {
        target = &place.listZips;
    } else if (name == "--list-cities") {
        target = &place.listCities;
    } else if (name == "--dump") {
        target = &place.dump;
    } else if (name == "--archives") {
        target = &place.archives;
    } else {
        return false;
    }
    *target = std::string(value());
    // An empty name would give messages that name nothing.
    if (target->value().empty() && (target == &place.dump || target == &place.archives)) {
        throw CCliError(std::string(name) +
                        (target == &place.dump ? ": needs a file name" : ": needs a directory"));
    }
    return true;
}

void CheckPlaceOptions(const CPlaceOptions& place, bool typedPlace, bool calculation) {
    const int listings =
        (place.listZips ? 1 : 0) + (place.listCities ? 1 : 0) + (place.dump ? 1 : 0);
    if (listings > 0) {
        if (listings > 1 || place.LooksUpPlace() || typedPlace || calculation) {
            throw CCliError(
                "--list-zips, --list-cities and --dump: each goes alone (with --archives)");
        }
        return;
    }
    if (!place.LooksUpPlace()) {
        if (place.first) {
            throw CCliError("--first: goes with --zip or --city");
        }
        return;
    }
    // Each error names an option the user gave.
    const std::string given = place.zip ? "--zip" : place.city ? "--city" : "--state";
    if (typedPlace) {
        throw CCliError(given +
                        ": give either a place from the archives or --lat, --lon and "
                        "--offset, not both");
    }
    if (place.zip && place.city) {
        throw CCliError("--zip and --city: give one of them");
    }
    if (!place.zip && !place.city) {
        throw CCliError("--state: needs --zip or --city");
    }
}
