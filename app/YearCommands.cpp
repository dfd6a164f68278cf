// The main dialog's part in the year window: the request it draws.
#include "DaybreakDlg.h"
#include "LocalSolarTime.h"

CYearRequest CDaybreakDlg::YearRequest() const {
    CYearRequest request;
    request.latitude = m_latitude;
    request.longitude = m_longitude;
    request.offset = m_timeZoneOffset;
    request.dst = m_dst;
    request.precise = m_precise;
    request.date = LocalDateOf(m_date);
    request.placeName = m_cityName;
    return request;
}
