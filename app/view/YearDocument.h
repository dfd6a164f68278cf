// The year as the window's table rows, and as the files drawn from the year picture
// (YearPicture.h): a PNG picture and a PDF document.
//
// The PDF is laid out for its page at the writer's own resolution: the chart on a landscape
// first page, then the table on as many portrait pages as it needs, its heading repeated on
// each; all text is drawn as text, so it can be selected and searched. The page is A4, or US
// Letter where the locale measures in US units or its country uses Letter paper.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QLocale>
#include <QPageSize>
#include <QSize>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

#include "YearPicture.h"
#include "YearTable.h"

inline constexpr int kYearColumns = 8;
using CYearRow = std::array<QString, kYearColumns>;

// "Date", "Civil dawn", "Sunrise", "Solar noon", "Sunset", "Civil dusk", "Day length",
// "Change (min)".
const std::array<QString, kYearColumns>& YearHeadings();

// One row a day: the ISO date, the times (HH:MM:SS, " +1" for the next date, or "up all day"),
// the day length and its change from the day before in decimal minutes.
std::vector<CYearRow> YearRows(const CYearTable& year);

QPageSize YearPageSize(const QLocale& locale);

// The chart `logical` pixels large at `ratio` device pixels each, on white.
QImage YearChartImage(const CYearChartData& chart, const QString& title, QSize logical,
                      qreal ratio);

QByteArray YearPdf(const CYearChartData& chart, const std::vector<CYearRow>& rows,
                   const QString& title, const QLocale& locale);
