#include "PlaceCommands.h"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <vector>

#include "ArchiveDump.h"
#include "ErrorReporter.h"
#include "Exception.h"
#include "File.h"
#include "NumberText.h"
#include "PlaceFinder.h"
#include "PlaceIndex.h"
#include "PlaceName.h"
#include "PlaceService.h"
#include "TimeZoneList.h"
#include "Windows1252.h"

namespace {

constexpr const char* kProgram = "daybreak-cli";

// Sorts what the loader reports: the first failure becomes the tool's one-line error, and each
// problem inside the data a note on standard error.
class CLoadReporter : public IErrorReporter {
public:
    explicit CLoadReporter(std::string& notes) : m_notes(notes) {}
    void ReportError(const CException& error) override {
        if (dynamic_cast<const CArchiveNote*>(&error) != nullptr) {
            m_notes += std::string(kProgram) + ": " + error.GetErrorMessage() + "\n";
        } else if (message.empty()) {
            message = error.GetErrorMessage();
        }
    }
    std::string message;

private:
    std::string& m_notes;
};

// The archive of a state given on the command line: its code or its name, in any case.
std::string StateCode(std::string_view option, const std::string& text) {
    if (const auto row = CPlaceService::StateFromText(text)) {
        return std::string(row->code);
    }
    throw CCliError(std::string(option) + ": '" + PrintableArgument(text) +
                    "' is not a state or possession (a code such as TX, PR, GU, or a name)");
}

void Load(const std::string& code, CPlaceService& places, CTimeZoneList& list, std::string& notes) {
    CNullArchiveSink sink;
    CLoadReporter reporter(notes);
    try {
        places.LoadState(code, list, sink, reporter);
    } catch (const CException& e) {
        throw CCliError(e.GetErrorMessage());
    }
    if (!reporter.message.empty()) {
        throw CCliError(reporter.message);
    }
}

// What a search met: its notes go to standard error; an archive it could not read is an error
// of its own when the place was not found elsewhere (status 1, every such archive named),
// else a note. With a state, its archive that cannot be read is the error of a bad argument.
void TakeProblems(const CPlaceSearch& search, const std::optional<std::string>& code,
                  std::string& notes) {
    for (const std::string& note : search.notes) {
        notes += std::string(kProgram) + ": " + note + "\n";
    }
    if (search.failures.empty()) {
        return;
    }
    if (code) {
        throw CCliError(search.failures.front());
    }
    if (search.total == 0) {
        std::string message = search.failures.front();
        for (std::size_t i = 1; i < search.failures.size(); ++i) {
            message += "\n" + std::string(kProgram) + ": " + search.failures[i];
        }
        throw CPlaceDataError(message);
    }
    for (const std::string& failure : search.failures) {
        notes += std::string(kProgram) + ": " + failure + "\n";
    }
}

std::string Lines(const std::vector<std::string>& entries) {
    std::string text;
    for (const std::string& entry : entries) {
        text += Windows1252ToPrintable(entry);
        text += '\n';
    }
    return text;
}

std::filesystem::path ArchiveDirectory(const CPlaceOptions& place) {
    return place.archives ? std::filesystem::path(*place.archives) : std::filesystem::path();
}

// A typed name in the archives' code page; a character no archive can hold is dropped, as the
// folded comparison drops what is not a letter or a digit.
std::string TypedName(const std::string& utf8) {
    try {
        return Utf8ToWindows1252(utf8);
    } catch (const CEncodingError&) {
        std::string ascii;
        for (const char c : utf8) {
            ascii += static_cast<unsigned char>(c) < 0x80 ? c : ' ';
        }
        return ascii;
    }
}

// How many places of a search are kept: the list shown with the error for several.
constexpr std::size_t kShown = 10;

// Several places answer: the short list goes with the error, unless --first takes the first.
[[noreturn]] void ThrowChoices(const std::string& option, const std::string& typed,
                               const CPlaceSearch& choices) {
    std::string message = option + ": " + std::to_string(choices.total) + " places match '" +
                          PrintableArgument(typed) +
                          "'; give --first, or --state and --zip to choose one:";
    for (const CPlace& p : choices.places) {
        message += "\n  " + Windows1252ToPrintable(p.record.m_strCity) + ", " + p.state + ", " +
                   Windows1252ToPrintable(p.record.m_strZipCode) + ", " +
                   Windows1252ToPrintable(p.record.m_strCounty);
    }
    if (choices.total > choices.places.size()) {
        message += "\n  ... and " + std::to_string(choices.total - choices.places.size()) + " more";
    }
    throw CCliError(message);
}

std::string DidYouMean(const std::vector<std::string>& names) {
    if (names.empty()) {
        return {};
    }
    std::string text = " (did you mean ";
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ");
        text += Windows1252ToPrintable(names[i]);
    }
    return text + "?)";
}

// The place of a zip code: in one state, or in every state that has it. The archives are read
// as streams: only the matches are kept.
CPlaceSearch ZipPlaces(CPlaceService& places, const std::optional<std::string>& code,
                       const std::string& zip, std::string& notes) {
    CPlaceSearch found = places.FindZip(zip, code, kShown);
    TakeProblems(found, code, notes);
    if (found.total == 0) {
        throw CCliError("--zip: no place" + (code ? " in " + *code : std::string()) +
                        " has the zip code '" + PrintableArgument(zip) + "'");
    }
    return found;
}

// The places of a city: with a state, its exact city-list text or name first (of several
// places of that name the first in the file, the others named in `notes`); then, and without a
// state, every place whose folded name equals the typed one.
CPlaceSearch CityPlaces(CPlaceService& places, const std::optional<std::string>& code,
                        const std::string& typed, std::string& notes) {
    const std::string city = TypedName(typed);
    CPlaceSearch found = places.FindCity(city, code, kShown);
    TakeProblems(found, code, notes);
    if (!found.otherZips.empty()) {
        const std::size_t others = found.otherZips.size();
        notes += kProgram;
        notes += ": " + std::to_string(others) + " other place" + (others > 1 ? "s" : "") +
                 " named " + Windows1252ToPrintable(city) + " in " + *code + ", zip code" +
                 (others > 1 ? "s:" : ":");
        for (std::size_t i = 0; i < others; ++i) {
            notes += (i > 0 ? ", " : " ") + Windows1252ToPrintable(found.otherZips[i]);
        }
        notes += "\n";
    }
    if (found.total == 0) {
        throw CCliError("--city: no place" + (code ? " in " + *code : std::string()) +
                        " is called '" + PrintableArgument(typed) + "'" +
                        DidYouMean(found.suggestions));
    }
    return found;
}

// An error after notes (a cut archive, a skipped record) carries them: on an error the tool
// prints nothing but its message, and the notes may tell why the place was not found.
template <typename Search>
CPlaceSearch KeepingNotes(const std::string& notes, Search search) {
    const auto withNotes = [&notes](const char* message) {
        const std::size_t prefix = std::string_view(kProgram).size() + 2;
        return notes.empty() ? std::string(message)
                             : notes.substr(prefix) + kProgram + ": " + message;
    };
    try {
        return search();
    } catch (const CPlaceDataError& e) {
        throw CPlaceDataError(withNotes(e.what()));
    } catch (const CCliError& e) {
        throw CCliError(withNotes(e.what()));
    }
}

// How many other places a --city answer names on standard error.
constexpr std::size_t kOthers = 3;

// The best-ranked place of a name among the archives' towns and the world's; up to three
// others named in `notes` with what to type to choose them. No place at all is an error that
// says where the names come from.
CFoundPlace BestPlace(CPlaceService& places, const std::string& typed, std::string& notes) {
    const CPlaceFinder& finder = places.Finder();
    const std::vector<CFoundPlace> found = finder.Find(typed, kOthers + 1, true);
    const std::vector<std::string>& problems = places.FinderProblems();
    if (found.empty() && !problems.empty()) {
        std::string message = problems.front();
        for (std::size_t i = 1; i < problems.size(); ++i) {
            message += "\n" + std::string(kProgram) + ": " + problems[i];
        }
        throw CPlaceDataError(message);
    }
    for (const std::string& problem : problems) {
        notes += std::string(kProgram) + ": " + problem + "\n";
    }
    if (found.empty()) {
        std::string message = "--city: no place is called '" + PrintableArgument(typed) + "'";
        const std::vector<std::string> near = finder.Suggest(typed, 5);
        if (!near.empty()) {
            message += " (did you mean ";
            for (std::size_t i = 0; i < near.size(); ++i) {
                message += (i == 0 ? "" : i + 1 == near.size() ? " or " : ", ");
                message += PrintableArgument(near[i]);
            }
            message += "?)";
        }
        message += finder.WorldProblem().empty()
                       ? "; places outside the US come from towns of at least 1,000 people"
                       : "; places outside the US are unavailable: " + finder.WorldProblem();
        throw CCliError(message);
    }
    if (found.size() > 1) {
        notes += std::string(kProgram) + ": " + PrintableArgument(found.front().Label()) + "; also";
        for (std::size_t i = 1; i < found.size(); ++i) {
            notes += (i == 1 ? " " : ", ") + PrintableArgument(found[i].Label());
        }
        notes += " (choose with --city \"" + PrintableArgument(found[1].Choice()) + "\")\n";
    }
    return found.front();
}

// The lines of a clock on the date: " (Europe/Paris, CEST, UTC+02:00 on this date)".
std::string ZoneText(const CCliOptions& options) {
    if (!options.zone || !options.date) {
        return {};
    }
    const CClockOnDate clock = ClockChoiceOf(options).OnDate(*options.date);
    const CClockOnDate own = options.zone->OnDate(*options.date);
    // The zone's abbreviation names its own clock: shown only when that is the clock used.
    return own.utcOffsetSeconds == clock.utcOffsetSeconds
               ? " (" + options.zone->Name() + ", " + clock.abbreviation + ", " +
                     FormatUtcOffset(clock.utcOffsetSeconds) + " on this date)"
               : " (" + FormatUtcOffset(clock.utcOffsetSeconds) + " on this date; " +
                     options.zone->Name() + " keeps " + FormatUtcOffset(own.utcOffsetSeconds) + ")";
}

// Typed coordinates without a clock: the zone of the point gives it.
std::string ZoneOfPoint(CCliOptions& options, const CPlaceOptions& place) {
    CPlaceService places(ArchiveDirectory(place));
    const auto zone = places.ZoneOfPoint(*options.latitude, *options.longitude);
    if (zone) {
        options.zone = CZoneClock::Load(*zone);
    }
    if (!options.zone) {
        const std::string why = zone ? *zone + " is not a time zone of this system's database"
                                     : places.ZoneMapProblem();
        throw CCliError(
            "--offset: missing (hours behind UTC, e.g. 6 for US Central, or --tz America/Chicago); "
            "the zone of the point is unknown here (" +
            why + ")");
    }
    if (options.format != CliFormat::Text) {
        return {};
    }
    const float offset = options.zone->OnDate(*options.date).offset;
    return "Time Zone: " + daybreak::FormatFloatText(offset) + ZoneText(options) + "\n";
}

}  // namespace

std::string ResolvePlace(CCliOptions& options, std::string& notes) {
    const CPlaceOptions& place = options.place;
    if (place.zoneOfPoint) {
        return ZoneOfPoint(options, place);
    }
    CPlaceService places(ArchiveDirectory(place));
    std::optional<std::string> code;
    if (place.state) {
        code = StateCode("--state", *place.state);
    }
    std::string cityLine;    // of a world town: "Paris, France"
    std::string countyLine;  // its region, when known
    const CPlaceSearch found = KeepingNotes(notes, [&] {
        const auto best = [&](const std::string& typed) {
            const CFoundPlace town = BestPlace(places, typed, notes);
            cityLine = town.Choice();
            countyLine = town.region;
            CPlaceSearch one;
            one.places.push_back(places.PlaceOf(town));
            one.total = 1;
            return one;
        };
        if (place.zip) {
            return ZipPlaces(places, code, *place.zip, notes);
        }
        if (!code) {
            return best(*place.city);
        }
        // In a state: its city-list text or a name as stored first, then its best-ranked town
        // of the name.
        CPlaceSearch search = CityPlaces(places, code, *place.city, notes);
        if (search.total == 1 || place.first) {
            return search;
        }
        return best(*place.city + ", " + *code);
    });
    if (found.total > 1 && !place.first) {
        ThrowChoices(place.zip ? "--zip" : "--city", place.zip ? *place.zip : *place.city, found);
    }
    const std::optional<CPlace> chosen = found.places.front();

    options.latitude = chosen->latitude;
    options.longitude = chosen->longitude;
    options.offset = chosen->offset;
    const std::string city = chosen->world ? PrintableArgument(cityLine)
                                           : Windows1252ToPrintable(chosen->record.m_strCity);
    // Daylight saving follows the date on the place's own clock unless the command line fixes
    // the tick (--dst on a place without daylight saving fixes nothing); without a known zone
    // the place keeps the fixed behaviour and says so.
    const CPlaceClock clock = ClockOfPlace(
        *chosen, !options.zone && !options.noDst && !(options.dst && chosen->observesDst), true);
    if (clock.standardAllYear && options.dst) {
        options.dst = false;
        notes += std::string(kProgram) + ": " + city +
                 " keeps standard time all year: no daylight-saving hour added\n";
    }
    if (clock.kind != CPlaceClock::Kind::Fixed) {
        if (clock.kind == CPlaceClock::Kind::Zone) {
            options.zone = CZoneClock::Load(clock.zone);
        }
        if (!options.zone && chosen->observesDst) {
            const std::string why =
                chosen->world ? std::string() : places.ZoneProblem(chosen->state);
            notes += std::string(kProgram) + ": the time zone of " + city + " is unknown here" +
                     (why.empty() ? std::string() : " (" + why + ")") +
                     ": no daylight-saving hour added (--dst adds it)\n";
        }
    }
    if (options.format != CliFormat::Text) {
        return {};  // CSV, JSON and iCalendar files stand alone
    }
    return "City Name: " + city + "\n" + "County Name: " +
           (chosen->world ? countyLine : Windows1252ToPrintable(chosen->record.m_strCounty)) +
           "\n" + "Latitude: " + daybreak::FormatDoubleText(*options.latitude) + "\n" +
           "Longitude: " + daybreak::FormatDoubleText(*options.longitude) + "\n" +
           "Time Zone: " + daybreak::FormatFloatText(*options.offset) + ZoneText(options) + "\n";
}

int RunPlaceListing(const CPlaceOptions& place, std::ostream& out, std::string& text,
                    std::string& notes) {
    if (place.dump) {
        CFile file;
        CFileException error;
        if (!file.Open(*place.dump, CFile::modeRead | CFile::typeBinary, &error)) {
            throw CCliError(error.GetErrorMessage());
        }
        ArchiveDumpResult result;
        try {
            result = DumpArchive(file, out);
        } catch (const CException& e) {
            throw CCliError(e.GetErrorMessage());
        }
        text = std::to_string(result.records) + (result.records == 1 ? " record\n" : " records\n");
        if (result.truncatedAt) {
            notes += std::string(kProgram) + ": " + *place.dump +
                     ": the last record is cut off: " + std::to_string(result.truncatedBytes) +
                     " byte(s) from offset " + std::to_string(*result.truncatedAt) + "\n";
            return 1;
        }
        return 0;
    }
    const bool zips = place.listZips.has_value();
    const std::string code = StateCode(zips ? "--list-zips" : "--list-cities",
                                       zips ? *place.listZips : *place.listCities);
    CPlaceService places(ArchiveDirectory(place));
    CTimeZoneList list;
    Load(code, places, list, notes);
    text = Lines(zips ? CPlaceService::ZipEntries(list) : CPlaceService::CityEntries(list));
    return 0;
}
