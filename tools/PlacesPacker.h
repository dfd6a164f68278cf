// Packs the place list (data/places.tsv) into the state archives "timezone.arc." + code.
//
// The list is UTF-8 text: a header line, then one record per line, ten tab-separated fields in
// record order (city, state, zip code, area code, county code, county, daylight-saving flag,
// latitude, longitude, offset). Strings are converted to Windows-1252; a character that code
// page lacks, malformed UTF-8, a field count other than ten, a number that does not parse or a
// state outside the given codes is an error that names the line. Nothing is written unless the
// whole list is sound, and an archive appears under its final name only once it is complete.
#pragma once

#include <cstddef>
#include <filesystem>
#include <istream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "Exception.h"
#include "TimeZone.h"
#include "ZoneFile.h"

class CPackError : public CMessageException {
public:
    CPackError(std::size_t line, const std::string& message);
    std::size_t m_line;  // 1-based line of the list, 0 when no single line is at fault
};

// One record line (without its line break) to a record. `line` is used in error messages.
CTimeZone ParsePlaceLine(std::string_view text, std::size_t line);

// Reads the whole list, header included, and groups the records by state code, in list order.
// Every code of `codes` must receive at least one record.
std::map<std::string, std::vector<CTimeZone>> ReadPlaces(std::istream& in,
                                                         const std::vector<std::string>& codes);

// Writes "timezone.arc." + code into `directory` for every code of `places`, each file holding
// its records back to back in list order. Returns the number of records written.
std::size_t WriteArchives(const std::map<std::string, std::vector<CTimeZone>>& places,
                          const std::filesystem::path& directory);

// Reads the zone list (a header line, then "zip<TAB>state<TAB>zone" lines) and matches it to
// `places`: every place must have exactly one zone, and every zone a place. Returns the
// entries grouped by state in the order of `places`.
std::vector<CZoneEntry> ReadZones(std::istream& in,
                                  const std::map<std::string, std::vector<CTimeZone>>& places);

// Writes kZoneFileName into `directory`, under its final name only once it is complete.
void WriteZoneFile(const std::vector<CZoneEntry>& zones, const std::filesystem::path& directory);

// Writes a packed data file whole or not at all (ReplaceFileContent); CPackError on failure.
void WritePackedFile(const std::filesystem::path& target, std::string_view bytes);
