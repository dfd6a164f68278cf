// CYearChart draws a year of a place's days: sunrise, sunset and solar noon as lines over the
// days in local clock time (hours 0 to 24 upward), the night and the three twilights shaded
// as bands, the chosen date and today as vertical lines, the months along the bottom. A
// change of clocks shows as the one-day step it is. A day without a crossing breaks the line
// there; the band it lies in then fills the day's whole height. Hovering shows the day's times.
//
// The series are made once and refilled for each new year, so a new place redraws quickly.
#pragma once

#include <QChartView>
#include <QList>
#include <QPointF>
#include <QString>

#include <array>
#include <optional>
#include <vector>

#include "YearTable.h"

class QAbstractSeries;
class QAreaSeries;
class QCategoryAxis;
class QLineSeries;

class CYearChart : public QChartView {
    Q_OBJECT

public:
    enum class Line { Sunrise, Sunset, SolarNoon };
    // Darkest first: night, astronomical, nautical and civil twilight.
    static constexpr int kBandLevels = 4;

    explicit CYearChart(QWidget* parent = nullptr);

    // `today` is marked when it lies in the year.
    void ShowYear(const CYearTable& year, const CCivilDate& today);

    // The line's points over all its pieces, x = day index + 0.5, y = hours.
    QList<QPointF> LinePoints(Line line) const;
    int LinePieces(Line line) const;
    // The band's extent on one day in hours (lower, upper) in the morning or evening.
    QPointF BandOnDay(int level, bool evening, int dayIndex) const;
    // What hovering over the day shows; empty outside the year.
    QString DayText(int dayIndex) const;
    // The x of the chosen date and of today's marker, or nothing when not shown.
    std::optional<double> ChosenDateX() const;
    std::optional<double> TodayX() const;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    struct Band {
        QLineSeries* lower = nullptr;
        QLineSeries* upper = nullptr;
        QAreaSeries* area = nullptr;
    };

    void CreateSeries();
    void AddToAxes(QAbstractSeries* series);
    void FillLine(Line line, const std::vector<std::optional<double>>& hours);
    QLineSeries* NewLinePiece(Line line);
    void SetMonthAxis(int year);
    static std::optional<double> MarkerX(QLineSeries* marker);

    CYearTable m_year;
    QCategoryAxis* m_xAxis = nullptr;
    QCategoryAxis* m_yAxis = nullptr;
    std::array<Band, 2 * kBandLevels> m_bands{};  // morning levels, then evening levels
    std::array<std::vector<QLineSeries*>, 3> m_lines{};
    QLineSeries* m_chosenMarker = nullptr;
    QLineSeries* m_todayMarker = nullptr;
    int m_monthAxisYear = 0;
};
