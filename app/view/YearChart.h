// CYearChart shows a year of a place's days as the year picture draws it (YearPicture.h) on
// the window's own colours. Hovering over a day shows its times, and the Moon's phase or the
// season that falls on it.
//
// The picture's data is made once per year, so a repaint only draws.
#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <optional>

#include "YearPicture.h"
#include "YearTable.h"

class CYearChart : public QWidget {
    Q_OBJECT

public:
    enum class Line { Sunrise, Sunset, SolarNoon };
    // Darkest first: night, astronomical, nautical and civil twilight.
    static constexpr int kBandLevels = kYearBandLevels;

    explicit CYearChart(QWidget* parent = nullptr);

    // `today` is marked when it lies in the year.
    void ShowYear(const CYearTable& year, const CCivilDate& today);
    const CYearChartData& Data() const { return m_data; }

    // The line's points over all its pieces, x = day index + 0.5, y = hours.
    QList<QPointF> LinePoints(Line line) const;
    int LinePieces(Line line) const;
    // The band's extent on one day in hours (lower, upper) in the morning or evening.
    QPointF BandOnDay(int level, bool evening, int dayIndex) const;
    // What hovering over the day shows; empty outside the year.
    QString DayText(int dayIndex) const;
    // The x of the chosen date and of today's marker, or nothing when not shown.
    std::optional<double> ChosenDateX() const { return m_data.chosenX; }
    std::optional<double> TodayX() const { return m_data.todayX; }
    // Where (day, hours) is drawn in the widget, as last painted.
    QPointF PositionOf(QPointF value) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    CYearTable m_year;
    CYearChartData m_data;
    QRectF m_plot;
};
