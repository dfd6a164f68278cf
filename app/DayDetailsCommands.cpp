// The main dialog's precise-engine commands: Precise Calculation and Day Details.
#include <string>

#include "DaybreakDlg.h"
#include "LocalSolarTime.h"
#include "SunEvents.h"

namespace {

// "Thursday, June 21, 2007": the result text of the date without its clock time.
std::string DateHeading(const CCivilDate& date) {
    const std::string text = FormatSolarTime(CCivilTime{date, 0, 0, 0});
    return text.substr(0, text.find(",  "));
}

}  // namespace

void CDaybreakDlg::OnPreciseCalculation(bool on) {
    RunCommand([this, on] {
        UpdateData(true);
        m_precise = on;
        CalculateSolarTimes();
        UpdateData(false);
    });
}

void CDaybreakDlg::OnDayDetails() {
    RunCommand([this] {
        if (!UpdateData(true)) {
            return;
        }
        const CCivilDate date = LocalDateOf(m_date);
        const CSunDayEvents day =
            PreciseSunDay(date, m_latitude, m_longitude, m_timeZoneOffset, m_dst);
        std::string heading = DateHeading(date);
        heading += m_cityName.empty() ? "" : ", " + m_cityName;
        m_window.ShowDayDetails(heading, SunDayLines(day));
    });
}

// The three results as the precise engine gives them; all three before any member changes.
void CDaybreakDlg::CalculatePreciseTimes() {
    const CSunDayEvents day =
        PreciseSunDay(LocalDateOf(m_date), m_latitude, m_longitude, m_timeZoneOffset, m_dst,
                      SunAltitudeBit(SunAltitude::Horizon));
    m_sunrise = FormatSunEvent(day[SunEvent::Sunrise]);
    m_sunset = FormatSunEvent(day[SunEvent::Sunset]);
    m_solarNoon = FormatSunEvent(day[SunEvent::SolarNoon]);
}
