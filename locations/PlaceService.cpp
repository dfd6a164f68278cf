#include "PlaceService.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "DataFile.h"
#include "EntryOrder.h"
#include "ErrorReporter.h"
#include "Exception.h"
#include "File.h"
#include "ModulePath.h"
#include "PlaceFinder.h"
#include "PlaceIndex.h"
#include "PlaceName.h"
#include "PlaceNamesFile.h"
#include "Windows1252.h"
#include "WorldPlaces.h"
#include "ZoneClock.h"
#include "ZoneMap.h"

namespace {

// One entry per record in the window's list order: a stable sort of the file's order keeps
// equal texts as the window's lists do.
template <typename MakeEntry>
std::vector<std::string> Sorted(const CTimeZoneList& list, MakeEntry makeEntry) {
    std::vector<std::string> entries;
    entries.reserve(list.GetCount());
    for (const CIndexedPlace& place : CPlaceIndex::PlacesOf({}, list)) {
        entries.push_back(makeEntry(place.record));
    }
    std::stable_sort(
        entries.begin(), entries.end(),
        [](const std::string& a, const std::string& b) { return EntrySortsBefore(a, b); });
    return entries;
}

// Sorts what a search meets into failures and notes; a missing archive may be no failure.
class CSearchReporter : public IErrorReporter {
public:
    CSearchReporter(CPlaceSearch& search, bool missingIsFine)
        : m_search(search), m_missingIsFine(missingIsFine) {}
    void ReportError(const CException& error) override {
        const auto* file = dynamic_cast<const CFileException*>(&error);
        if (dynamic_cast<const CArchiveNote*>(&error) != nullptr) {
            m_search.notes.push_back(error.GetErrorMessage());
        } else if (!m_missingIsFine || file == nullptr ||
                   file->m_cause != CFileException::fileNotFound) {
            m_search.failures.push_back(error.GetErrorMessage());
        }
    }

private:
    CPlaceSearch& m_search;
    bool m_missingIsFine;
};

// The date on which a zone's standard offset is compared with a record's: the archives
// describe the zones as they are now, and zones have moved (most of Indiana kept Eastern time
// without daylight saving until 2006).
constexpr CCivilDate kZoneCheckDate{2024, 1, 15};

// The nearest distinct names to a key, as records stream past: at most `limit`, nearest
// first, then by key; of one key, the name of its first record.
class CNearNames {
public:
    CNearNames(std::string_view key, std::size_t limit)
        : m_key(key), m_limit(limit), m_allowed(std::max<std::size_t>(1, key.size() / 3)) {}
    void Offer(const std::string& key, const std::string& name) {
        if (m_limit == 0 || m_seen.count(key) != 0) {
            return;
        }
        const std::size_t distance = EditDistance(m_key, key, m_allowed);
        if (distance > m_allowed) {
            return;
        }
        if (m_near.size() == m_limit && !(std::make_pair(distance, key) < m_near.rbegin()->first)) {
            return;
        }
        m_seen.insert(key);
        m_near.emplace(std::make_pair(distance, key), name);
        if (m_near.size() > m_limit) {
            m_seen.erase(m_near.rbegin()->first.second);
            m_near.erase(std::prev(m_near.end()));
        }
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : m_near) {
            names.push_back(entry.second);
        }
        return names;
    }

private:
    std::string m_key;
    std::size_t m_limit;
    std::size_t m_allowed;  // a third of the name may be wrong, and at least one letter
    std::map<std::pair<std::size_t, std::string>, std::string> m_near;
    std::set<std::string> m_seen;  // the keys in m_near
};

}  // namespace

CPlaceService::CPlaceService(std::filesystem::path archives) : m_archives(std::move(archives)) {}

CPlaceService::~CPlaceService() = default;

std::optional<CStateRow> CPlaceService::StateFromText(std::string_view text) {
    for (const CStateRow& row : g_StateTable) {
        if (EqualsIgnoringCase(row.code, text) || EqualsIgnoringCase(row.name, text)) {
            return row;
        }
    }
    return std::nullopt;
}

std::optional<CStateRow> CPlaceService::StateFromTyped(std::string_view typed) {
    if (typed.empty()) {
        return std::nullopt;
    }
    for (const CStateRow& row : g_StateTable) {
        if (EqualsIgnoringCase(row.code, typed)) {
            return row;
        }
    }
    for (const CStateRow& row : g_StateTable) {
        if (StartsWithIgnoringCase(row.name, typed)) {
            return row;
        }
    }
    return std::nullopt;
}

std::string CPlaceService::StateCodeFromName(std::string_view name) {
    for (const CStateRow& row : g_StateTable) {
        if (row.name == name) {
            return std::string(row.code);
        }
    }
    return {};
}

void CPlaceService::LoadState(const std::string& code, CTimeZoneList& list, IStateArchiveSink& sink,
                              IErrorReporter& reporter) {
    LoadStateArchive(code, list, sink, reporter, m_archives, ZoneCheck(code));
}

std::optional<int> CPlaceService::StandardOffset(std::string_view zone) {
    auto it = m_standardOffsets.find(zone);
    if (it == m_standardOffsets.end()) {
        std::optional<int> offset;
        if (const auto clock = CZoneClock::Load(std::string(zone))) {
            const float west = clock->OnDate(kZoneCheckDate).offset;
            // A zone a fraction of an hour off keeps an offset no record can hold.
            offset = std::nearbyint(west) == west ? static_cast<int>(west) : 99;
        }
        it = m_standardOffsets.emplace(std::string(zone), offset).first;
    }
    return it->second;
}

RecordCheck CPlaceService::ZoneCheck(const std::string& state) {
    const CZoneTable& zones = Zones(state);
    if (zones.Size() == 0) {
        return {};  // no zones known: nothing to check, and no cost per record
    }
    // A state has a few zone names: each one's offset is looked up once per load, by the
    // address of the name the table keeps.
    std::vector<std::pair<const char*, std::optional<int>>> offsets;
    std::size_t hint = 0;
    return [this, &zones, offsets, hint](const CTimeZoneData& record) mutable -> std::string {
        const auto zone = zones.Find(record.m_strZipCode, hint);
        if (!zone) {
            return {};
        }
        auto it = std::find_if(offsets.begin(), offsets.end(),
                               [&zone](const auto& known) { return known.first == zone->data(); });
        if (it == offsets.end()) {
            offsets.emplace_back(zone->data(), StandardOffset(*zone));
            it = std::prev(offsets.end());
        }
        const std::optional<int> standard = it->second;
        if (!standard || *standard == record.m_nTimeZone) {
            return {};  // a zone the system lacks is "zone unknown" later, not a contradiction
        }
        return "its zone " + std::string(*zone) + " keeps " + FormatUtcOffset(-*standard * 3600) +
               " as standard time, the record " + FormatUtcOffset(-record.m_nTimeZone * 3600);
    };
}

std::vector<std::string> CPlaceService::ZipEntries(const CTimeZoneList& list) {
    return Sorted(list, [](const CTimeZoneData& record) { return record.ZipEntry(); });
}

std::vector<std::string> CPlaceService::CityEntries(const CTimeZoneList& list) {
    return Sorted(list, [](const CTimeZoneData& record) { return record.CityEntry(); });
}

std::optional<CTimeZoneData> CPlaceService::FindByZip(const CTimeZoneList& list,
                                                      std::string_view zip) {
    return list.FindByZip(zip);
}

std::optional<CTimeZoneData> CPlaceService::FindByCityEntry(const CTimeZoneList& list,
                                                            std::string_view entry) {
    return list.FindByCityEntry(entry);
}

std::vector<CTimeZoneData> CPlaceService::FindByCityName(const CTimeZoneList& list,
                                                         std::string_view city) {
    const CPlaceIndex index = CPlaceIndex::FromList({}, list);
    std::vector<CTimeZoneData> found;
    for (const std::size_t i : index.FindCity(PlaceNameKey(city))) {
        if (index[i].record.m_strCity == city) {
            found.push_back(index[i].record);
        }
    }
    return found;
}

double CPlaceService::WestPositiveLongitude(double storedLongitude) {
    return 0.0 - storedLongitude;  // 0.0 - 0.0 is +0, where -1.0 * 0.0 would print "-0"
}

CPlace CPlaceService::MakePlace(const std::string& state, const CTimeZoneData& record) {
    CPlace place;
    place.state = state;
    place.record = record;
    place.latitude = record.m_dLatitude;
    place.longitude = WestPositiveLongitude(record.m_dLongitude);
    place.offset = static_cast<float>(record.m_nTimeZone);
    place.observesDst = record.m_strDST != "N";
    if (const auto zone = Zones(state).Find(record.m_strZipCode)) {
        place.zone = std::string(*zone);
    }
    return place;
}

const CZoneTable& CPlaceService::Zones(const std::string& state) {
    auto it = m_zones.find(state);
    if (it == m_zones.end()) {
        it = m_zones.emplace(state, CZoneTable::Parse(ZoneFileBytes(), state)).first;
    }
    return it->second;
}

const std::string& CPlaceService::ZoneFileBytes() {
    if (!m_zoneBytes) {
        CCollectingErrorReporter problems;
        m_zoneBytes = ReadZoneFile(m_archives, problems);
        m_zoneProblem = problems.First();
    }
    return *m_zoneBytes;
}

std::vector<CPlace> CPlaceService::FindZipNationwide(std::string_view zip) {
    return FindZip(zip, std::nullopt, static_cast<std::size_t>(-1)).places;
}

void CPlaceService::Stream(const std::string& state, const RecordTake& take, CPlaceSearch& search,
                           bool missingIsFine) {
    CSearchReporter reporter(search, missingIsFine);
    CFile file;
    if (!OpenStateArchive(state, file, reporter, m_archives)) {
        return;
    }
    try {
        ReadStateArchiveRecords(file, take, reporter, ZoneCheck(state));
        file.Close();
    } catch (const CFileException& e) {
        search.failures.push_back(e.GetErrorMessage());  // a read error of the device
    }
}

CPlaceSearch CPlaceService::FindZip(std::string_view zip, const std::optional<std::string>& state,
                                    std::size_t keep) {
    CPlaceSearch search;
    const auto lookIn = [&](const std::string& code, bool missingIsFine) {
        // The first record of the zip in the file is the state's place.
        std::optional<CTimeZoneData> first;
        Stream(
            code,
            [&](const CTimeZoneData& record) {
                if (!first && record.m_strZipCode == zip) {
                    first = record;
                }
            },
            search, missingIsFine);
        if (first) {
            if (search.places.size() < keep) {
                search.places.push_back(MakePlace(code, *first));
            }
            ++search.total;
        }
    };
    if (state) {
        lookIn(*state, false);
        return search;
    }
    // The zone file lists every place's zip by state: it names the archives worth opening.
    const std::string& zones = ZoneFileBytes();
    const std::vector<std::string> states = CZoneTable::StatesWithZip(zones, zip);
    const auto named = [&states](const CStateRow& row) {
        return std::find(states.begin(), states.end(), row.code) != states.end();
    };
    for (const CStateRow& row : g_StateTable) {
        if (named(row)) {
            lookIn(std::string(row.code), false);
        }
    }
    if (search.total == 0) {
        // The zone file may be missing, damaged or older than the archives. A whole zone file
        // that does not name a state tells that a missing archive of it has nothing lost.
        const bool zonesKnown = CZoneTable::IsZoneFile(zones);
        for (const CStateRow& row : g_StateTable) {
            if (!named(row)) {
                lookIn(std::string(row.code), zonesKnown);
            }
        }
    }
    return search;
}

CPlaceSearch CPlaceService::FindCity(std::string_view city, const std::optional<std::string>& state,
                                     std::size_t keep) {
    CPlaceSearch search;
    const std::string key = PlaceNameKey(city);
    CNearNames near(key, 5);
    std::optional<CTimeZoneData> entry;  // the exact city-list text, with a state
    std::optional<CTimeZoneData> named;  // the first of the exact name, with a state
    std::string entryText;
    std::string recordKey;
    const auto lookIn = [&](const std::string& code) {
        Stream(
            code,
            [&](const CTimeZoneData& record) {
                if (state) {
                    record.CityEntry(entryText);
                    if (!entry && entryText == city) {
                        entry = record;
                    }
                    if (record.m_strCity == city) {
                        if (!named) {
                            named = record;
                        } else {
                            search.otherZips.push_back(record.m_strZipCode);
                        }
                    }
                }
                recordKey = PlaceNameKey(record.m_strCity);
                if (recordKey == key && !key.empty()) {
                    if (search.places.size() < keep) {
                        search.places.push_back(MakePlace(code, record));
                    }
                    ++search.total;
                } else if (search.total == 0) {
                    near.Offer(recordKey, record.m_strCity);
                }
            },
            search);
    };
    if (state) {
        lookIn(*state);
        if (entry || named) {
            search.places = {MakePlace(*state, entry ? *entry : *named)};
            search.total = 1;
            if (entry) {
                search.otherZips.clear();
            }
            return search;
        }
    } else {
        for (const CStateRow& row : g_StateTable) {
            lookIn(std::string(row.code));
        }
    }
    search.otherZips.clear();
    if (search.total == 0) {
        search.suggestions = near.Names();
    }
    return search;
}

std::string CPlaceService::ZoneProblem(const std::string& state) {
    ZoneFileBytes();
    return m_zoneProblem.empty() ? Zones(state).Problem() : m_zoneProblem;
}

const CPlaceIndex& CPlaceService::Index() {
    if (!m_index) {
        m_index = std::make_unique<CPlaceIndex>(CPlaceIndex::Build(m_archives));
    }
    return *m_index;
}

// Never more: the names file of every US and world town is a few megabytes.
constexpr std::uintmax_t kMaxNamesFileBytes = 64u << 20;

const CPlaceFinder& CPlaceService::Finder() {
    if (m_finder) {
        return *m_finder;
    }
    CWorldPlaces world = CWorldPlaces::Load(m_archives);
    if (!m_index) {
        const std::vector<std::uint64_t> sizes = ArchiveSizes(m_archives);
        if (std::find(sizes.begin(), sizes.end(), 0) == sizes.end()) {
            CCollectingErrorReporter missing;  // then the finder is built as without the file
            auto bytes = std::make_shared<const CFileBytes>(MapDataFile(
                (m_archives.empty() ? GetExecutableDirectory() : m_archives) / kPlaceNamesFileName,
                kMaxNamesFileBytes, "the place names", missing));
            if (auto read = CPlaceNamesFile::Decode(std::move(bytes), world, sizes)) {
                m_finder = std::make_unique<CPlaceFinder>(std::move(*read));
                return *m_finder;
            }
        }
    }
    m_finder = std::make_unique<CPlaceFinder>(CPlaceFinder::Build(Index(), std::move(world)));
    return *m_finder;
}

const std::vector<std::string>& CPlaceService::FinderProblems() {
    static const std::vector<std::string> none;
    return m_index ? m_index->Problems() : none;
}

std::vector<std::uint64_t> CPlaceService::ArchiveSizes(const std::filesystem::path& directory) {
    const std::filesystem::path dir = directory.empty() ? GetExecutableDirectory() : directory;
    std::vector<std::uint64_t> sizes;
    for (const CStateRow& row : g_StateTable) {
        std::error_code error;
        const std::uintmax_t size =
            std::filesystem::file_size(dir / StateArchiveFileName(std::string(row.code)), error);
        sizes.push_back(error ? 0 : size);
    }
    return sizes;
}

CTimeZoneData CPlaceService::RecordAt(std::size_t position, const std::string& state) {
    if (!m_index) {
        // The finder came from the names file: the state's archive alone holds the record.
        std::size_t row = 0;
        while (row < g_StateTable.size() && g_StateTable[row].code != state) {
            ++row;
        }
        const CPlaceFinder::StateSpan span = Finder().SpanOf(row);
        auto [it, added] = m_stateRecords.try_emplace(state);
        if (added) {
            CTimeZoneList list;
            CNullArchiveSink sink;
            CCollectingErrorReporter problems;
            try {
                LoadStateArchive(state, list, sink, problems, m_archives);
            } catch (const CException&) {
                list.RemoveAll();  // then the index decides, and reports
            }
            if (problems.Messages().empty() && list.GetCount() == span.count) {
                for (CIndexedPlace& place : CPlaceIndex::PlacesOf(state, list)) {
                    it->second.push_back(std::move(place.record));
                }
            }
        }
        if (it->second.size() == span.count && position >= span.first &&
            position - span.first < span.count) {
            return it->second[position - span.first];
        }
    }
    const CPlaceIndex& index = Index();
    return position < index.Size() ? index[position].record : CTimeZoneData{};
}

CPlaceClock ClockOfPlace(const CPlace& place, bool dateDecidesDst, bool zoneAllYear) {
    CPlaceClock clock;
    clock.standardAllYear = !place.observesDst;
    if (dateDecidesDst && place.zone && (place.observesDst || zoneAllYear)) {
        clock.kind = CPlaceClock::Kind::Zone;
        clock.zone = *place.zone;
    } else if (dateDecidesDst && place.observesDst) {
        clock.kind = CPlaceClock::Kind::ZoneUnknown;
    }
    return clock;
}

std::optional<CZoneStandard> ZoneStandard(const std::string& zone) {
    const auto clock = CZoneClock::Load(zone);
    if (!clock) {
        return std::nullopt;
    }
    const CClockOnDate winter = clock->OnDate(kZoneCheckDate);
    const CClockOnDate summer = clock->OnDate({kZoneCheckDate.year, 7, 15});
    return CZoneStandard{winter.offset, winter.dst != 0 || summer.dst != 0};
}

namespace {

// UTF-8 in the archives' code page; a character it lacks becomes '?'.
std::string Narrow(std::string_view utf8) {
    try {
        return Utf8ToWindows1252(utf8);
    } catch (const CEncodingError&) {
        std::string text;
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            const auto c = static_cast<unsigned char>(utf8[i]);
            if (c < 0x80) {
                text += static_cast<char>(c);
            } else if (c >= 0xC0) {
                std::size_t end = i + 1;
                while (end < utf8.size() &&
                       (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) {
                    ++end;
                }
                try {
                    text += Utf8ToWindows1252(utf8.substr(i, end - i));
                } catch (const CEncodingError&) {
                    text += '?';
                }
                i = end - 1;
            }
        }
        return text;
    }
}

}  // namespace

CPlace CPlaceService::PlaceOf(const CFoundPlace& found) {
    CPlace place;
    if (found.IsUsTown()) {
        place = MakePlace(found.state, RecordAt(found.zips.front(), found.state));
    } else {
        place.world = true;
        place.state = found.state;
        place.record.m_strCity = Narrow(found.name);
        place.record.m_strState = found.state;
        place.record.m_strCounty =
            Narrow(found.region.empty() ? found.country : found.region + ", " + found.country);
        place.record.m_strZipCode.clear();
        place.zone = found.zone;
        const auto standard = ZoneStandard(found.zone);
        place.offset = standard ? standard->offset : 0.0f;
        place.observesDst = standard && standard->observesDst;
        place.record.m_nTimeZone = static_cast<std::int32_t>(place.offset);
        place.record.m_strDST = place.observesDst ? "Y" : "N";
    }
    place.latitude = found.latitude;
    place.longitude = found.longitude;
    place.record.m_dLatitude = found.latitude;
    place.record.m_dLongitude = 0.0 - found.longitude;
    return place;
}

std::optional<std::string> CPlaceService::ZoneOfPoint(double latitude, double westLongitude) {
    if (!m_zoneMap) {
        m_zoneMap = std::make_unique<CZoneMap>(CZoneMap::Load(m_archives));
    }
    if (const auto zone = m_zoneMap->Find(latitude, 0.0 - westLongitude)) {
        return std::string(*zone);
    }
    return std::nullopt;
}

std::string CPlaceService::ZoneMapProblem() {
    if (!m_zoneMap) {
        m_zoneMap = std::make_unique<CZoneMap>(CZoneMap::Load(m_archives));
    }
    return m_zoneMap->Problem();
}
