// CSunDayChartView: the Sun's day in Day Details. The Sun's elevation over the 24 hours of the
// date on the place's clock, over bands of night, astronomical, nautical and civil twilight
// and day, with the golden and blue hours shaded; sunrise, sunset and solar noon marked with
// their clock times; on today's date a mark for now that follows the clock. Beside it a
// compass rose with the directions of sunrise, sunset, the noon Sun, moonrise and moonset.
// Hovering over the plot shows the time, elevation and azimuth there.
#pragma once

#include <QWidget>

#include <functional>
#include <optional>

#include "DialogControls.h"

class QTimer;

class CSunDayChartView : public QWidget {
    Q_OBJECT

public:
    explicit CSunDayChartView(CSunDayChart chart, QWidget* parent = nullptr);

    const CSunDayChart& Chart() const { return m_chart; }
    // The plot's scale in the widget's coordinates.
    QRectF PlotRect() const;
    double XOfMinutes(double minutes) const;
    double YOfElevation(double elevation) const;
    // Where the marks are painted; none for a day without the event.
    std::optional<double> SunriseX() const;
    // "14:05  elevation 45.2°  azimuth 220.1°" at a point of the plot; empty outside it.
    QString HoverText(QPointF at) const;
    // Seconds since 1970 UTC now; tests and pictures set a fixed instant.
    void SetClock(std::function<qint64()> now);
    // Minutes after 00:00 on the chart's clock when now falls on its date.
    std::optional<double> NowMinutes() const;

    void Paint(QPainter& painter) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    CSunSky SkyAt(double minutes) const;
    QRectF RoseRect() const;
    double RoseColumn() const;
    void PaintBands(QPainter& painter, const QRectF& plot) const;
    void PaintAxes(QPainter& painter, const QRectF& plot) const;
    void PaintMarks(QPainter& painter, const QRectF& plot) const;
    void PaintRose(QPainter& painter) const;

    CSunDayChart m_chart;
    double m_low = -30;  // the elevation scale, degrees
    double m_high = 30;
    double m_keyColumn = 0;  // the width of one of the key's two columns under the rose
    std::function<qint64()> m_now;
    QTimer* m_tick = nullptr;
};
