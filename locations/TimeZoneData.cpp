#include "TimeZoneData.h"

#include "TimeZone.h"

// The defaults are the archive record's own (Mission, Texas), kept in one place.
CTimeZoneData::CTimeZoneData() : CTimeZoneData(CTimeZone()) {}

CTimeZoneData::CTimeZoneData(const CTimeZone& record) {
    AssignFrom(record);
}

CTimeZoneData::~CTimeZoneData() = default;

void CTimeZoneData::AssignFrom(const CTimeZone& record) {
    m_strCity = record.m_strCity;
    m_strState = record.m_strState;
    m_strZipCode = record.m_strZipCode;
    m_strAreaCode = record.m_strAreaCode;
    m_strCountyCode = record.m_strCountyCode;
    m_strCounty = record.m_strCounty;
    m_strDST = record.m_strDST;
    m_dLatitude = record.m_dLatitude;
    m_dLongitude = record.m_dLongitude;
    m_nTimeZone = record.m_nTimeZone;
}

std::string CTimeZoneData::CityEntry() const {
    std::string entry;
    CityEntry(entry);
    return entry;
}

void CTimeZoneData::CityEntry(std::string& entry) const {
    entry.reserve(m_strCity.size() + 3 + m_strZipCode.size());
    entry.assign(m_strCity);
    entry += " - ";
    entry += m_strZipCode;
}

bool CTimeZoneData::operator==(const CTimeZoneData& other) const {
    return m_strCity == other.m_strCity && m_strState == other.m_strState &&
           m_strZipCode == other.m_strZipCode && m_strAreaCode == other.m_strAreaCode &&
           m_strCountyCode == other.m_strCountyCode && m_strCounty == other.m_strCounty &&
           m_strDST == other.m_strDST && m_dLatitude == other.m_dLatitude &&
           m_dLongitude == other.m_dLongitude && m_nTimeZone == other.m_nTimeZone;
}
