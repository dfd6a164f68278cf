// CTimeZoneData is a location record in its list form, the copy kept in g_TimeZoneList. It has
// the same ten fields as CTimeZone, in the same order and with the same defaults (Mission,
// TX); strings are Windows-1252 bytes, convert with Windows1252ToUtf8 to show them.
#pragma once

#include <cstdint>
#include <string>

class CTimeZone;

class CTimeZoneData {
public:
    CTimeZoneData();
    CTimeZoneData(const CTimeZoneData&) = default;
    CTimeZoneData& operator=(const CTimeZoneData&) = default;
    // The archive form's ten fields, each to the field of the same name.
    explicit CTimeZoneData(const CTimeZone& record);
    virtual ~CTimeZoneData();

    void AssignFrom(const CTimeZone& record);

    // The zip-list entry: the zip code alone.
    const std::string& ZipEntry() const { return m_strZipCode; }
    // The city-list entry: city, " - ", zip code ("Mission - 78572").
    std::string CityEntry() const;
    // The same, written over `entry` (whose capacity is reused).
    void CityEntry(std::string& entry) const;

    bool operator==(const CTimeZoneData& other) const;

    std::string m_strCity;
    std::string m_strState;
    std::string m_strZipCode;
    std::string m_strAreaCode;
    std::string m_strCountyCode;
    std::string m_strCounty;
    std::string m_strDST;
    double m_dLatitude;
    double m_dLongitude;
    std::int32_t m_nTimeZone;
};
