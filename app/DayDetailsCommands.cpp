// The main dialog's precise-engine commands, Precise Calculation and Day Details, and the one
// way the dialog computes its date.
#include <string>

#include "DayOnClock.h"
#include "DaybreakDlg.h"
#include "LocalSolarTime.h"
#include "ResultText.h"
#include "SunEvents.h"

void CDaybreakDlg::OnPreciseCalculation(bool on) {
    RunCommand([this, on] {
        UpdateData(true);
        m_precise = on;
        CalculateSolarTimes();
        UpdateData(false);
    });
}

// The day of the fields' place on their clock. Sunrise, sunset and solar noon come from the
// engine the main window uses, so that the two agree; the other events only the precise
// engine has.
void CDaybreakDlg::OnDayDetails() {
    RunCommand([this] {
        if (!UpdateData(true)) {
            return;
        }
        CDayDetails details;
        if (YearRequest().IsEmpty()) {
            details.heading = "No place chosen";
            details.note = "Choose a place, or type its latitude, longitude and time zone.";
            m_window.ShowDayDetails(details);
            return;
        }
        const SolarEngine engine = m_precise ? SolarEngine::Precise : SolarEngine::Series;
        const CDayOnClock day = DayOnTheClock(engine, kAllSunAltitudes);
        const std::string date = DateText(day.date);
        details.heading = date + (m_cityName.empty() ? "" : ", " + m_cityName);
        details.note = m_precise
                           ? "All times from the precise engine (Precise Calculation is on)."
                           : "Sunrise, sunset and solar noon as in the main window; the twilights "
                             "and the golden and blue hours from the precise engine.";
        details.lines = SunDayLines(day.precise, [&](const CSunEventResult& result) {
            switch (result.event) {
                case SunEvent::Sunrise:
                    return ClockOnDate(day.sunrise, date);
                case SunEvent::Sunset:
                    return ClockOnDate(day.sunset, date);
                case SunEvent::SolarNoon:
                    return ClockOnDate(day.solarNoon, date);
                default:
                    return result.HasTime() ? ClockOnDate(ToSolarResult(result), date)
                                            : FormatSunEvent(result);
            }
        });
        m_window.ShowDayDetails(details);
    });
}

CDayOnClock CDaybreakDlg::DayOnTheClock(SolarEngine engine, SunAltitudeMask altitudes) const {
    return SolarDayOnClock(CClockChoice::Fixed(m_timeZoneOffset, m_dst), LocalDateOf(m_date),
                           m_latitude, m_longitude, engine, altitudes);
}
