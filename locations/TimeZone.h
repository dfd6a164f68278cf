// CTimeZone is a location record in its archive form: one place of a state archive, read and
// written through CArchive. A state archive file ("timezone.arc." and the two-letter code) is
// nothing but these records back to back, with no header, count or trailer.
//
// One record in the file, field by field in declaration order:
//     seven strings   length prefix + Windows-1252 bytes (see Archive.h)
//     latitude        binary64, little-endian, degrees, north positive
//     longitude       binary64, little-endian, degrees, EAST positive (west negative)
//     time zone       int32, little-endian, whole hours behind UTC (6 = US Central)
//
// The default record (Mission, TX) is 55 bytes. Registered as serialisable class "CTimeZone",
// schema 1; the archives store no class name or schema, records are read by calling
// Serialize on an existing object.
#pragma once

#include <cstdint>
#include <string>

#include "Object.h"

class CTimeZone : public CObject {
    DECLARE_SERIAL(CTimeZone)

public:
    CTimeZone();
    ~CTimeZone() override;

    // Loading: reads the ten fields in order; a failure (CArchiveException, endOfFile when the
    // data ends) leaves the fields read so far overwritten and the rest unchanged, so such a
    // record must be dropped. Storing: writes the ten fields, every string narrow.
    void Serialize(CArchive& ar) override;
    void AssertValid() const override;
    void Dump(std::ostream& out) const override;

    std::string m_strCity;        // "Mission"
    std::string m_strState;       // "TX"
    std::string m_strZipCode;     // "78572"
    std::string m_strAreaCode;    // "956"
    std::string m_strCountyCode;  // "215"
    std::string m_strCounty;      // "Hidalgo"
    std::string m_strDST;         // "Y"; only "N" means no daylight saving
    double m_dLatitude;           // 26.21466
    double m_dLongitude;          // -98.35164
    std::int32_t m_nTimeZone;     // 6
};
