#include "PlaceCommands.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <vector>

#include "ArchiveDump.h"
#include "EntryOrder.h"
#include "ErrorReporter.h"
#include "Exception.h"
#include "File.h"
#include "StateArchive.h"
#include "StateTable.h"
#include "TimeZoneList.h"
#include "Windows1252.h"

namespace {

constexpr const char* kProgram = "daybreak-cli";

// The tool keeps no entry texts while loading: the listings are made from the location list
// afterwards, which keeps the memory of a load to the list's own.
class CNullSink : public IStateArchiveSink {
public:
    void ResetZipList() override {}
    void ResetCityList() override {}
    void AddZipEntry(const std::string&) override {}
    void AddCityEntry(const std::string&) override {}
};

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

// The archive of a state code given on the command line; the code is taken in either case.
std::string StateCode(std::string_view option, const std::string& text) {
    std::string code = text;
    for (char& c : code) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    if (std::any_of(g_StateTable.begin(), g_StateTable.end(),
                    [&code](const CStateRow& row) { return row.code == code; })) {
        return code;
    }
    throw CCliError(std::string(option) + ": '" + text +
                    "' is not the code of a state or possession (e.g. TX, PR, GU)");
}

void Load(const std::string& code, const CPlaceOptions& place, CTimeZoneList& list) {
    CNullSink sink;
    CFirstErrorReporter reporter;
    try {
        LoadStateArchive(
            code, list, sink, reporter,
            place.archives ? std::filesystem::path(*place.archives) : std::filesystem::path());
    } catch (const CException& e) {
        throw CCliError(e.GetErrorMessage());
    }
    if (!reporter.message.empty()) {
        throw CCliError(reporter.message);
    }
}

// The order of the window's lists (see EntryOrder.h): the entries in the file's order (the
// list runs backwards), then a stable sort, which keeps equal texts in that order.
std::string SortedLines(std::vector<std::string> entries) {
    std::reverse(entries.begin(), entries.end());
    std::stable_sort(
        entries.begin(), entries.end(),
        [](const std::string& a, const std::string& b) { return EntrySortsBefore(a, b); });
    std::string text;
    for (const std::string& entry : entries) {
        text += Windows1252ToPrintable(entry);
        text += '\n';
    }
    return text;
}

// Numbers as the window's edit fields show them: 15 significant digits for a double, 6 for a
// float, no trailing zeros.
std::string DoubleText(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

std::string FloatText(float value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.6g", static_cast<double>(value));
    return text;
}

}  // namespace

std::string ResolvePlace(CCliOptions& options, std::string& notes) {
    const CPlaceOptions& place = options.place;
    const std::string code = StateCode("--state", *place.state);
    CTimeZoneList list;
    Load(code, place, list);

    std::optional<CTimeZoneData> record;
    if (place.zip) {
        record = list.FindByZip(*place.zip);
        if (!record) {
            throw CCliError("--zip: no place in " + code + " has the zip code '" + *place.zip +
                            "'");
        }
    } else {
        std::string city;
        try {
            city = Utf8ToWindows1252(*place.city);
        } catch (const CEncodingError&) {
            city.clear();  // no archive text can hold it: it matches nothing below
        }
        record = city.empty() ? std::nullopt : list.FindByCityEntry(city);
        if (!record && !city.empty()) {
            // A bare name: the list runs from the file's last record to its first.
            std::vector<const CTimeZoneData*> matches;
            for (const CTimeZoneData& r : list) {
                if (r.m_strCity == city) {
                    matches.push_back(&r);
                }
            }
            std::reverse(matches.begin(), matches.end());  // the file's order
            if (!matches.empty()) {
                record = *matches.front();
                if (matches.size() > 1) {
                    notes += kProgram;
                    notes += ": " + std::to_string(matches.size() - 1) + " other place" +
                             (matches.size() > 2 ? "s" : "") + " named " +
                             Windows1252ToPrintable(city) + " in " + code + ", zip code";
                    notes += matches.size() > 2 ? "s:" : ":";
                    for (std::size_t i = 1; i < matches.size(); ++i) {
                        notes +=
                            (i > 1 ? ", " : " ") + Windows1252ToPrintable(matches[i]->m_strZipCode);
                    }
                    notes += "\n";
                }
            }
        }
        if (!record) {
            throw CCliError("--city: no place in " + code + " is called '" + *place.city + "'");
        }
    }

    options.latitude = record->m_dLatitude;
    options.longitude = record->m_dLongitude * -1.0;  // stored east positive, shown west positive
    options.offset = static_cast<float>(record->m_nTimeZone);
    if (record->m_strDST == "N" && options.dst) {
        options.dst = false;
        notes += std::string(kProgram) + ": " + Windows1252ToPrintable(record->m_strCity) +
                 " keeps standard time all year: no daylight-saving hour added\n";
    }
    if (options.format != CliFormat::Text) {
        return {};  // CSV, JSON and iCalendar files stand alone
    }
    return "City Name: " + Windows1252ToPrintable(record->m_strCity) + "\n" +
           "County Name: " + Windows1252ToPrintable(record->m_strCounty) + "\n" +
           "Latitude: " + DoubleText(*options.latitude) + "\n" +
           "Longitude: " + DoubleText(*options.longitude) + "\n" +
           "Time Zone: " + FloatText(*options.offset) + "\n";
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
    CTimeZoneList list;
    Load(code, place, list);
    std::vector<std::string> entries;
    entries.reserve(list.GetCount());
    for (const CTimeZoneData& record : list) {
        entries.push_back(zips ? record.ZipEntry() : record.CityEntry());
    }
    text = SortedLines(std::move(entries));
    return 0;
}
