// The main dialog's command from the world map: a point picked becomes the typed place.
#include <optional>

#include "DaybreakDlg.h"

void CDaybreakDlg::OnMapPoint(double latitude, double longitude, std::optional<float> offset) {
    RunCommand([this, latitude, longitude, offset] {
        if (!UpdateData(true)) {
            return;
        }
        m_latitude = latitude;
        m_longitude = longitude;
        if (offset) {
            m_timeZoneOffset = *offset;
        }
        // The point is no longer the listed place: its names would mislabel the times.
        m_place.reset();
        m_cityName.clear();
        m_countyName.clear();
        m_cityCombo.SetCurSel(-1);
        m_zipCombo.SetCurSel(-1);
        CalculateSolarTimes();
        UpdateData(false);
    });
}
