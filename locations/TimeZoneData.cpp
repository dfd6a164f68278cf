#include "TimeZoneData.h"

#include "TimeZone.h"

CTimeZoneData::CTimeZoneData()
    : m_strCity("Mission"),
      m_strState("TX"),
      m_strZipCode("78572"),
      m_strAreaCode("956"),
      m_strCountyCode("215"),
      m_strCounty("Hidalgo"),
      m_strDST("Y"),
      m_dLatitude(26.21466),
      m_dLongitude(-98.35164),
      m_nTimeZone(6) {}

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
