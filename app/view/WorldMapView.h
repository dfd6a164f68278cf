// CWorldMapView: the world in the equirectangular projection, the land and the country
// outlines of the world map file, shaded for the Sun at one instant (day, civil, nautical and
// astronomical twilight, night), with the subsolar point and the chosen place marked. A click
// picks a point; dragging pans and the wheel zooms (from the keyboard: the arrows pan, + and -
// zoom, 0 shows the whole world); hovering shows the point's coordinates and its local time.
//
// The land and outlines are drawn once per size and view into a picture; each frame copies it
// and darkens it row by row from the Sun's elevation there, which for a row of latitude phi is
// sin(phi) sin(decl) + cos(phi) cos(decl) cos(lon - subsolar lon): two numbers per row and one
// cosine per column.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

#include "SunPath.h"

class CWorldMap;

class CWorldMapView : public QWidget {
    Q_OBJECT

public:
    explicit CWorldMapView(std::shared_ptr<const CWorldMap> map, QWidget* parent = nullptr);

    // The instant shown, a Julian day in UT.
    void SetInstant(double julianDayUt);
    double Instant() const { return m_instant; }
    const CSubsolarPoint& Subsolar() const { return m_subsolar; }
    // The place marked: degrees north and EAST; none to mark nothing.
    void SetPlace(std::optional<QPointF> latLonEast);

    // Widget coordinates of a point (degrees north, east) and back.
    QPointF PointOf(double latitude, double longitudeEast) const;
    // (latitude, longitude east) at a widget point; none off the globe.
    std::optional<QPointF> LatLonAt(QPointF at) const;
    QString HoverText(QPointF at) const;
    // The clock of a point (degrees north, east) at the instant: "14:05 America/Chicago", or
    // empty to show the local mean time.
    void SetClockOfPoint(std::function<QString(double, double, double)> clock) {
        m_clockOfPoint = std::move(clock);
    }

    // The picture as painted: land, outlines and shading, without the marks.
    const QImage& Frame();
    // Everything, marks included, as the widget paints it.
    void Paint(QPainter& painter);

    QSize sizeHint() const override;

signals:
    // Degrees north and EAST.
    void PointPicked(double latitude, double longitudeEast);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    double Scale() const;  // pixels a degree
    void ViewChanged();
    void BuildLand();
    void Shade();

    std::shared_ptr<const CWorldMap> m_map;
    double m_instant = 0;
    CSubsolarPoint m_subsolar;
    std::optional<QPointF> m_place;
    double m_zoom = 1;       // 1: the whole world fits
    QPointF m_centre{0, 0};  // degrees east, north at the widget's centre
    QImage m_land;           // built once per size and view
    QImage m_frame;          // m_land shaded for m_instant
    bool m_frameStale = true;
    std::optional<QPointF> m_pressAt;  // where a press began, to tell a click from a drag
    QPointF m_lastDrag;
    bool m_dragged = false;
    std::function<QString(double, double, double)> m_clockOfPoint;
};
