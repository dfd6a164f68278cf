// The main dialog's precise-engine commands, Precise Calculation and Day Details, and the one
// way the dialog computes its date.
#include <string>

#include "DayOnClock.h"
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
        const CDayOnClock day = DayOnTheClock(SolarEngine::Precise, kAllSunAltitudes);
        std::string heading = DateHeading(day.date);
        heading += m_cityName.empty() ? "" : ", " + m_cityName;
        m_window.ShowDayDetails(heading, SunDayLines(day.precise));
    });
}

CDayOnClock CDaybreakDlg::DayOnTheClock(SolarEngine engine, SunAltitudeMask altitudes) const {
    return SolarDayOnClock(CClockChoice::Fixed(m_timeZoneOffset, m_dst), LocalDateOf(m_date),
                           m_latitude, m_longitude, engine, altitudes);
}
