// CPlaceService is the one place where the window and daybreak-cli turn a state, a zip code or
// a city into a place: it loads a state's archive, finds records by the rules every lookup
// follows (exact text; of several matching records the first in the archive file decides),
// turns a record into the solar engine's inputs, and finds places nationwide.
//
//     CPlaceService places;                              // archives beside the executable
//     CTimeZoneList list;
//     places.LoadState("TX", list, sink, reporter);
//     if (auto record = CPlaceService::FindByZip(list, "78572")) {
//         const CPlace place = places.MakePlace("TX", *record);
//         // place.latitude 26.2..., place.longitude 98.3... (west positive), place.offset 6,
//         // place.observesDst, place.zone "America/Chicago" when the zone file knows it
//     }
//     for (const CPlace& p : places.FindZipNationwide("78572")) { ... }   // no state needed
//     const CPlaceSearch found = places.FindCity("san antonio", {}, 10);  // streams the archives
//     const CPlaceIndex& index = places.Index();        // every archive, built on first use
//
// Units: latitude degrees north positive; longitude degrees WEST positive (the archives store
// west as negative); offset hours behind UTC, positive west of Greenwich. Texts are
// Windows-1252 bytes. Not thread-safe; one service per thread.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "StateArchive.h"
#include "StateTable.h"
#include "TimeZoneData.h"
#include "TimeZoneList.h"
#include "ZoneFile.h"

class CPlaceFinder;
class CZoneMap;
struct CFoundPlace;
class CPlaceIndex;

// A record with what the solar engine takes from it.
struct CPlace {
    std::string state;       // two-letter code of the archive it came from
    CTimeZoneData record;    // as stored
    double latitude = 0.0;   // north positive
    double longitude = 0.0;  // west positive; a record at 0 gives +0, never "-0"
    float offset = 0.0f;     // hours behind UTC
    // The record's own daylight-saving flag (record.m_strDST) is anything but "N": the place
    // moves its clocks. "N" means standard time all year.
    bool observesDst = true;
    // The place's IANA zone ("America/Chicago") when the zone file beside the archives knows
    // it; nothing when that file is missing or damaged or lacks the place.
    std::optional<std::string> zone;
    // A town of the world file rather than a record of an archive: `record` holds its name
    // (m_strCity) and "region, country" (m_strCounty) in Windows-1252 as far as it can, and
    // `offset` and `observesDst` come from its zone.
    bool world = false;
};

// What a search of the archives found, and what it met on the way. Only the first places are
// kept, so that no archive can make a search hold more than a few places.
struct CPlaceSearch {
    std::vector<CPlace> places;  // the first matches, in the state table's then the file's order
    std::size_t total = 0;       // every match
    // One message per archive that should have been read and could not be (CFileException),
    // and one per problem met inside an archive that was read (CArchiveNote), in order.
    std::vector<std::string> failures;
    std::vector<std::string> notes;
    // A city search: the zip codes of the other places with the same exact name as the one
    // found in the given state, and for no match at all, up to five near names.
    std::vector<std::string> otherZips;
    std::vector<std::string> suggestions;
};

class CPlaceService {
public:
    // `archives`: where the archives and the zone file lie; empty: the executable's directory.
    explicit CPlaceService(std::filesystem::path archives = {});
    ~CPlaceService();
    CPlaceService(const CPlaceService&) = delete;
    CPlaceService& operator=(const CPlaceService&) = delete;

    const std::filesystem::path& ArchiveDirectory() const { return m_archives; }

    // --- States ---
    // The state of a code or a whole name in any case ("tx", "TX", "texas"), or nothing.
    static std::optional<CStateRow> StateFromText(std::string_view text);
    // What the user is typing into the state box: a two-letter code in any case, else the
    // first state whose name starts with `typed` (any case). Nothing for "" or no match.
    static std::optional<CStateRow> StateFromTyped(std::string_view typed);
    // The code of the first row whose name equals `name` exactly (case-sensitive), or "".
    static std::string StateCodeFromName(std::string_view name);

    // --- One state ---
    // Loads the archive of `code` into `list` (which the caller has emptied) and `sink`, with
    // StateArchive.h's order of effects and failure reports. A record whose zone (from the
    // zone file) keeps another standard offset than the record is skipped as CheckRecord's are.
    void LoadState(const std::string& code, CTimeZoneList& list, IStateArchiveSink& sink,
                   IErrorReporter& reporter);
    // The zip-list and city-list entries of `list` in the window's list order (EntryOrder.h).
    static std::vector<std::string> ZipEntries(const CTimeZoneList& list);
    static std::vector<std::string> CityEntries(const CTimeZoneList& list);
    // The record of a zip code or city-list entry ("Mission - 78572"); of several, the first in
    // the file.
    static std::optional<CTimeZoneData> FindByZip(const CTimeZoneList& list, std::string_view zip);
    static std::optional<CTimeZoneData> FindByCityEntry(const CTimeZoneList& list,
                                                        std::string_view entry);
    // Every record whose city equals `city` exactly, in the file's order.
    static std::vector<CTimeZoneData> FindByCityName(const CTimeZoneList& list,
                                                     std::string_view city);

    // --- Engine inputs ---
    // Turns a record of the archive of `state` into the engine's inputs; the zone comes from
    // the zone file (read once per state and kept).
    CPlace MakePlace(const std::string& state, const CTimeZoneData& record);
    // Longitude as the window and the engine take it: west positive, and 0 stays +0.
    static double WestPositiveLongitude(double storedLongitude);

    // --- Nationwide ---
    // The place of `zip` in every state that has it (the first such record of each archive),
    // in the state table's order. The zone file names the states to open, so a lookup reads
    // one archive; without a usable zone file, or when it knows no such zip, every archive is
    // read.
    std::vector<CPlace> FindZipNationwide(std::string_view zip);
    // The same, or of one state's archive, reading each archive as a stream and keeping at most
    // `keep` places; the archives that could not be read are named in `failures`. A state's
    // archive not found is a failure when the state was to be searched: the state was given,
    // the zone file names it for the zip, or the zone file cannot tell.
    CPlaceSearch FindZip(std::string_view zip, const std::optional<std::string>& state,
                         std::size_t keep);
    // The places of a city (`city` in Windows-1252). With a state: its exact city-list text
    // ("Mission - 78572") or exact name first (the first in the file; the other zip codes of
    // that name in `otherZips`), then every place whose folded name (PlaceNameKey) equals the
    // city's. Without a state, the folded name in every archive. No match at all gives up to
    // five near names (those of one state with a state) in `suggestions`.
    CPlaceSearch FindCity(std::string_view city, const std::optional<std::string>& state,
                          std::size_t keep);
    // Why the zone of the places of `state` is unknown ("timezone.zones is missing"), or "".
    std::string ZoneProblem(const std::string& state);
    // The index of every archive's places, built on first use; archives that are missing or
    // unreadable are left out (Index().Problems() names them).
    const CPlaceIndex& Index();
    // The search by name over the archives' towns and the world's, made on first use: read
    // from the names file (kPlaceNamesFileName) when it was built from archives and a world
    // file of the sizes beside it, else built from the index and the world file. Its problems:
    // FinderProblems() and WorldProblem().
    const CPlaceFinder& Finder();
    // The archives the finder was built without (Index().Problems()); none when it was read
    // from the names file, which is made from every archive whole.
    const std::vector<std::string>& FinderProblems();
    // The byte size of each state's archive in `directory` (empty: the executable's), in
    // g_StateTable's order; 0 for one that is missing.
    static std::vector<std::uint64_t> ArchiveSizes(const std::filesystem::path& directory);
    // A found place as the engine takes it: a US town is its first zip code's record at the
    // town's point; a world town takes its zone's standard offset and daylight saving.
    CPlace PlaceOf(const CFoundPlace& found);
    // The IANA zone of any point (longitude WEST positive) from the zone map beside the
    // archives, read on first use; nothing when the map is missing or damaged
    // (ZoneMapProblem() says why).
    std::optional<std::string> ZoneOfPoint(double latitude, double westLongitude);
    std::string ZoneMapProblem();
    // The record at `position` of the index (a CFoundPlace's zips), of `state`: from the index
    // when it is built, else from that state's archive alone, read once; an empty record when
    // there is none.
    CTimeZoneData RecordAt(std::size_t position, const std::string& state);

private:
    const CZoneTable& Zones(const std::string& state);
    // The check of each record of `state` against its zone: "" or why they contradict.
    RecordCheck ZoneCheck(const std::string& state);
    // The zone's standard offset in hours west, as a record holds it; nothing for a zone the
    // system lacks. Looked up once per zone.
    std::optional<int> StandardOffset(std::string_view zone);
    // Streams the archive of `state` through the checks of LoadState into `take`; what it meets
    // goes to `search` (an archive that is missing is no failure when `missingIsFine`).
    void Stream(const std::string& state, const RecordTake& take, CPlaceSearch& search,
                bool missingIsFine = false);
    const std::string& ZoneFileBytes();  // read once; "" when it cannot be read

    std::filesystem::path m_archives;
    std::optional<std::string> m_zoneBytes;
    std::string m_zoneProblem;  // why the zone file could not be read
    std::map<std::string, CZoneTable> m_zones;
    std::map<std::string, std::optional<int>, std::less<>> m_standardOffsets;  // by zone name
    std::unique_ptr<CPlaceIndex> m_index;
    std::unique_ptr<CPlaceFinder> m_finder;
    // The records of the states RecordAt read without the index; none for one that failed.
    std::map<std::string, std::vector<CTimeZoneData>> m_stateRecords;
    std::unique_ptr<CZoneMap> m_zoneMap;
};

// The clock a looked-up place keeps. The window and the tool decide it here alike and differ
// only in the two defaults they pass:
//   dateDecidesDst    whether the date, on the place's zone, decides daylight saving: the tool
//                     unless --dst, --no-dst or --tz fixes the clock; the window when "Daylight
//                     Saving from the Date" is on (off by default)
//   zoneAllYear       whether a place that keeps standard time all year still takes its zone's
//                     clock (the tool, which names the zone) rather than its fixed offset (the
//                     window)
struct CPlaceClock {
    enum class Kind {
        Fixed,        // the offset and the daylight-saving tick as they stand
        Zone,         // the zone `zone` on the date
        ZoneUnknown,  // the date should decide, but no zone is known: the tick stays as it is
    };
    Kind kind = Kind::Fixed;
    std::string zone;
    // The place keeps standard time all year: no daylight-saving hour, whatever is ticked.
    bool standardAllYear = false;
};
CPlaceClock ClockOfPlace(const CPlace& place, bool dateDecidesDst, bool zoneAllYear);

// A zone's standard offset in hours west and whether it keeps daylight saving now; nothing for
// a zone the system lacks.
struct CZoneStandard {
    float offset = 0;
    bool observesDst = false;
};
std::optional<CZoneStandard> ZoneStandard(const std::string& zone);
