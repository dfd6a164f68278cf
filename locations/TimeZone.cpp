#include "TimeZone.h"

#include "Archive.h"

IMPLEMENT_SERIAL(CTimeZone, CObject, 1)

CTimeZone::CTimeZone()
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

CTimeZone::~CTimeZone() = default;

void CTimeZone::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_strCity << m_strState << m_strZipCode << m_strAreaCode << m_strCountyCode
           << m_strCounty << m_strDST << m_dLatitude << m_dLongitude << m_nTimeZone;
    } else {
        ar >> m_strCity >> m_strState >> m_strZipCode >> m_strAreaCode >> m_strCountyCode >>
            m_strCounty >> m_strDST >> m_dLatitude >> m_dLongitude >> m_nTimeZone;
    }
}

void CTimeZone::AssertValid() const {}

void CTimeZone::Dump(std::ostream&) const {}
