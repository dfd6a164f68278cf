// State archives for the main window's tests, written from a few places.
#pragma once

#include <filesystem>
#include <vector>

#include "Archive.h"
#include "File.h"
#include "TimeZone.h"

struct Place {
    const char* city;
    const char* state;
    const char* zip;
    const char* county;
    const char* dst;
    double latitude;   // north positive
    double longitude;  // east positive, as archives store it
    int offset;
};

inline void WriteArchive(const std::filesystem::path& path, const std::vector<Place>& places) {
    CFile file(path.string(), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    for (const Place& place : places) {
        CTimeZone record;
        record.m_strCity = place.city;
        record.m_strState = place.state;
        record.m_strZipCode = place.zip;
        record.m_strAreaCode = "";
        record.m_strCountyCode = "";
        record.m_strCounty = place.county;
        record.m_strDST = place.dst;
        record.m_dLatitude = place.latitude;
        record.m_dLongitude = place.longitude;
        record.m_nTimeZone = place.offset;
        record.Serialize(ar);
    }
    ar.Close();
    file.Close();
}
