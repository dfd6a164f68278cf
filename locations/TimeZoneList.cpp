#include "TimeZoneList.h"

CTimeZoneList g_TimeZoneList;

void CTimeZoneList::AddHead(const CTimeZoneData& record) {
    m_records.push_front(record);
}

void CTimeZoneList::RemoveAll() {
    // Unlink first, then destroy: the list is already empty while the records go.
    std::list<CTimeZoneData> doomed;
    doomed.swap(m_records);
}

std::optional<CTimeZoneData> CTimeZoneList::FindByZip(std::string_view zip) const {
    const CTimeZoneData* match = nullptr;
    for (const CTimeZoneData& record : m_records) {
        if (record.m_strZipCode == zip) {
            match = &record;
        }
    }
    return match != nullptr ? std::optional<CTimeZoneData>(*match) : std::nullopt;
}

std::optional<CTimeZoneData> CTimeZoneList::FindByCityEntry(std::string_view cityEntry) const {
    const CTimeZoneData* match = nullptr;
    for (const CTimeZoneData& record : m_records) {
        // city + " - " + zip, compared without building the text
        const std::string& city = record.m_strCity;
        const std::string& zip = record.m_strZipCode;
        if (cityEntry.size() == city.size() + 3 + zip.size() &&
            cityEntry.substr(0, city.size()) == city && cityEntry.substr(city.size(), 3) == " - " &&
            cityEntry.substr(city.size() + 3) == zip) {
            match = &record;
        }
    }
    return match != nullptr ? std::optional<CTimeZoneData>(*match) : std::nullopt;
}
