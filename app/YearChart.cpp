#include "YearChart.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QToolTip>

#include <algorithm>
#include <cmath>

#include "YearExport.h"

namespace {

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kBandNames[] = {"Night", "Astronomical twilight", "Nautical twilight",
                                      "Civil twilight"};
const QColor kBandColors[] = {QColor(0x1d, 0x26, 0x3f), QColor(0x33, 0x46, 0x6e),
                              QColor(0x55, 0x76, 0xa6), QColor(0x9c, 0xb6, 0xda)};
const QColor kLineColors[] = {QColor(0xe0, 0x6c, 0x00), QColor(0xb0, 0x24, 0x2c),
                              QColor(0xc8, 0xa0, 0x00)};
constexpr const char* kLineNames[] = {"Sunrise", "Sunset", "Solar noon"};

std::optional<double> Hours(SolarOutcome outcome, const CCivilTime& time, const CCivilDate& day) {
    if (outcome != SolarOutcome::Time) {
        return std::nullopt;
    }
    return HoursIntoDay(time, day);
}

// Where a band edge lies on a day: the event's time, or for a day without the crossing the
// edge of the morning (0) or evening (24) when the Sun stays above that altitude, and noon
// when it stays below, so that the band below that altitude spans the day.
double Edge(SolarOutcome outcome, const CCivilTime& time, const CYearDay& day, bool evening,
            double noon) {
    switch (outcome) {
        case SolarOutcome::Time:
            return std::clamp(HoursIntoDay(time, day.date), 0.0, 24.0);
        case SolarOutcome::UpAllDay:
            return evening ? 24.0 : 0.0;
        case SolarOutcome::DownAllDay:
            break;
    }
    return noon;
}

// The edges of the morning's bands from midnight up to sunrise, or the evening's from sunset
// up to midnight, kept in order.
std::array<double, CYearChart::kBandLevels + 1> Edges(const CYearDay& day, bool evening) {
    const double noon = day.solarNoon.HasTime()
                            ? std::clamp(HoursIntoDay(day.solarNoon.time, day.date), 0.0, 24.0)
                            : 12.0;
    auto edge = [&](SolarOutcome outcome, const CCivilTime& time) {
        return Edge(outcome, time, day, evening, noon);
    };
    std::array<double, CYearChart::kBandLevels + 1> e{};
    if (!evening) {
        const double sunrise = edge(day.sunrise.outcome, day.sunrise.time);
        e = {0.0, sunrise, sunrise, sunrise, sunrise};
        if (day.hasTwilights) {
            e[1] = edge(day.astronomicalDawn.outcome, day.astronomicalDawn.time);
            e[2] = edge(day.nauticalDawn.outcome, day.nauticalDawn.time);
            e[3] = edge(day.civilDawn.outcome, day.civilDawn.time);
        }
        e[4] = std::min(e[4], noon);
    } else {
        const double sunset = edge(day.sunset.outcome, day.sunset.time);
        e = {sunset, sunset, sunset, sunset, 24.0};
        if (day.hasTwilights) {
            e[1] = edge(day.civilDusk.outcome, day.civilDusk.time);
            e[2] = edge(day.nauticalDusk.outcome, day.nauticalDusk.time);
            e[3] = edge(day.astronomicalDusk.outcome, day.astronomicalDusk.time);
        }
        e[0] = std::max(e[0], noon);
    }
    for (std::size_t i = 1; i < e.size(); ++i) {
        e[i] = std::max(e[i], e[i - 1]);
    }
    return e;
}

QString DayHeading(const CCivilDate& date) {
    const std::string text = FormatSolarTime(CCivilTime{date, 0, 0, 0});
    return QString::fromStdString(text.substr(0, text.find(",  ")));
}

}  // namespace

CYearChart::CYearChart(QWidget* parent) : QChartView(new QChart, parent) {
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
    chart()->setMargins(QMargins(4, 4, 4, 4));
    chart()->setPlotAreaBackgroundBrush(QColor(0xff, 0xf6, 0xd5));
    chart()->setPlotAreaBackgroundVisible(true);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    CreateSeries();
}

void CYearChart::CreateSeries() {
    m_xAxis = new QCategoryAxis(this);
    m_xAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
    chart()->addAxis(m_xAxis, Qt::AlignBottom);
    m_yAxis = new QCategoryAxis(this);
    m_yAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (int hour = 0; hour <= 24; hour += 3) {
        m_yAxis->append(QStringLiteral("%1:00").arg(hour, 2, 10, QLatin1Char('0')), hour);
    }
    m_yAxis->setRange(0, 24);
    chart()->addAxis(m_yAxis, Qt::AlignLeft);

    for (int i = 0; i < 2 * kBandLevels; ++i) {
        const int level = i < kBandLevels ? i : 2 * kBandLevels - 1 - i;
        Band& band = m_bands[static_cast<std::size_t>(i)];
        band.lower = new QLineSeries(this);
        band.upper = new QLineSeries(this);
        band.area = new QAreaSeries(band.upper, band.lower);
        band.area->setName(QString::fromLatin1(kBandNames[level]));
        band.area->setColor(kBandColors[level]);
        band.area->setBorderColor(kBandColors[level]);
        band.area->setPen(Qt::NoPen);
        chart()->addSeries(band.area);
        AddToAxes(band.area);
        // One legend entry per level: the evening's bands repeat the morning's.
        if (i >= kBandLevels) {
            chart()->legend()->markers(band.area).front()->setVisible(false);
        }
    }
    for (int line = 0; line < 3; ++line) {
        NewLinePiece(static_cast<Line>(line));
    }
    auto marker = [this](const QString& name, const QColor& color, Qt::PenStyle style) {
        auto* series = new QLineSeries(this);
        series->setName(name);
        QPen pen(color, 1.5, style);
        series->setPen(pen);
        chart()->addSeries(series);
        AddToAxes(series);
        return series;
    };
    m_chosenMarker = marker(QStringLiteral("Chosen date"), QColor(0x20, 0x80, 0x20), Qt::SolidLine);
    m_todayMarker = marker(QStringLiteral("Today"), QColor(0x60, 0x60, 0x60), Qt::DashLine);
}

void CYearChart::AddToAxes(QAbstractSeries* series) {
    series->attachAxis(m_xAxis);
    series->attachAxis(m_yAxis);
}

QLineSeries* CYearChart::NewLinePiece(Line line) {
    const auto index = static_cast<std::size_t>(line);
    auto* series = new QLineSeries(this);
    series->setName(QString::fromLatin1(kLineNames[index]));
    series->setPen(QPen(kLineColors[index], 2));
    chart()->addSeries(series);
    AddToAxes(series);
    if (!m_lines[index].empty()) {
        chart()->legend()->markers(series).front()->setVisible(false);
    }
    m_lines[index].push_back(series);
    return series;
}

void CYearChart::SetMonthAxis(int year) {
    if (year == m_monthAxisYear) {
        return;
    }
    m_monthAxisYear = year;
    for (const QString& label : m_xAxis->categoriesLabels()) {
        m_xAxis->remove(label);
    }
    int end = 0;
    for (int month = 1; month <= 12; ++month) {
        end += DaysInMonth(year, month);
        m_xAxis->append(QString::fromLatin1(kMonths[month - 1]), end);
    }
    m_xAxis->setStartValue(0);
    m_xAxis->setRange(0, end);
}

// A line is drawn in pieces between the days without the event, never across them.
void CYearChart::FillLine(Line line, const std::vector<std::optional<double>>& hours) {
    std::vector<QList<QPointF>> pieces(1);
    for (std::size_t i = 0; i < hours.size(); ++i) {
        if (hours[i]) {
            pieces.back().append(QPointF(static_cast<double>(i) + 0.5, *hours[i]));
        } else if (!pieces.back().isEmpty()) {
            pieces.emplace_back();
        }
    }
    auto& series = m_lines[static_cast<std::size_t>(line)];
    while (series.size() < pieces.size()) {
        NewLinePiece(line);
    }
    for (std::size_t i = 0; i < series.size(); ++i) {
        series[i]->replace(i < pieces.size() ? pieces[i] : QList<QPointF>());
    }
}

void CYearChart::ShowYear(const CYearTable& year, const CCivilDate& today) {
    m_year = year;
    const std::size_t count = year.days.size();
    std::array<QList<QPointF>, 2 * kBandLevels> lower, upper;
    std::array<std::vector<std::optional<double>>, 3> lines;
    for (auto& line : lines) {
        line.reserve(count);
    }
    for (std::size_t d = 0; d < count; ++d) {
        const CYearDay& day = year.days[d];
        const double x = static_cast<double>(d) + 0.5;
        for (int evening = 0; evening < 2; ++evening) {
            const auto edges = Edges(day, evening != 0);
            for (int level = 0; level < kBandLevels; ++level) {
                // Evening bands run from sunset outward: their darkest is the last.
                const auto slot = static_cast<std::size_t>(evening * kBandLevels + level);
                const auto edge = static_cast<std::size_t>(level);
                lower[slot].append(QPointF(x, edges[edge]));
                upper[slot].append(QPointF(x, edges[edge + 1]));
            }
        }
        lines[0].push_back(Hours(day.sunrise.outcome, day.sunrise.time, day.date));
        lines[1].push_back(Hours(day.sunset.outcome, day.sunset.time, day.date));
        lines[2].push_back(Hours(day.solarNoon.outcome, day.solarNoon.time, day.date));
    }
    for (std::size_t i = 0; i < m_bands.size(); ++i) {
        m_bands[i].lower->replace(lower[i]);
        m_bands[i].upper->replace(upper[i]);
    }
    for (int line = 0; line < 3; ++line) {
        FillLine(static_cast<Line>(line), lines[static_cast<std::size_t>(line)]);
    }
    if (count > 0) {
        SetMonthAxis(year.days.front().date.year);
    }
    auto mark = [&](QLineSeries* marker, const CCivilDate& date) {
        const std::int64_t index =
            count == 0 ? -1 : DaysFromCivil(date) - DaysFromCivil(year.days.front().date);
        const bool shown = index >= 0 && index < static_cast<std::int64_t>(count);
        chart()->legend()->markers(marker).front()->setVisible(shown);
        if (!shown) {
            marker->clear();
            return;
        }
        const double x = static_cast<double>(index) + 0.5;
        marker->replace(QList<QPointF>{QPointF(x, 0), QPointF(x, 24)});
    };
    mark(m_chosenMarker, year.request.date);
    mark(m_todayMarker, today);
}

QList<QPointF> CYearChart::LinePoints(Line line) const {
    QList<QPointF> points;
    for (const QLineSeries* piece : m_lines[static_cast<std::size_t>(line)]) {
        points += piece->points();
    }
    return points;
}

int CYearChart::LinePieces(Line line) const {
    const auto& pieces = m_lines[static_cast<std::size_t>(line)];
    return static_cast<int>(std::count_if(pieces.begin(), pieces.end(),
                                          [](const QLineSeries* s) { return s->count() > 0; }));
}

QPointF CYearChart::BandOnDay(int level, bool evening, int dayIndex) const {
    const int slot = evening ? kBandLevels + (kBandLevels - 1 - level) : level;
    const Band& band = m_bands[static_cast<std::size_t>(slot)];
    if (dayIndex < 0 || dayIndex >= band.lower->count()) {
        return {};
    }
    return QPointF(band.lower->at(dayIndex).y(), band.upper->at(dayIndex).y());
}

QString CYearChart::DayText(int dayIndex) const {
    if (dayIndex < 0 || dayIndex >= static_cast<int>(m_year.days.size())) {
        return {};
    }
    const CYearDay& day = m_year.days[static_cast<std::size_t>(dayIndex)];
    auto line = [&](const char* name, SolarOutcome outcome, const CCivilTime& time) {
        return QStringLiteral("\n%1: %2")
            .arg(QString::fromLatin1(name),
                 QString::fromStdString(EventCell(outcome, time, day.date)));
    };
    QString text =
        DayHeading(day.date) +
        QStringLiteral(" (UTC%1)").arg(QString::fromStdString(OffsetText(day.utcOffsetSeconds)));
    if (day.hasTwilights) {
        text += line("Civil dawn", day.civilDawn.outcome, day.civilDawn.time);
    }
    text += line("Sunrise", day.sunrise.outcome, day.sunrise.time);
    text += line("Solar noon", day.solarNoon.outcome, day.solarNoon.time);
    text += line("Sunset", day.sunset.outcome, day.sunset.time);
    if (day.hasTwilights) {
        text += line("Civil dusk", day.civilDusk.outcome, day.civilDusk.time);
    }
    text += QStringLiteral("\nDay length: %1")
                .arg(QString::fromStdString(DurationText(DayLengthSeconds(day))));
    return text;
}

std::optional<double> CYearChart::MarkerX(QLineSeries* marker) {
    if (marker->count() == 0) {
        return std::nullopt;
    }
    return marker->at(0).x();
}

std::optional<double> CYearChart::ChosenDateX() const {
    return MarkerX(m_chosenMarker);
}

std::optional<double> CYearChart::TodayX() const {
    return MarkerX(m_todayMarker);
}

void CYearChart::mouseMoveEvent(QMouseEvent* event) {
    QChartView::mouseMoveEvent(event);
    const QPointF inScene = mapToScene(event->position().toPoint());
    const QPointF inChart = chart()->mapFromScene(inScene);
    if (!chart()->plotArea().contains(inChart)) {
        QToolTip::hideText();
        return;
    }
    const QPointF value = chart()->mapToValue(inChart);
    const QString text = DayText(static_cast<int>(std::floor(value.x())));
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(event->globalPosition().toPoint(), text, this);
    }
}
