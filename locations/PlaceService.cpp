#include "PlaceService.h"

#include <algorithm>

#include "EntryOrder.h"
#include "ErrorReporter.h"
#include "Exception.h"
#include "PlaceIndex.h"

namespace {

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Upper(x) == Upper(y); });
}

// One entry per record in the window's list order. The list runs from the file's last record
// to its first; a stable sort of the file's order keeps equal texts as the window's lists do.
template <typename MakeEntry>
std::vector<std::string> Sorted(const CTimeZoneList& list, MakeEntry makeEntry) {
    std::vector<std::string> entries;
    entries.reserve(list.GetCount());
    for (const CTimeZoneData& record : list) {
        entries.push_back(makeEntry(record));
    }
    std::reverse(entries.begin(), entries.end());
    std::stable_sort(
        entries.begin(), entries.end(),
        [](const std::string& a, const std::string& b) { return EntrySortsBefore(a, b); });
    return entries;
}

class CIgnoringReporter : public IErrorReporter {
public:
    void ReportError(const CException&) override {}
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
        if (typed.size() <= row.name.size() &&
            EqualsIgnoringCase(row.name.substr(0, typed.size()), typed)) {
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
    LoadStateArchive(code, list, sink, reporter, m_archives);
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
    std::vector<CTimeZoneData> found;
    for (const CTimeZoneData& record : list) {
        if (record.m_strCity == city) {
            found.push_back(record);
        }
    }
    std::reverse(found.begin(), found.end());  // the list runs backwards
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
        m_zoneBytes = ReadZoneFile(m_archives);
    }
    return *m_zoneBytes;
}

std::vector<CPlace> CPlaceService::FindZipNationwide(std::string_view zip) {
    // The zone file lists every place's zip by state: it names the archives worth opening.
    const std::vector<std::string> states = CZoneTable::StatesWithZip(ZoneFileBytes(), zip);
    std::vector<CPlace> places;
    const auto lookIn = [&](const std::string& code) {
        CTimeZoneList list;
        CNullArchiveSink sink;
        CIgnoringReporter reporter;  // a state that cannot be read has no place to give
        try {
            LoadState(code, list, sink, reporter);
        } catch (const CException&) {
            return;
        }
        if (const auto record = list.FindByZip(zip)) {
            places.push_back(MakePlace(code, *record));
        }
    };
    const auto named = [&states](const CStateRow& row) {
        return std::find(states.begin(), states.end(), row.code) != states.end();
    };
    for (const CStateRow& row : g_StateTable) {
        if (named(row)) {
            lookIn(std::string(row.code));
        }
    }
    if (places.empty()) {
        // The zone file may be missing, damaged or older than the archives.
        for (const CStateRow& row : g_StateTable) {
            if (!named(row)) {
                lookIn(std::string(row.code));
            }
        }
    }
    return places;
}

const CPlaceIndex& CPlaceService::Index() {
    if (!m_index) {
        m_index = std::make_unique<CPlaceIndex>(CPlaceIndex::Build(m_archives));
    }
    return *m_index;
}
