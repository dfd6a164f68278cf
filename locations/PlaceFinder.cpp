#include "PlaceFinder.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "PlaceIndex.h"
#include "PlaceName.h"
#include "StateTable.h"
#include "Windows1252.h"

extern const char* const kPlaceAliases;

namespace {

// Below this many names in a prefix's run the run is ranked whole; above it the names are
// walked from the most people down, which meets the first matches sooner.
constexpr std::size_t kRankWhole = 1500;

struct CAlias {
    std::string key;  // folded alias
    std::uint16_t state = 0;
    std::string place;  // folded name of the town it finds
    bool same = false;  // another name of the town itself, not a part of it
};

std::uint16_t StateRow(std::string_view codeOrName) {
    for (std::size_t i = 0; i < g_StateTable.size(); ++i) {
        if (g_StateTable[i].code == codeOrName || g_StateTable[i].name == codeOrName) {
            return static_cast<std::uint16_t>(i);
        }
    }
    return CPlaceFinder::kNone16;
}

std::vector<CAlias> Aliases() {
    std::vector<CAlias> aliases;
    std::string_view text = kPlaceAliases;
    bool heading = true;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        std::vector<std::string_view> fields;
        for (std::size_t tab; (tab = line.find('\t')) != std::string_view::npos;) {
            fields.push_back(line.substr(0, tab));
            line.remove_prefix(tab + 1);
        }
        fields.push_back(line);
        if (std::exchange(heading, false) || fields.size() != 4) {
            continue;
        }
        const std::uint16_t state = StateRow(fields[1]);
        if (state != CPlaceFinder::kNone16) {
            aliases.push_back({PlaceNameKeyUtf8(fields[0]), state, PlaceNameKeyUtf8(fields[2]),
                               fields[3] == "same"});
        }
    }
    return aliases;
}

std::string TownKey(std::uint16_t state, std::string_view key) {
    std::string k(g_StateTable[state].code);
    k += '\t';
    k += key;
    return k;
}

// The words that say the United States as a whole.
bool IsUnitedStates(std::string_view key) {
    return key == "us" || key == "usa" || key == "united states" ||
           key == "united states of america";
}

}  // namespace

// What a qualifier ("TX", "Texas", "France", "FR", "Ile de France") lets through.
struct CPlaceFinder::Filter {
    std::string key;                     // folded; empty: everything
    std::vector<std::uint16_t> states;   // rows of g_StateTable it names
    std::vector<std::string> countries;  // country codes it names
    bool unitedStates = false;

    bool Any() const { return key.empty(); }
    bool NamesSomething() const { return !states.empty() || !countries.empty() || unitedStates; }
};

std::string CFoundPlace::Choice() const {
    return name + ", " + (state.empty() ? country : state);
}

std::string CFoundPlace::Label() const {
    std::string label = Choice();
    if (zips.size() > 1) {
        label += ", " + std::to_string(zips.size()) + " zip codes";
    } else if (!zip.empty()) {
        label += ", " + zip;
    } else if (!region.empty() && state.empty()) {
        label += " (" + region + ")";
    }
    return label;
}

CFoundPlace CFoundPlace::OfZip(const CPlaceIndex& index, std::size_t position) {
    const CIndexedPlace& place = index[position];
    CFoundPlace found;
    found.name = Windows1252ToUtf8(place.record.m_strCity);
    found.state = place.state;
    found.countryCode = "US";
    found.country = "United States";
    found.latitude = place.record.m_dLatitude;
    found.longitude = 0.0 - place.record.m_dLongitude;
    found.zips = {position};
    found.zip = place.record.m_strZipCode;
    return found;
}

CPlaceFinder CPlaceFinder::Build(const CPlaceIndex& index, CWorldPlaces world) {
    CPlaceFinder finder;
    finder.m_world = std::move(world);
    finder.m_spans.resize(g_StateTable.size());
    std::vector<std::string> keys;  // by town

    // The zip codes of one folded name in one state are one town.
    std::unordered_map<std::string, std::uint32_t> byTown;
    std::vector<std::vector<std::uint32_t>> zips;
    for (std::size_t i = 0; i < index.Size(); ++i) {
        const CIndexedPlace& place = index[i];
        const std::uint16_t state = StateRow(place.state);
        if (state != kNone16) {
            StateSpan& span = finder.m_spans[state];
            span.first = span.count == 0 ? static_cast<std::uint32_t>(i) : span.first;
            ++span.count;
        }
        if (state == kNone16 || place.key.empty()) {
            continue;
        }
        const auto [it, added] =
            byTown.emplace(TownKey(state, place.key), static_cast<std::uint32_t>(zips.size()));
        if (added) {
            zips.emplace_back();
            Town town;
            town.state = state;
            finder.m_towns.push_back(town);
            keys.push_back(place.key);
        }
        zips[it->second].push_back(static_cast<std::uint32_t>(i));
    }
    finder.m_usTowns.resize(zips.size());
    std::vector<std::string> usTexts;  // name and zip code by town, laid out in m_text at the end
    usTexts.reserve(2 * zips.size());
    for (std::size_t t = 0; t < zips.size(); ++t) {
        finder.m_towns[t].firstZip = static_cast<std::uint32_t>(finder.m_zips.size());
        finder.m_towns[t].zipCount = static_cast<std::uint32_t>(zips[t].size());
        finder.m_zips.insert(finder.m_zips.end(), zips[t].begin(), zips[t].end());
        double north = 0;
        double east = 0;
        for (const std::uint32_t position : zips[t]) {
            north += index[position].record.m_dLatitude;
            east += index[position].record.m_dLongitude;
        }
        const CTimeZoneData& first = index[zips[t].front()].record;
        UsTown& us = finder.m_usTowns[t];
        usTexts.push_back(Windows1252ToUtf8(first.m_strCity));
        usTexts.push_back(first.m_strZipCode);
        us.latitude = north / static_cast<double>(zips[t].size());
        us.longitude = 0.0 - east / static_cast<double>(zips[t].size());
    }

    // A GeoNames town of a state gives the town of its name there its point and people; one
    // the zip codes do not name stands on its own, unless it is a part of a town.
    const std::vector<CAlias> aliases = Aliases();
    std::map<std::string, const CAlias*> aliasOf;
    for (const CAlias& alias : aliases) {
        aliasOf.emplace(TownKey(alias.state, alias.key), &alias);
    }
    std::map<std::string, std::string> countries;  // code to folded name
    const auto worldCount = static_cast<std::uint32_t>(finder.m_world.Size());
    finder.m_towns.reserve(finder.m_towns.size() + worldCount);
    keys.reserve(keys.size() + worldCount);
    std::string_view lastCountry;
    for (std::uint32_t i = 0; i < worldCount; ++i) {
        const CWorldPlace place = finder.m_world.At(i);
        std::string key = PlaceNameKeyUtf8(place.name);
        if (key.empty()) {
            continue;
        }
        if (place.countryCode != lastCountry) {  // the file runs country by country
            lastCountry = place.countryCode;
            countries.emplace(std::string(place.countryCode), PlaceNameKeyUtf8(place.country));
        }
        Town town;
        town.world = i;
        town.population = place.population;
        if (place.countryCode == "US") {
            town.state = StateRow(place.region);
        }
        if (town.state != kNone16) {
            const std::string at = TownKey(town.state, key);
            auto own = byTown.find(at);
            const auto alias = aliasOf.find(at);
            if (own == byTown.end() && alias != aliasOf.end()) {
                if (!alias->second->same) {
                    continue;  // a borough: its city answers for it
                }
                own = byTown.find(TownKey(town.state, alias->second->place));
            }
            if (own != byTown.end()) {
                Town& us = finder.m_towns[own->second];
                if (us.world == kNone) {
                    us.world = i;
                    us.population = place.population;
                }
                continue;
            }
        }
        finder.m_towns.push_back(town);
        keys.push_back(std::move(key));
    }
    for (auto& [code, name] : countries) {
        finder.m_countryKeys.push_back(code + '\t' + name);
    }

    struct Named {
        std::string_view key;  // into `keys` or `aliases` until laid out in m_text
        std::uint32_t town;
    };
    std::vector<Named> names;
    names.reserve(keys.size() + aliases.size());
    for (std::size_t t = 0; t < keys.size(); ++t) {
        names.push_back({keys[t], static_cast<std::uint32_t>(t)});
    }
    for (const CAlias& alias : aliases) {
        if (const auto it = byTown.find(TownKey(alias.state, alias.place)); it != byTown.end()) {
            names.push_back({alias.key, it->second});
        }
    }
    // Sorted as small rows: the key's first eight bytes as a number decide most comparisons.
    struct Row {
        std::uint64_t head;
        std::string_view key;
        std::uint32_t people;
        std::uint32_t name;
    };
    std::vector<Row> rows;
    rows.reserve(names.size());
    for (std::uint32_t i = 0; i < names.size(); ++i) {
        std::uint64_t head = 0;
        for (std::size_t b = 0; b < 8; ++b) {
            head = (head << 8) |
                   (b < names[i].key.size() ? static_cast<unsigned char>(names[i].key[b]) : 0u);
        }
        rows.push_back({head, names[i].key, finder.m_towns[names[i].town].population, i});
    }
    std::sort(rows.begin(), rows.end(), [&names](const Row& a, const Row& b) {
        if (a.head != b.head) {
            return a.head < b.head;
        }
        if (const int order = a.key.compare(b.key); order != 0) {
            return order < 0;
        }
        if (a.people != b.people) {
            return a.people > b.people;
        }
        return names[a.name].town < names[b.name].town;
    });
    std::size_t textSize = 0;
    for (const std::string& text : usTexts) {
        textSize += text.size();
    }
    for (const Named& name : names) {
        textSize += name.key.size();
    }
    finder.m_text.reserve(textSize);  // never grows past: the views below stay valid
    const auto keep = [&finder](std::string_view text) {
        const std::size_t at = finder.m_text.size();
        finder.m_text.insert(finder.m_text.end(), text.begin(), text.end());
        return std::string_view(finder.m_text.data() + at, text.size());
    };
    const auto keepKey = [&finder](std::string_view key, std::uint32_t town) {
        const auto at = static_cast<std::uint32_t>(finder.m_text.size());
        finder.m_text.insert(finder.m_text.end(), key.begin(), key.end());
        return Name{at, static_cast<std::uint32_t>(key.size()), town};
    };
    for (std::size_t t = 0; t < finder.m_usTowns.size(); ++t) {
        finder.m_usTowns[t].name = keep(usTexts[2 * t]);
        finder.m_usTowns[t].zip = keep(usTexts[2 * t + 1]);
    }
    finder.m_names.reserve(names.size());
    for (const Row& row : rows) {
        finder.m_names.push_back(keepKey(names[row.name].key, names[row.name].town));
    }
    return finder;
}

const std::vector<std::uint32_t>& CPlaceFinder::ByPeople() const {
    if (m_byPeople.size() == m_names.size()) {
        return m_byPeople;
    }
    // Most people first, then in name order: one sort of plain numbers.
    std::vector<std::uint64_t> order(m_names.size());
    for (std::uint32_t i = 0; i < order.size(); ++i) {
        const std::uint32_t people = m_towns[m_names[i].town].population;
        order[i] = (std::uint64_t{0xFFFFFFFFu - people} << 32) | i;
    }
    std::sort(order.begin(), order.end());
    m_byPeople.resize(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        m_byPeople[i] = static_cast<std::uint32_t>(order[i] & 0xFFFFFFFFu);
    }
    return m_byPeople;
}

bool CPlaceFinder::Matches(const Filter& filter, std::uint32_t t) const {
    if (filter.Any()) {
        return true;
    }
    const Town& town = m_towns[t];
    if (town.state != kNone16) {
        if (filter.unitedStates || std::find(filter.states.begin(), filter.states.end(),
                                             town.state) != filter.states.end()) {
            return true;
        }
    }
    if (town.world == kNone || town.zipCount > 0) {
        return false;
    }
    const CWorldPlace place = m_world.At(town.world);
    if (std::find(filter.countries.begin(), filter.countries.end(), place.countryCode) !=
        filter.countries.end()) {
        return true;
    }
    return !filter.NamesSomething() && !place.region.empty() &&
           PlaceNameKeyUtf8(place.region) == filter.key;
}

CFoundPlace CPlaceFinder::Make(std::uint32_t t) const {
    const Town& town = m_towns[t];
    CFoundPlace found;
    found.population = town.population;
    if (town.world != kNone) {
        const CWorldPlace place = m_world.At(town.world);
        found.name = place.name;
        found.countryCode = place.countryCode;
        found.country = place.country;
        found.region = place.region;
        found.latitude = place.latitude;
        found.longitude = 0.0 - place.longitude;
        found.zone = place.zone;
    }
    if (town.state != kNone16) {
        found.state = g_StateTable[town.state].code;
        found.countryCode = "US";
        found.country = "United States";
        found.region = g_StateTable[town.state].name;
    }
    if (town.zipCount > 0 && t < m_usTowns.size()) {
        for (std::uint32_t z = 0; z < town.zipCount; ++z) {
            found.zips.push_back(m_zips[town.firstZip + z]);
        }
        const UsTown& us = m_usTowns[t];
        found.name = std::string(us.name);
        found.zip = std::string(us.zip);
        found.zone.clear();  // the zip codes' own zone, from the zone file
        if (town.world == kNone) {
            found.latitude = us.latitude;
            found.longitude = us.longitude;
        }
    }
    return found;
}

std::vector<std::uint32_t> CPlaceFinder::Run(const std::string& key, bool whole,
                                             const Filter& filter, std::size_t limit,
                                             std::size_t* total) const {
    const auto byKey = [this](const Name& name, std::string_view k) { return Key(name) < k; };
    const auto first = std::lower_bound(m_names.begin(), m_names.end(), key, byKey);
    auto exactEnd = first;
    while (exactEnd != m_names.end() && Key(*exactEnd) == key) {
        ++exactEnd;
    }
    auto last = exactEnd;
    if (!whole) {
        std::string next = key;
        next.back() = static_cast<char>(next.back() + 1);  // keys never end in 0xFF
        last = std::lower_bound(exactEnd, m_names.end(), next, byKey);
    }
    std::vector<std::uint32_t> towns;
    std::size_t count = 0;
    const auto take = [&](std::uint32_t town) {
        if (std::find(towns.begin(), towns.end(), town) != towns.end()) {
            return;
        }
        ++count;
        if (towns.size() < limit) {
            towns.push_back(town);
        }
    };
    // Exact names come first, already by people.
    for (auto it = first; it != exactEnd; ++it) {
        if (Matches(filter, it->town)) {
            take(it->town);
        }
    }
    const auto rest = static_cast<std::size_t>(last - exactEnd);
    if (rest <= kRankWhole || !filter.Any()) {
        std::vector<std::uint32_t> found;
        for (auto it = exactEnd; it != last; ++it) {
            if (Matches(filter, it->town)) {
                found.push_back(it->town);
            }
        }
        const auto people = [this](std::uint32_t a, std::uint32_t b) {
            return m_towns[a].population != m_towns[b].population
                       ? m_towns[a].population > m_towns[b].population
                       : a < b;
        };
        const std::size_t shown = std::min(found.size(), limit + towns.size());
        std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(shown),
                          found.end(), people);
        for (std::size_t i = 0; i < found.size(); ++i) {
            if (i < shown) {
                take(found[i]);
            } else {
                ++count;
            }
        }
    } else {
        const auto from = static_cast<std::uint32_t>(exactEnd - m_names.begin());
        const auto to = static_cast<std::uint32_t>(last - m_names.begin());
        for (const std::uint32_t i : ByPeople()) {
            if (towns.size() >= limit) {
                break;
            }
            if (i >= from && i < to) {
                take(m_names[i].town);
            }
        }
        count = static_cast<std::size_t>(last - first);  // every name of the run matches
    }
    if (total) {
        *total = count;
    }
    return towns;
}

std::vector<CFoundPlace> CPlaceFinder::Find(std::string_view typed, std::size_t limit, bool whole,
                                            std::size_t* total) const {
    const auto filterOf = [this](std::string key) {
        Filter filter;
        filter.key = std::move(key);
        if (filter.key.empty()) {
            return filter;
        }
        filter.unitedStates = IsUnitedStates(filter.key);
        // The folded codes and names of the states, made once.
        static const std::vector<std::pair<std::string, std::string>> states = [] {
            std::vector<std::pair<std::string, std::string>> keys;
            for (const CStateRow& row : g_StateTable) {
                keys.emplace_back(PlaceNameKey(row.code), PlaceNameKey(row.name));
            }
            return keys;
        }();
        for (std::size_t i = 0; i < states.size(); ++i) {
            if (states[i].first == filter.key || states[i].second == filter.key) {
                filter.states.push_back(static_cast<std::uint16_t>(i));
            }
        }
        const auto lowerCode = [](std::string_view code) {
            std::string lower(code);
            for (char& c : lower) {
                c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            }
            return lower;
        };
        for (const std::string& row : m_countryKeys) {
            const std::string_view code = std::string_view(row).substr(0, 2);
            if ((filter.key.size() == 2 && lowerCode(code) == filter.key) ||
                std::string_view(row).substr(3) == filter.key) {
                filter.countries.emplace_back(code);
            }
        }
        return filter;
    };
    const auto answer = [&](const std::string& key, const Filter& filter) {
        std::vector<CFoundPlace> places;
        std::size_t count = 0;
        if (!key.empty()) {
            for (const std::uint32_t town : Run(key, whole, filter, limit, &count)) {
                places.push_back(Make(town));
            }
        }
        if (total) {
            *total = count;
        }
        return places;
    };
    if (const std::size_t comma = typed.rfind(','); comma != std::string_view::npos) {
        return answer(PlaceNameKeyUtf8(typed.substr(0, comma)),
                      filterOf(PlaceNameKeyUtf8(typed.substr(comma + 1))));
    }
    // "Honolulu HI", "Paris France", "Portland New Mexico": the last words may name a state or
    // a country; the name without them answers when it finds anything.
    const std::string key = PlaceNameKeyUtf8(typed);
    std::size_t space = key.size();
    for (int words = 0; words < 3; ++words) {
        space = key.rfind(' ', space - 1);
        if (space == std::string::npos || space == 0) {
            break;
        }
        const Filter filter = filterOf(key.substr(space + 1));
        if (filter.NamesSomething()) {
            std::vector<CFoundPlace> places = answer(key.substr(0, space), filter);
            if (!places.empty()) {
                return places;
            }
        }
    }
    return answer(key, Filter{});
}

std::vector<std::string> CPlaceFinder::Suggest(std::string_view typed, std::size_t limit) const {
    std::string key = PlaceNameKeyUtf8(typed.substr(0, std::min(typed.rfind(','), typed.size())));
    // A third of the name may be wrong, and at least one letter.
    const std::size_t allowed = std::max<std::size_t>(1, key.size() / 3);
    std::multimap<std::pair<std::size_t, std::uint64_t>, std::uint32_t> nearest;
    std::string_view previous;
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        if (i > 0 && Key(m_names[i]) == previous) {
            continue;  // the first of a name has the most people
        }
        previous = Key(m_names[i]);
        const std::size_t distance = EditDistance(key, previous, allowed);
        if (distance <= allowed) {
            nearest.emplace(
                std::make_pair(distance, ~std::uint64_t{m_towns[m_names[i].town].population}),
                m_names[i].town);
        }
    }
    std::vector<std::string> names;
    for (const auto& entry : nearest) {
        if (names.size() == limit) {
            break;
        }
        names.push_back(Make(entry.second).Choice());
    }
    return names;
}
