// CWorldMapDlg, "World Map": day and night over the world (CWorldMapView) for the main window's
// date, at a time of day chosen with a slider on the place's clock (now, when the date is
// today there), with the Sun's overhead point and the place marked. A click on the map picks
// that point for the main window, with the standard offset of the point's zone where the zone
// map knows it. "Export PNG..." saves the map as drawn. It is not modal; the main window keeps
// one and hands it each new place and date, as it does the year window.
#pragma once

#include <QDialog>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "YearTable.h"

class CWorldMapView;
class CZoneMap;
class QLabel;
class QSlider;

class CWorldMapDlg : public QDialog {
    Q_OBJECT

public:
    // The map file and the zone map from `directory` (empty: beside the executable).
    explicit CWorldMapDlg(const std::filesystem::path& directory, QWidget* parent = nullptr);
    ~CWorldMapDlg() override;

    // The place (WEST positive longitude), its clock and the date to show.
    void ShowRequest(const CYearRequest& request);
    const CYearRequest& Request() const { return m_request; }

    // Minutes after 00:00 on the place's clock.
    void SetMinutes(int minutes);
    // Seconds since 1970 UTC now; tests set a fixed instant.
    void SetClock(std::function<qint64()> now) { m_now = std::move(now); }

    CWorldMapView* Map() const { return m_map; }
    QSlider* Slider() const { return m_slider; }
    QString Heading() const;
    bool SavePng(const QString& path);

signals:
    // A point chosen on the map: degrees north, WEST positive, and the standard offset of its
    // zone in hours behind UTC when known.
    void PointPicked(double latitude, double longitudeWest, std::optional<float> offset);

private:
    void ShowInstant();
    void Pick(double latitude, double longitudeEast);
    void ExportPng();
    int ClockOffsetSeconds() const;

    CYearRequest m_request;
    bool m_shown = false;
    std::unique_ptr<CZoneMap> m_zones;
    std::function<qint64()> m_now;
    CWorldMapView* m_map = nullptr;
    QSlider* m_slider = nullptr;
    QLabel* m_time = nullptr;
    QLabel* m_heading = nullptr;
};
