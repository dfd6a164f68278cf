#include "PlacesPacker.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <set>
#include <system_error>

#include "Archive.h"
#include "DataFile.h"
#include "File.h"
#include "ReplaceFile.h"
#include "StateArchive.h"
#include "Windows1252.h"

namespace {

constexpr std::size_t kFieldCount = 10;

std::vector<std::string_view> SplitTabs(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = text.find('\t', start);
        fields.push_back(text.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

std::string Narrow(std::string_view field, std::string_view name, std::size_t line) {
    try {
        return Utf8ToWindows1252(field);
    } catch (const CEncodingError& error) {
        throw CPackError(line,
                         std::string(name) + " \"" + std::string(field) + "\": " + error.what());
    }
}

template <typename Number>
Number ParseNumber(std::string_view field, std::string_view name, std::size_t line) {
    Number value{};
    const char* const end = field.data() + field.size();
    const auto [ptr, ec] = std::from_chars(field.data(), end, value);
    if (field.empty() || ec != std::errc() || ptr != end) {
        throw CPackError(line,
                         std::string(name) + " \"" + std::string(field) + "\" is not a number");
    }
    return value;
}

}  // namespace

CPackError::CPackError(std::size_t line, const std::string& message)
    : CMessageException(line == 0 ? message : "line " + std::to_string(line) + ": " + message),
      m_line(line) {}

CTimeZone ParsePlaceLine(std::string_view text, std::size_t line) {
    if (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
    }
    const std::vector<std::string_view> fields = SplitTabs(text);
    if (fields.size() != kFieldCount) {
        throw CPackError(line, "expected " + std::to_string(kFieldCount) +
                                   " tab-separated fields, found " + std::to_string(fields.size()));
    }
    CTimeZone record;
    record.m_strCity = Narrow(fields[0], "city", line);
    record.m_strState = Narrow(fields[1], "state", line);
    record.m_strZipCode = Narrow(fields[2], "zip code", line);
    record.m_strAreaCode = Narrow(fields[3], "area code", line);
    record.m_strCountyCode = Narrow(fields[4], "county code", line);
    record.m_strCounty = Narrow(fields[5], "county", line);
    record.m_strDST = Narrow(fields[6], "daylight-saving flag", line);
    record.m_dLatitude = ParseNumber<double>(fields[7], "latitude", line);
    record.m_dLongitude = ParseNumber<double>(fields[8], "longitude", line);
    record.m_nTimeZone = ParseNumber<std::int32_t>(fields[9], "time-zone offset", line);
    return record;
}

std::map<std::string, std::vector<CTimeZone>> ReadPlaces(std::istream& in,
                                                         const std::vector<std::string>& codes) {
    std::map<std::string, std::vector<CTimeZone>> places;
    for (const std::string& code : codes) {
        places[code];
    }
    std::string text;
    std::size_t line = 0;
    bool header = true;
    while (std::getline(in, text)) {
        ++line;
        if (header) {
            header = false;
            continue;
        }
        if (text.empty() || text == "\r") {
            continue;
        }
        CTimeZone record = ParsePlaceLine(text, line);
        const auto state = places.find(record.m_strState);
        if (state == places.end()) {
            throw CPackError(line, "state \"" + record.m_strState + "\" is not one of the " +
                                       std::to_string(codes.size()) + " codes");
        }
        state->second.push_back(std::move(record));
    }
    if (in.bad()) {
        throw CPackError(0, "the place list could not be read");
    }
    if (header) {
        throw CPackError(0, "the place list is empty");
    }
    for (const auto& [code, records] : places) {
        if (records.empty()) {
            throw CPackError(0, "no place has the state code " + code);
        }
    }
    return places;
}

std::size_t WriteArchives(const std::map<std::string, std::vector<CTimeZone>>& places,
                          const std::filesystem::path& directory) {
    std::size_t written = 0;
    for (const auto& [code, records] : places) {
        const std::filesystem::path target = directory / StateArchiveFileName(code);
        std::filesystem::path partial = target;
        partial += ".partial";
        try {
            CFile file(partial.string(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
            CArchive ar(&file, CArchive::store);
            for (const CTimeZone& record : records) {
                // Serialize takes a non-const record; the copy keeps `places` untouched.
                CTimeZone copy = record;
                copy.Serialize(ar);
            }
            ar.Close();
            file.Close();
            std::filesystem::rename(partial, target);
        } catch (...) {
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            throw;
        }
        written += records.size();
    }
    return written;
}

std::vector<CZoneEntry> ReadZones(std::istream& in,
                                  const std::map<std::string, std::vector<CTimeZone>>& places) {
    // state -> zip -> zone
    std::map<std::string, std::map<std::string, std::string>> zones;
    std::string text;
    std::size_t line = 0;
    while (std::getline(in, text)) {
        if (++line == 1 || text.empty() || text == "\r") {
            continue;
        }
        if (text.back() == '\r') {
            text.pop_back();
        }
        const std::vector<std::string_view> fields = SplitTabs(text);
        if (fields.size() != 3) {
            throw CPackError(line, "expected zip, state and zone, found " +
                                       std::to_string(fields.size()) + " fields");
        }
        const std::string zip(fields[0]), state(fields[1]), zone(fields[2]);
        if (!zones[state].emplace(zip, zone).second) {
            throw CPackError(line, "zip " + zip + " of " + state + " has a zone already");
        }
    }
    if (in.bad()) {
        throw CPackError(0, "the zone list could not be read");
    }
    std::vector<CZoneEntry> entries;
    for (const auto& [code, records] : places) {
        auto& own = zones[code];
        for (const CTimeZone& record : records) {
            const auto zone = own.find(record.m_strZipCode);
            if (zone == own.end()) {
                throw CPackError(0, "no zone for " + code + " " + record.m_strZipCode);
            }
            entries.push_back({code, record.m_strZipCode, zone->second});
            own.erase(zone);
        }
    }
    for (const auto& [code, left] : zones) {
        if (!left.empty()) {
            throw CPackError(
                0, "zone for " + code + " " + left.begin()->first + ", which is no place");
        }
    }
    return entries;
}

void WritePackedFile(const std::filesystem::path& target, std::string_view bytes) {
    try {
        ReplaceFileContent(target.string(), bytes);
    } catch (const CMessageException& error) {
        throw CPackError(0, error.what());
    }
}

void WriteZoneFile(const std::vector<CZoneEntry>& zones, const std::filesystem::path& directory) {
    std::string bytes;
    try {
        bytes = EncodeZoneFile(zones);
    } catch (const CDataEncodeError& error) {
        throw CPackError(0, error.what());
    }
    WritePackedFile(directory / kZoneFileName, bytes);
}
