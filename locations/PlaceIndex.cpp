#include "PlaceIndex.h"

#include <algorithm>
#include <map>
#include <numeric>

#include "ErrorReporter.h"
#include "Exception.h"
#include "PlaceName.h"
#include "StateArchive.h"
#include "StateTable.h"
#include "TimeZoneList.h"

namespace {

bool IsDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The run of `order` whose field starts with `prefix` (all of them equal when `whole`).
template <typename Field>
std::pair<std::vector<std::size_t>::const_iterator, std::vector<std::size_t>::const_iterator> Run(
    const std::vector<std::size_t>& order, std::string_view prefix, bool whole, Field field) {
    const auto first = std::lower_bound(
        order.begin(), order.end(), prefix,
        [&](std::size_t i, std::string_view p) { return std::string_view(field(i)) < p; });
    auto last = first;
    while (last != order.end()) {
        const std::string_view value = field(*last);
        if (whole ? value != prefix : !value.starts_with(prefix)) {
            break;
        }
        ++last;
    }
    return {first, last};
}

}  // namespace

CPlaceIndex CPlaceIndex::Build(const std::filesystem::path& directory) {
    std::vector<CIndexedPlace> places;
    std::vector<std::string> problems;
    CTimeZoneList list;
    CNullArchiveSink sink;
    for (const CStateRow& row : g_StateTable) {
        CCollectingErrorReporter reporter;
        list.RemoveAll();
        try {
            LoadStateArchive(std::string(row.code), list, sink, reporter, directory);
        } catch (const CException& e) {
            e.ReportError(reporter);
        }
        problems.insert(problems.end(), reporter.Messages().begin(), reporter.Messages().end());
        std::vector<CIndexedPlace> state = PlacesOf(row.code, list);
        places.insert(places.end(), std::make_move_iterator(state.begin()),
                      std::make_move_iterator(state.end()));
    }
    CPlaceIndex index = FromPlaces(std::move(places));
    index.m_problems = std::move(problems);
    return index;
}

std::vector<CIndexedPlace> CPlaceIndex::PlacesOf(std::string_view state,
                                                 const CTimeZoneList& list) {
    std::vector<CIndexedPlace> places(list.GetCount());
    auto at = places.rbegin();
    for (const CTimeZoneData& record : list) {
        *at++ = {std::string(state), record, PlaceNameKey(record.m_strCity)};
    }
    return places;
}

CPlaceIndex CPlaceIndex::FromPlaces(std::vector<CIndexedPlace> places) {
    CPlaceIndex index;
    index.m_places = std::move(places);
    const auto& p = index.m_places;
    index.m_byKey.resize(p.size());
    std::iota(index.m_byKey.begin(), index.m_byKey.end(), std::size_t{0});
    index.m_byZip = index.m_byKey;
    // Stable sorts over positions keep each run of equal keys in the places' order.
    std::stable_sort(index.m_byKey.begin(), index.m_byKey.end(),
                     [&p](std::size_t a, std::size_t b) { return p[a].key < p[b].key; });
    std::stable_sort(index.m_byZip.begin(), index.m_byZip.end(),
                     [&p](std::size_t a, std::size_t b) {
                         return p[a].record.m_strZipCode < p[b].record.m_strZipCode;
                     });
    return index;
}

std::vector<std::size_t> CPlaceIndex::FindCity(std::string_view key, std::string_view state) const {
    const auto [first, last] = Run(m_byKey, key, true, [this](std::size_t i) -> const std::string& {
        return m_places[i].key;
    });
    std::vector<std::size_t> found;
    for (auto it = first; it != last; ++it) {
        if (state.empty() || m_places[*it].state == state) {
            found.push_back(*it);
        }
    }
    return found;
}

std::vector<std::size_t> CPlaceIndex::FindZip(std::string_view zip) const {
    const auto [first, last] = Run(m_byZip, zip, true, [this](std::size_t i) -> const std::string& {
        return m_places[i].record.m_strZipCode;
    });
    return {first, last};
}

std::vector<std::size_t> CPlaceIndex::Search(std::string_view typed, std::size_t limit,
                                             std::size_t* total) const {
    std::string key;
    std::pair<std::vector<std::size_t>::const_iterator, std::vector<std::size_t>::const_iterator>
        run;
    if (IsDigits(typed)) {
        run = Run(m_byZip, typed, false, [this](std::size_t i) -> const std::string& {
            return m_places[i].record.m_strZipCode;
        });
    } else {
        key = PlaceNameKey(typed);
        if (key.empty()) {
            run = {m_byKey.end(), m_byKey.end()};
        } else {
            run = Run(m_byKey, key, false,
                      [this](std::size_t i) -> const std::string& { return m_places[i].key; });
        }
    }
    const auto count = static_cast<std::size_t>(run.second - run.first);
    if (total) {
        *total = count;
    }
    return {run.first, run.first + static_cast<std::ptrdiff_t>(std::min(count, limit))};
}

std::vector<std::string> CPlaceIndex::Suggest(std::string_view key, std::size_t limit,
                                              std::string_view state) const {
    // A third of the name may be wrong, and at least one letter.
    const std::size_t allowed = std::max<std::size_t>(1, key.size() / 3);
    std::multimap<std::size_t, std::size_t> nearest;  // distance to position
    std::string_view previous;
    bool any = false;
    for (const std::size_t i : m_byKey) {
        const CIndexedPlace& place = m_places[i];
        if ((!state.empty() && place.state != state) || (any && place.key == previous)) {
            continue;
        }
        previous = place.key;
        any = true;
        const std::size_t distance = EditDistance(key, place.key, allowed);
        if (distance <= allowed) {
            nearest.emplace(distance, i);
        }
    }
    std::vector<std::string> names;
    for (const auto& [distance, i] : nearest) {
        if (names.size() == limit) {
            break;
        }
        names.push_back(m_places[i].record.m_strCity);
    }
    return names;
}
