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
#include "PlaceIndex.h"
#include "PlaceName.h"
#include "PlaceService.h"
#include "TimeZoneList.h"
#include "Windows1252.h"

namespace {

constexpr const char* kProgram = "daybreak-cli";

// The first failure the loader shows becomes the tool's one-line error.
class CFirstErrorReporter : public IErrorReporter {
public:
    void ReportError(const CException& error) override {
        if (message.empty()) {
            message = error.GetErrorMessage();
        }
    }
    std::string message;
};

// The archive of a state given on the command line: its code or its name, in any case.
std::string StateCode(std::string_view option, const std::string& text) {
    if (const auto row = CPlaceService::StateFromText(text)) {
        return std::string(row->code);
    }
    throw CCliError(std::string(option) + ": '" + PrintableArgument(text) +
                    "' is not a state or possession (a code such as TX, PR, GU, or a name)");
}

void Load(const std::string& code, CPlaceService& places, CTimeZoneList& list) {
    CNullArchiveSink sink;
    CFirstErrorReporter reporter;
    try {
        places.LoadState(code, list, sink, reporter);
    } catch (const CException& e) {
        throw CCliError(e.GetErrorMessage());
    }
    if (!reporter.message.empty()) {
        throw CCliError(reporter.message);
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

// Several places answer: the short list goes with the error, unless --first takes the first.
[[noreturn]] void ThrowChoices(const std::string& option, const std::string& typed,
                               const std::vector<CPlace>& choices) {
    std::string message = option + ": " + std::to_string(choices.size()) + " places match '" +
                          PrintableArgument(typed) +
                          "'; give --first, or --state and --zip to choose one:";
    constexpr std::size_t kShown = 10;  // a short list: the state and zip narrow it further
    for (std::size_t i = 0; i < choices.size() && i < kShown; ++i) {
        const CPlace& p = choices[i];
        message += "\n  " + Windows1252ToPrintable(p.record.m_strCity) + ", " + p.state + ", " +
                   Windows1252ToPrintable(p.record.m_strZipCode) + ", " +
                   Windows1252ToPrintable(p.record.m_strCounty);
    }
    if (choices.size() > kShown) {
        message += "\n  ... and " + std::to_string(choices.size() - kShown) + " more";
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

// The place of a zip code: in one state, or in every state that has it.
std::vector<CPlace> ZipPlaces(CPlaceService& places, const std::optional<std::string>& code,
                              const std::string& zip) {
    if (!code) {
        auto found = places.FindZipNationwide(zip);
        if (found.empty()) {
            throw CCliError("--zip: no place has the zip code '" + PrintableArgument(zip) + "'");
        }
        return found;
    }
    CTimeZoneList list;
    Load(*code, places, list);
    const auto record = CPlaceService::FindByZip(list, zip);
    if (!record) {
        throw CCliError("--zip: no place in " + *code + " has the zip code '" +
                        PrintableArgument(zip) + "'");
    }
    return {places.MakePlace(*code, *record)};
}

// The places of a city: with a state, its exact city-list text or name first (of several
// places of that name the first in the file, the others named in `notes`); then, and without a
// state, every place whose folded name equals the typed one.
std::vector<CPlace> CityPlaces(CPlaceService& places, const std::optional<std::string>& code,
                               const std::string& typed, std::string& notes) {
    const std::string city = TypedName(typed);
    std::optional<CPlaceIndex> stateIndex;
    if (code) {
        CTimeZoneList list;
        Load(*code, places, list);
        if (const auto record = CPlaceService::FindByCityEntry(list, city)) {
            return {places.MakePlace(*code, *record)};
        }
        const std::vector<CTimeZoneData> named = CPlaceService::FindByCityName(list, city);
        if (!named.empty()) {
            if (named.size() > 1) {
                notes += kProgram;
                notes += ": " + std::to_string(named.size() - 1) + " other place" +
                         (named.size() > 2 ? "s" : "") + " named " + Windows1252ToPrintable(city) +
                         " in " + *code + ", zip code" + (named.size() > 2 ? "s:" : ":");
                for (std::size_t i = 1; i < named.size(); ++i) {
                    notes += (i > 1 ? ", " : " ") + Windows1252ToPrintable(named[i].m_strZipCode);
                }
                notes += "\n";
            }
            return {places.MakePlace(*code, named.front())};
        }
        std::vector<CIndexedPlace> own;
        for (const CTimeZoneData& record : list) {
            own.push_back({*code, record, PlaceNameKey(record.m_strCity)});
        }
        std::reverse(own.begin(), own.end());
        stateIndex = CPlaceIndex::FromPlaces(std::move(own));
    }
    const CPlaceIndex& index = stateIndex ? *stateIndex : places.Index();
    const std::string key = PlaceNameKey(city);
    std::vector<CPlace> found;
    for (const std::size_t i : index.FindCity(key)) {
        found.push_back(places.MakePlace(index[i].state, index[i].record));
    }
    if (found.empty()) {
        throw CCliError("--city: no place" + (code ? " in " + *code : std::string()) +
                        " is called '" + PrintableArgument(typed) + "'" +
                        DidYouMean(index.Suggest(key, 5)));
    }
    return found;
}

}  // namespace

std::string ResolvePlace(CCliOptions& options, std::string& notes) {
    const CPlaceOptions& place = options.place;
    CPlaceService places(ArchiveDirectory(place));
    std::optional<std::string> code;
    if (place.state) {
        code = StateCode("--state", *place.state);
    }
    const std::vector<CPlace> found = place.zip ? ZipPlaces(places, code, *place.zip)
                                                : CityPlaces(places, code, *place.city, notes);
    if (found.size() > 1 && !place.first) {
        ThrowChoices(place.zip ? "--zip" : "--city", place.zip ? *place.zip : *place.city, found);
    }
    const CPlace& chosen = found.front();

    options.latitude = chosen.latitude;
    options.longitude = chosen.longitude;
    options.offset = chosen.offset;
    const std::string city = Windows1252ToPrintable(chosen.record.m_strCity);
    if (!chosen.observesDst && options.dst) {
        options.dst = false;
        notes += std::string(kProgram) + ": " + city +
                 " keeps standard time all year: no daylight-saving hour added\n";
    }
    // Daylight saving follows the date on the place's own clock unless the command line fixes
    // the tick; without a known zone the place keeps the fixed behaviour and says so.
    if (!options.zone && !options.dst && !options.noDst) {
        if (chosen.zone) {
            options.zone = CZoneClock::Load(*chosen.zone);
        }
        if (!options.zone && chosen.observesDst) {
            notes += std::string(kProgram) + ": the time zone of " + city +
                     " is unknown here: no daylight-saving hour added (--dst adds it)\n";
        }
    }
    if (options.format != CliFormat::Text) {
        return {};  // CSV, JSON and iCalendar files stand alone
    }
    std::string zoneText;
    if (options.zone && options.date) {
        const CClockOnDate clock = ClockChoiceOf(options).OnDate(*options.date);
        zoneText = " (" + options.zone->Name() + ", " + clock.abbreviation + ", " +
                   FormatUtcOffset(clock.utcOffsetSeconds) + " on this date)";
    }
    return "City Name: " + city + "\n" +
           "County Name: " + Windows1252ToPrintable(chosen.record.m_strCounty) + "\n" +
           "Latitude: " + daybreak::FormatDoubleText(*options.latitude) + "\n" +
           "Longitude: " + daybreak::FormatDoubleText(*options.longitude) + "\n" +
           "Time Zone: " + daybreak::FormatFloatText(*options.offset) + zoneText + "\n";
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
    Load(code, places, list);
    text = Lines(zips ? CPlaceService::ZipEntries(list) : CPlaceService::CityEntries(list));
    return 0;
}
