// The main dialog's part in the year window: the request it draws.
#include "DaybreakDlg.h"
#include "LocalSolarTime.h"
#include "Windows1252.h"

CYearRequest CDaybreakDlg::YearRequest() const {
    CYearRequest request;
    request.latitude = m_latitude;
    request.longitude = m_longitude;
    request.offset = m_timeZoneOffset;
    request.dst = m_dst;
    request.precise = m_precise;
    if (const std::string* zone = ZoneByTheDate()) {
        request.zoneName = *zone;
        request.fromDate = true;
    }
    request.date = LocalDateOf(m_date);
    request.placeName = Windows1252ToUtf8(m_cityName);  // archive text is Windows-1252
    if (m_place && !m_cityName.empty()) {
        request.stateCode = m_place->state;  // for the export's file name
    }
    return request;
}
