// CPlaceIndex holds the places of every state archive for the nationwide searches: by zip code,
// by folded city name (PlaceName.h), and by what the user has typed so far.
//
//     CPlaceIndex index = CPlaceIndex::Build(directory);
//     index.FindCity(PlaceNameKey("san antonio"), "TX");   // every zip of San Antonio, TX
//     index.Search("anas", 20);                             // Añasco, PR, ...
//     index.Suggest("san antono", 5);                       // "San Antonio", ...
//
// Places keep the order of the state table, then of each archive file; a search answers from
// sorted tables without walking every place.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "TimeZoneData.h"

class CTimeZoneList;

struct CIndexedPlace {
    std::string state;  // two-letter code
    CTimeZoneData record;
    std::string key;  // PlaceNameKey(record.m_strCity)
};

class CPlaceIndex {
public:
    // Reads every state's archive from `directory` (empty: the executable's directory).
    static CPlaceIndex Build(const std::filesystem::path& directory = {});
    // From places already read, in the order given.
    static CPlaceIndex FromPlaces(std::vector<CIndexedPlace> places);
    // The places of one state's loaded list in the archive file's order. The list runs from the
    // file's last record to its first (CTimeZoneList::AddHead): this is where that is undone,
    // for every index and every list of entries made from a state.
    static std::vector<CIndexedPlace> PlacesOf(std::string_view state, const CTimeZoneList& list);
    // The index of one state's loaded list.
    static CPlaceIndex FromList(std::string_view state, const CTimeZoneList& list) {
        return FromPlaces(PlacesOf(state, list));
    }

    std::size_t Size() const { return m_places.size(); }
    const CIndexedPlace& operator[](std::size_t i) const { return m_places[i]; }
    // One line per archive that could not be read whole ("timezone.arc.XX: ...").
    const std::vector<std::string>& Problems() const { return m_problems; }

    // Every place whose key equals `key`, of one state when `state` is not empty; in order.
    std::vector<std::size_t> FindCity(std::string_view key, std::string_view state = {}) const;
    // Every place of a zip code, in order.
    std::vector<std::size_t> FindZip(std::string_view zip) const;
    // As the user types: digits are the start of a zip code, anything else the start of a
    // city name (folded). At most `limit` places, in name (or zip) order, then in order;
    // `total` (when given) receives how many there are in all.
    std::vector<std::size_t> Search(std::string_view typed, std::size_t limit,
                                    std::size_t* total = nullptr) const;
    // Up to `limit` city names (as stored, one per key) closest to `key` by EditDistance,
    // nearest first, of one state when `state` is not empty: for a name that matches nothing.
    std::vector<std::string> Suggest(std::string_view key, std::size_t limit,
                                     std::string_view state = {}) const;

private:
    std::vector<CIndexedPlace> m_places;
    std::vector<std::size_t> m_byKey;  // sorted by key, then position
    std::vector<std::size_t> m_byZip;  // sorted by zip, then position
    std::vector<std::string> m_problems;
};
