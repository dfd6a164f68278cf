// CTimeZoneList is the location list: the records of the state loaded last, owned by value.
// The loader inserts each record at the front, so the list runs in the reverse order of the
// file. The two lookups walk the whole list from the front and keep the last match they meet:
// of several matching records they yield the one nearest the back, which is the first of them
// in the file. Matching is exact (whole string, byte for byte, case-sensitive).
//
//     g_TimeZoneList.RemoveAll();
//     LoadStateArchive("TX", sink, reporter);
//     if (auto place = g_TimeZoneList.FindByZip("78572")) { ... place->m_strCity ... }
#pragma once

#include <cstddef>
#include <list>
#include <optional>
#include <string_view>

#include "TimeZoneData.h"

class CTimeZoneList {
public:
    using const_iterator = std::list<CTimeZoneData>::const_iterator;

    std::size_t GetCount() const { return m_records.size(); }
    bool IsEmpty() const { return m_records.empty(); }

    // Stores a copy at the front.
    void AddHead(const CTimeZoneData& record);
    void RemoveAll();

    // Front to back.
    const_iterator begin() const { return m_records.begin(); }
    const_iterator end() const { return m_records.end(); }

    // A copy of the record whose zip code equals `zip`; nullopt when none does.
    std::optional<CTimeZoneData> FindByZip(std::string_view zip) const;
    // A copy of the record whose city entry (CTimeZoneData::CityEntry) equals `cityEntry`.
    std::optional<CTimeZoneData> FindByCityEntry(std::string_view cityEntry) const;

private:
    std::list<CTimeZoneData> m_records;
};

// The program's one location list; empty from static initialisation on.
extern CTimeZoneList g_TimeZoneList;
