#include "YearPicture.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kBandNames[] = {"Night", "Astronomical twilight", "Nautical twilight",
                                      "Civil twilight"};
const QColor kBandColors[] = {QColor(0x1d, 0x26, 0x3f), QColor(0x33, 0x46, 0x6e),
                              QColor(0x55, 0x76, 0xa6), QColor(0x9c, 0xb6, 0xda)};
const QColor kDaylight(0xff, 0xf6, 0xd5);
const QColor kLineColors[] = {QColor(0xe0, 0x6c, 0x00), QColor(0xb0, 0x24, 0x2c),
                              QColor(0xc8, 0xa0, 0x00)};
constexpr const char* kLineNames[] = {"Sunrise", "Sunset", "Solar noon"};
const QColor kChosenColor(0x20, 0x80, 0x20);
const QColor kTodayColor(0x80, 0x80, 0x80);
const QColor kFullMoon(0xfa, 0xf7, 0xe8);
const QColor kNewMoon(0x1d, 0x26, 0x3f);
const QColor kSeasonColor(0x1f, 0x7a, 0x8c);

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
std::array<double, kYearBandLevels + 1> Edges(const CYearDay& day, bool evening) {
    const double noon = day.solarNoon.HasTime()
                            ? std::clamp(HoursIntoDay(day.solarNoon.time, day.date), 0.0, 24.0)
                            : 12.0;
    auto edge = [&](SolarOutcome outcome, const CCivilTime& time) {
        return Edge(outcome, time, day, evening, noon);
    };
    std::array<double, kYearBandLevels + 1> e{};
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

// A line is drawn in pieces between the days without the event, never across them.
std::vector<QList<QPointF>> Pieces(const std::vector<std::optional<double>>& hours) {
    std::vector<QList<QPointF>> pieces(1);
    for (std::size_t i = 0; i < hours.size(); ++i) {
        if (hours[i]) {
            pieces.back().append(QPointF(static_cast<double>(i) + 0.5, *hours[i]));
        } else if (!pieces.back().isEmpty()) {
            pieces.emplace_back();
        }
    }
    if (pieces.size() > 1 && pieces.back().isEmpty()) {
        pieces.pop_back();
    }
    return pieces;
}

bool IsChartMoon(AlmanacEvent event) {
    return event == AlmanacEvent::FullMoon || event == AlmanacEvent::NewMoon;
}

enum class Swatch { Band, Line, Chosen, Today, FullMoon, NewMoon, Season };

struct LegendEntry {
    Swatch swatch;
    QColor color;
    QString text;
};

std::vector<LegendEntry> Legend(const CYearChartData& data) {
    std::vector<LegendEntry> entries;
    for (int level = 0; level < kYearBandLevels; ++level) {
        entries.push_back(
            {Swatch::Band, kBandColors[level], QString::fromLatin1(kBandNames[level])});
    }
    for (int line = 0; line < 3; ++line) {
        entries.push_back({Swatch::Line, kLineColors[line], QString::fromLatin1(kLineNames[line])});
    }
    if (data.chosenX) {
        entries.push_back({Swatch::Chosen, kChosenColor, QStringLiteral("Chosen date")});
    }
    if (data.todayX) {
        entries.push_back({Swatch::Today, kTodayColor, QStringLiteral("Today")});
    }
    if (!data.almanac.empty()) {
        entries.push_back({Swatch::FullMoon, kFullMoon, QStringLiteral("Full moon")});
        entries.push_back({Swatch::NewMoon, kNewMoon, QStringLiteral("New moon")});
        entries.push_back({Swatch::Season, kSeasonColor, QStringLiteral("Equinox or solstice")});
    }
    return entries;
}

void DrawMoon(QPainter& painter, QPointF centre, double radius, bool full, const QColor& edge,
              double px) {
    painter.setPen(QPen(edge, px));
    painter.setBrush(full ? kFullMoon : kNewMoon);
    painter.drawEllipse(centre, radius, radius);
}

// A mark's colour where it stands on the window's own colour: lighter on a dark scheme's.
QColor OnBackground(const QColor& color, const QColor& text) {
    return text.lightness() > 128 ? color.lighter(170) : color;
}

// A triangle pointing up at `tip`.
void DrawSeason(QPainter& painter, QPointF tip, double size, const QColor& color) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPolygon(
        QPolygonF{tip, tip + QPointF(-size * 0.6, size), tip + QPointF(size * 0.6, size)});
}

void DrawSwatch(QPainter& painter, const LegendEntry& entry, const QRectF& box, const QColor& edge,
                double px) {
    const QPointF centre = box.center();
    switch (entry.swatch) {
        case Swatch::Band:
            painter.fillRect(box.adjusted(box.width() * 0.15, box.height() * 0.15,
                                          -box.width() * 0.15, -box.height() * 0.15),
                             entry.color);
            break;
        case Swatch::Line:
            painter.setPen(QPen(entry.color, 2.5 * px));
            painter.drawLine(QPointF(box.left(), centre.y()), QPointF(box.right(), centre.y()));
            break;
        case Swatch::Chosen:
        case Swatch::Today:
            painter.setPen(QPen(OnBackground(entry.color, edge), 1.5 * px,
                                entry.swatch == Swatch::Today ? Qt::DashLine : Qt::SolidLine));
            painter.drawLine(QPointF(centre.x(), box.top()), QPointF(centre.x(), box.bottom()));
            break;
        case Swatch::FullMoon:
        case Swatch::NewMoon:
            DrawMoon(painter, centre, box.height() * 0.3, entry.swatch == Swatch::FullMoon, edge,
                     px);
            break;
        case Swatch::Season:
            DrawSeason(painter, QPointF(centre.x(), box.top() + box.height() * 0.2),
                       box.height() * 0.6, OnBackground(entry.color, edge));
            break;
    }
}

QString MonthDay(const CCivilDate& date) {
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(kMonths[date.month - 1])).arg(date.day);
}

}  // namespace

CYearChartData YearChartData(const CYearTable& year, const CCivilDate& today) {
    CYearChartData data;
    const std::size_t count = year.days.size();
    data.dayCount = static_cast<int>(count);
    data.year = count > 0 ? year.days.front().date.year : year.request.date.year;
    data.chosen = year.request.date;
    std::array<std::vector<std::optional<double>>, 3> lines;
    for (std::size_t d = 0; d < count; ++d) {
        const CYearDay& day = year.days[d];
        const double x = static_cast<double>(d) + 0.5;
        for (int evening = 0; evening < 2; ++evening) {
            const auto edges = Edges(day, evening != 0);
            for (int level = 0; level < kYearBandLevels; ++level) {
                // Evening bands run from sunset outward: their darkest is the last.
                const auto slot = static_cast<std::size_t>(evening * kYearBandLevels + level);
                const auto edge = static_cast<std::size_t>(level);
                data.lower[slot].append(QPointF(x, edges[edge]));
                data.upper[slot].append(QPointF(x, edges[edge + 1]));
            }
        }
        lines[0].push_back(Hours(day.sunrise.outcome, day.sunrise.time, day.date));
        lines[1].push_back(Hours(day.sunset.outcome, day.sunset.time, day.date));
        lines[2].push_back(Hours(day.solarNoon.outcome, day.solarNoon.time, day.date));
    }
    for (std::size_t line = 0; line < 3; ++line) {
        data.lines[line] = Pieces(lines[line]);
    }
    auto markerX = [&](const CCivilDate& date) -> std::optional<double> {
        if (count == 0) {
            return std::nullopt;
        }
        const std::int64_t index = DaysFromCivil(date) - DaysFromCivil(year.days.front().date);
        if (index < 0 || index >= static_cast<std::int64_t>(count)) {
            return std::nullopt;
        }
        return static_cast<double>(index) + 0.5;
    };
    data.chosenX = markerX(year.request.date);
    data.todayX = markerX(today);
    data.almanac = YearAlmanac(year);
    return data;
}

QPointF YearChartPosition(const QRectF& plot, int dayCount, QPointF value) {
    const double days = std::max(dayCount, 1);
    return QPointF(plot.left() + value.x() / days * plot.width(),
                   plot.bottom() - value.y() / 24.0 * plot.height());
}

QStringList YearLegendTexts(const CYearChartData& data) {
    QStringList texts;
    for (const LegendEntry& entry : Legend(data)) {
        texts.append(entry.text);
    }
    return texts;
}

QRectF PaintYearChart(QPainter& painter, const QRectF& rect, const CYearChartData& data,
                      const CYearChartStyle& style) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // One pixel of a 96-dpi screen on this device: pens and gaps keep their look at any
    // resolution, and text takes the font's own size for the device.
    const double px = painter.device()->logicalDpiY() / 96.0;
    painter.setFont(style.font);
    const QFontMetricsF fm(style.font, painter.device());
    const double lh = fm.height();
    const double gap = lh * 0.4;
    if (style.background.isValid()) {
        painter.fillRect(rect, style.background);
    }
    QRectF area = rect.adjusted(gap, gap, -gap, -gap);

    if (!style.title.isEmpty()) {
        QFont titleFont = style.font;
        titleFont.setPointSizeF(style.font.pointSizeF() * 1.2);
        titleFont.setBold(true);
        painter.setFont(titleFont);
        painter.setPen(style.text);
        const QRectF used =
            painter.boundingRect(area, Qt::AlignHCenter | Qt::TextWordWrap, style.title);
        painter.drawText(area, Qt::AlignHCenter | Qt::TextWordWrap, style.title);
        area.setTop(used.bottom() + gap);
        painter.setFont(style.font);
    }

    // The legend's entries flow into rows from the bottom up, each at its full width.
    const std::vector<LegendEntry> legend = Legend(data);
    const double swatch = lh * 1.2;
    const double entryGap = lh;
    std::vector<std::vector<std::pair<const LegendEntry*, double>>> rows(1);
    double rowWidth = 0;
    std::vector<double> rowWidths;
    for (const LegendEntry& entry : legend) {
        const double width = swatch + gap + fm.horizontalAdvance(entry.text);
        if (!rows.back().empty() && rowWidth + entryGap + width > area.width()) {
            rowWidths.push_back(rowWidth);
            rows.emplace_back();
            rowWidth = 0;
        }
        rowWidth += (rows.back().empty() ? 0 : entryGap) + width;
        rows.back().emplace_back(&entry, width);
    }
    rowWidths.push_back(rowWidth);
    const double rowHeight = lh * 1.3;
    double y = area.bottom() - rowHeight * static_cast<double>(rows.size());
    area.setBottom(y - gap);
    painter.setPen(style.text);
    for (std::size_t r = 0; r < rows.size(); ++r, y += rowHeight) {
        double x = area.left() + std::max(0.0, (area.width() - rowWidths[r]) / 2);
        for (const auto& [entry, width] : rows[r]) {
            const QRectF box(x, y + (rowHeight - swatch) / 2, swatch, swatch);
            DrawSwatch(painter, *entry, box, style.text, px);
            painter.setPen(style.text);
            painter.drawText(QRectF(x + swatch + gap, y, width, rowHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, entry->text);
            x += width + entryGap;
        }
    }

    // Above the plot: a row for the markers' labels and one for the moons; below it, the
    // seasons' marks and the months.
    const double labelRow = lh;
    const double moonRow = lh * 0.9;
    const double markSize = lh * 0.5;
    const double hourWidth = fm.horizontalAdvance(QStringLiteral("24:00")) + gap;
    QRectF plot(area.left() + hourWidth, area.top() + labelRow + moonRow,
                area.width() - hourWidth - fm.horizontalAdvance(QStringLiteral("0")) * 1.5,
                area.height() - labelRow - moonRow - markSize - lh - gap);
    if (plot.width() <= 0 || plot.height() <= 0) {
        painter.restore();
        return plot;
    }
    const int days = std::max(data.dayCount, 1);
    auto at = [&](QPointF value) { return YearChartPosition(plot, days, value); };
    auto xOf = [&](double dayX) { return at(QPointF(dayX, 0)).x(); };

    painter.fillRect(plot, kDaylight);
    const QColor grid(0xe4, 0xe0, 0xd0);
    painter.setPen(QPen(grid, px));
    std::vector<int> monthEnds;
    for (int month = 1, end = 0; month <= 12 && data.dayCount > 0; ++month) {
        end += DaysInMonth(data.year, month);
        monthEnds.push_back(end);
    }
    for (int end : monthEnds) {
        painter.drawLine(QPointF(xOf(end), plot.top()), QPointF(xOf(end), plot.bottom()));
    }
    for (int hour = 3; hour < 24; hour += 3) {
        const double hy = at(QPointF(0, hour)).y();
        painter.drawLine(QPointF(plot.left(), hy), QPointF(plot.right(), hy));
    }

    painter.save();
    painter.setClipRect(plot);
    for (std::size_t slot = 0; slot < data.lower.size(); ++slot) {
        const QList<QPointF>& lower = data.lower[slot];
        const QList<QPointF>& upper = data.upper[slot];
        if (lower.isEmpty()) {
            continue;
        }
        // Out to the year's edges, half a day beyond the first and last points.
        QPolygonF band;
        band.append(at(QPointF(0, upper.front().y())));
        for (const QPointF& point : upper) {
            band.append(at(point));
        }
        band.append(at(QPointF(days, upper.back().y())));
        band.append(at(QPointF(days, lower.back().y())));
        for (auto point = lower.rbegin(); point != lower.rend(); ++point) {
            band.append(at(*point));
        }
        band.append(at(QPointF(0, lower.front().y())));
        const auto level = slot < kYearBandLevels ? slot : 2 * kYearBandLevels - 1 - slot;
        painter.setPen(Qt::NoPen);
        painter.setBrush(kBandColors[level]);
        painter.drawPolygon(band);
    }
    for (std::size_t line = 0; line < 3; ++line) {
        painter.setPen(QPen(kLineColors[line], 2 * px, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (const QList<QPointF>& piece : data.lines[line]) {
            QPolygonF polyline;
            for (const QPointF& point : piece) {
                polyline.append(at(point));
            }
            painter.drawPolyline(polyline);
        }
    }
    auto marker = [&](double x, const QColor& color, Qt::PenStyle pen) {
        painter.setPen(QPen(color, 1.5 * px, pen));
        painter.drawLine(QPointF(xOf(x), plot.top()), QPointF(xOf(x), plot.bottom()));
    };
    if (data.todayX) {
        marker(*data.todayX, kTodayColor, Qt::DashLine);
    }
    if (data.chosenX) {
        marker(*data.chosenX, kChosenColor, Qt::SolidLine);
    }
    painter.restore();
    painter.setPen(QPen(style.text, px));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);

    // The hours up the left, the months along the bottom, centred in their days.
    painter.setPen(style.text);
    for (int hour = 0; hour <= 24; hour += 3) {
        const double hy = at(QPointF(0, hour)).y();
        painter.drawText(QRectF(area.left(), hy - lh / 2, hourWidth - gap, lh),
                         Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("%1:00").arg(hour, 2, 10, QLatin1Char('0')));
    }
    const QRectF monthRow(plot.left(), plot.bottom() + markSize, plot.width(), lh);
    for (std::size_t month = 0, start = 0; month < monthEnds.size(); ++month) {
        const auto end = static_cast<std::size_t>(monthEnds[month]);
        const double left = xOf(static_cast<double>(start));
        painter.drawText(QRectF(left, monthRow.top(), xOf(static_cast<double>(end)) - left, lh),
                         Qt::AlignHCenter | Qt::AlignTop, QString::fromLatin1(kMonths[month]));
        start = end;
    }

    // Moons along the top, seasons on the axis, at their instants.
    for (const CYearAlmanacEvent& event : data.almanac) {
        const double x = xOf(event.dayIndex + event.dayFraction);
        if (event.IsSeason()) {
            DrawSeason(painter, QPointF(x, plot.bottom()), markSize,
                       OnBackground(kSeasonColor, style.text));
        } else if (IsChartMoon(event.event)) {
            DrawMoon(painter, QPointF(x, plot.top() - moonRow / 2), moonRow * 0.3,
                     event.event == AlmanacEvent::FullMoon, style.text, px);
        }
    }

    // The markers' labels above the moons, each centred on its line; when the two would meet,
    // each moves to the far side of its own line.
    const QRectF labels(plot.left(), area.top(), plot.width(), labelRow);
    auto box = [&](double x, const QString& text, int side) {
        const double width = fm.horizontalAdvance(text);
        const double cx = xOf(x);
        double left = side == 0 ? cx - width / 2 : side < 0 ? cx - width - gap / 2 : cx + gap / 2;
        left = std::clamp(left, labels.left(), std::max(labels.left(), labels.right() - width));
        return QRectF(left, labels.top(), width, labelRow);
    };
    const QString chosenText = MonthDay(data.chosen);
    const QString todayText = QStringLiteral("Today");
    int chosenSide = 0;
    int todaySide = 0;
    if (data.chosenX && data.todayX &&
        box(*data.chosenX, chosenText, 0).intersects(box(*data.todayX, todayText, 0))) {
        todaySide = *data.todayX < *data.chosenX ? -1 : 1;
        chosenSide = -todaySide;
    }
    auto label = [&](double x, const QString& text, const QColor& color, int side) {
        painter.setPen(OnBackground(color, style.text));
        painter.drawText(box(x, text, side), Qt::AlignLeft | Qt::AlignVCenter, text);
    };
    if (data.chosenX) {
        label(*data.chosenX, chosenText, kChosenColor, chosenSide);
    }
    if (data.todayX) {
        label(*data.todayX, todayText, kTodayColor, todaySide);
    }
    painter.restore();
    return plot;
}
