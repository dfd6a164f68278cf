// The year chart as a picture: what it shows (CYearChartData, made once per year) and one
// routine that draws it into any rectangle of any paint device, so that the window, the PNG
// picture and the PDF page are the same drawing, each laid out for its own resolution.
//
// Sunrise, sunset and solar noon are lines over the days in local clock time (hours 0 to 24
// upward), the night and the three twilights shaded as bands, the chosen date and today as
// labelled vertical lines, the full and new moons as discs along the top, the equinoxes and
// solstices as marks on the axis, the months along the bottom and a legend that wraps onto
// as many rows as it needs (its labels are never shortened).
//
//     CYearChartData data = YearChartData(year, today);
//     CYearChartStyle style;
//     style.font = painter.font();
//     const QRectF plot = PaintYearChart(painter, rect, data, style);
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <array>
#include <optional>
#include <vector>

#include "YearAlmanac.h"
#include "YearTable.h"

class QPainter;

inline constexpr int kYearBandLevels = 4;  // night, astronomical, nautical, civil twilight

struct CYearChartData {
    int year = 0;
    int dayCount = 0;
    // Per band slot, the morning levels darkest first, then the evening levels darkest last:
    // the band's lower and upper edge in hours, one point a day at x = day index + 0.5.
    std::array<QList<QPointF>, 2 * kYearBandLevels> lower, upper;
    // Sunrise, sunset and solar noon, each in pieces between the days without the event.
    std::array<std::vector<QList<QPointF>>, 3> lines;
    std::optional<double> chosenX;  // the chosen date's x, when in the year
    std::optional<double> todayX;   // today's, likewise
    CCivilDate chosen;
    std::vector<CYearAlmanacEvent> almanac;  // phases and seasons on the year's clock
};

CYearChartData YearChartData(const CYearTable& year, const CCivilDate& today);

struct CYearChartStyle {
    QFont font;  // labels and legend, resolved for the painter's device
    QColor text{Qt::black};
    QColor background;  // around the plot; not filled when invalid
    QString title;      // above the chart, wrapped; none when empty
};

// Draws the chart into `rect` (the painter's coordinates) and returns the plot area, where x
// runs over the days (0 to dayCount) and y over the hours (24 at the top).
QRectF PaintYearChart(QPainter& painter, const QRectF& rect, const CYearChartData& data,
                      const CYearChartStyle& style);

// The point of (day, hours) in a plot area PaintYearChart returned.
QPointF YearChartPosition(const QRectF& plot, int dayCount, QPointF value);

// The texts the legend shows, in order.
QStringList YearLegendTexts(const CYearChartData& data);
