#include "YearChart.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

#include "YearExport.h"

namespace {

QString DayHeading(const CCivilDate& date) {
    const std::string text = FormatSolarTime(CCivilTime{date, 0, 0, 0});
    return QString::fromStdString(text.substr(0, text.find(",  ")));
}

}  // namespace

CYearChart::CYearChart(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAccessibleName(QStringLiteral("Year chart"));
}

void CYearChart::ShowYear(const CYearTable& year, const CCivilDate& today) {
    m_year = year;
    m_data = YearChartData(year, today);
    update();
}

QList<QPointF> CYearChart::LinePoints(Line line) const {
    QList<QPointF> points;
    for (const QList<QPointF>& piece : m_data.lines[static_cast<std::size_t>(line)]) {
        points += piece;
    }
    return points;
}

int CYearChart::LinePieces(Line line) const {
    const auto& pieces = m_data.lines[static_cast<std::size_t>(line)];
    return static_cast<int>(std::count_if(pieces.begin(), pieces.end(),
                                          [](const QList<QPointF>& p) { return !p.isEmpty(); }));
}

QPointF CYearChart::BandOnDay(int level, bool evening, int dayIndex) const {
    const int slot = evening ? kBandLevels + (kBandLevels - 1 - level) : level;
    const auto& lower = m_data.lower[static_cast<std::size_t>(slot)];
    const auto& upper = m_data.upper[static_cast<std::size_t>(slot)];
    if (dayIndex < 0 || dayIndex >= lower.size()) {
        return {};
    }
    return QPointF(lower.at(dayIndex).y(), upper.at(dayIndex).y());
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
    for (const CYearAlmanacEvent& event : m_data.almanac) {
        if (event.dayIndex == dayIndex) {
            text += QStringLiteral("\n%1: %2")
                        .arg(QString::fromLatin1(AlmanacEventLabel(event.event)),
                             QString::fromStdString(ClockOf(event.local)));
        }
    }
    return text;
}

QPointF CYearChart::PositionOf(QPointF value) const {
    return YearChartPosition(m_plot, m_data.dayCount, value);
}

QSize CYearChart::sizeHint() const {
    const int line = fontMetrics().height();
    return QSize(line * 48, line * 28);
}

QSize CYearChart::minimumSizeHint() const {
    const int line = fontMetrics().height();
    return QSize(line * 18, line * 14);
}

void CYearChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    CYearChartStyle style;
    style.font = font();
    style.text = palette().color(QPalette::WindowText);
    m_plot = PaintYearChart(painter, QRectF(rect()), m_data, style);
}

void CYearChart::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    const QPointF at = event->position();
    if (!m_plot.contains(at) || m_data.dayCount == 0) {
        QToolTip::hideText();
        return;
    }
    const double day = (at.x() - m_plot.left()) / m_plot.width() * m_data.dayCount;
    const QString text = DayText(static_cast<int>(std::floor(day)));
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(event->globalPosition().toPoint(), text, this);
    }
}
