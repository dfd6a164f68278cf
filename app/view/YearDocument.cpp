#include "YearDocument.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <optional>

#include "YearExport.h"

namespace {

QString Cell(const std::string& text) {
    return QString::fromStdString(text);
}

// The countries that print on US Letter though they measure in metric units.
bool UsesLetter(const QLocale& locale) {
    static constexpr QLocale::Territory kLetter[] = {
        QLocale::UnitedStates, QLocale::Canada,           QLocale::Mexico,    QLocale::Philippines,
        QLocale::Chile,        QLocale::Colombia,         QLocale::Venezuela, QLocale::PuertoRico,
        QLocale::CostaRica,    QLocale::Guatemala,        QLocale::Panama,    QLocale::ElSalvador,
        QLocale::Nicaragua,    QLocale::DominicanRepublic};
    return locale.measurementSystem() == QLocale::ImperialUSSystem ||
           std::find(std::begin(kLetter), std::end(kLetter), locale.territory()) !=
               std::end(kLetter);
}

QFont DocumentFont(double points) {
    QFont font = QGuiApplication::font();
    font.setPointSizeF(points);
    return font;
}

int Align(std::size_t column) {
    return static_cast<int>((column == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
}

// The table pages: the title, the headings and as many rows as fit, the page's number below.
void PaintTablePages(QPdfWriter& writer, QPainter& painter, const std::vector<CYearRow>& rows,
                     const QString& title, int firstPage) {
    const QFont font = DocumentFont(9);
    QFont bold = font;
    bold.setBold(true);
    const QFontMetricsF fm(font, &writer);
    const QFontMetricsF boldFm(bold, &writer);
    const double gap = fm.horizontalAdvance(QStringLiteral("MM"));
    std::array<double, kYearColumns> widths{};
    for (std::size_t column = 0; column < kYearColumns; ++column) {
        double width = boldFm.horizontalAdvance(YearHeadings()[column]);
        for (const CYearRow& row : rows) {
            width = std::max(width, fm.horizontalAdvance(row[column]));
        }
        widths[column] = width;
    }
    const QRectF page = writer.pageLayout().paintRectPixels(writer.resolution()).toRectF();
    const QRectF pageArea(0, 0, page.width(), page.height());
    const double line = fm.lineSpacing() * 1.2;
    double total = gap * (kYearColumns - 1);
    for (double width : widths) {
        total += width;
    }
    const double left = std::max(0.0, (pageArea.width() - total) / 2);
    const double top = line * 3;  // the title and the headings
    const std::size_t perPage = std::max<std::size_t>(
        1, static_cast<std::size_t>((pageArea.height() - top - line * 2) / line));
    const std::size_t pages = (rows.size() + perPage - 1) / perPage;
    for (std::size_t sheet = 0; sheet < pages; ++sheet) {
        writer.newPage();
        painter.setPen(Qt::black);
        painter.setFont(bold);
        painter.drawText(QRectF(0, 0, pageArea.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                         title);
        double x = left;
        for (std::size_t column = 0; column < kYearColumns; ++column) {
            painter.drawText(QRectF(x, line * 1.5, widths[column], line), Align(column),
                             YearHeadings()[column]);
            x += widths[column] + gap;
        }
        painter.setPen(QPen(Qt::black, writer.resolution() / 144.0));
        painter.drawLine(QPointF(left, top - line * 0.4), QPointF(left + total, top - line * 0.4));
        painter.setFont(font);
        const std::size_t first = sheet * perPage;
        const std::size_t end = std::min(rows.size(), first + perPage);
        for (std::size_t r = first; r < end; ++r) {
            x = left;
            const double y = top + line * static_cast<double>(r - first);
            for (std::size_t column = 0; column < kYearColumns; ++column) {
                painter.drawText(QRectF(x, y, widths[column], line), Align(column),
                                 rows[r][column]);
                x += widths[column] + gap;
            }
        }
        painter.drawText(QRectF(0, pageArea.height() - line, pageArea.width(), line),
                         Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("Page %1 of %2")
                             .arg(static_cast<std::size_t>(firstPage) + sheet + 1)
                             .arg(static_cast<std::size_t>(firstPage) + pages));
    }
}

}  // namespace

const std::array<QString, kYearColumns>& YearHeadings() {
    static const std::array<QString, kYearColumns> headings = {
        QStringLiteral("Date"),       QStringLiteral("Civil dawn"),  QStringLiteral("Sunrise"),
        QStringLiteral("Solar noon"), QStringLiteral("Sunset"),      QStringLiteral("Civil dusk"),
        QStringLiteral("Day length"), QStringLiteral("Change (min)")};
    return headings;
}

// Times are HH:MM:SS and day lengths HH:MM:SS, both zero-padded, so that they sort as times;
// the change is in decimal minutes, so it sorts as a number.
std::vector<CYearRow> YearRows(const CYearTable& year) {
    std::vector<CYearRow> rows;
    rows.reserve(year.days.size());
    std::optional<std::int64_t> previous;
    for (const CYearDay& day : year.days) {
        const auto length = DayLengthSeconds(day);
        auto event = [&](SolarOutcome outcome, const CCivilTime& time) {
            return Cell(EventCell(outcome, time, day.date));
        };
        CYearRow row;
        row[0] = Cell(IsoDate(day.date));
        if (day.hasTwilights) {
            row[1] = event(day.civilDawn.outcome, day.civilDawn.time);
            row[5] = event(day.civilDusk.outcome, day.civilDusk.time);
        }
        row[2] = event(day.sunrise.outcome, day.sunrise.time);
        row[3] = event(day.solarNoon.outcome, day.solarNoon.time);
        row[4] = event(day.sunset.outcome, day.sunset.time);
        row[6] = Cell(DurationText(length));
        if (length && previous) {
            row[7] = QString::asprintf("%+.2f", static_cast<double>(*length - *previous) / 60.0);
        }
        previous = length;
        rows.push_back(std::move(row));
    }
    return rows;
}

QPageSize YearPageSize(const QLocale& locale) {
    return QPageSize(UsesLetter(locale) ? QPageSize::Letter : QPageSize::A4);
}

QImage YearChartImage(const CYearChartData& chart, const QString& title, QSize logical,
                      qreal ratio) {
    QImage image(logical * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    CYearChartStyle style;
    style.font = QGuiApplication::font();
    style.title = title;
    PaintYearChart(painter, QRectF(QPointF(0, 0), QSizeF(logical)), chart, style);
    return image;
}

QByteArray YearPdf(const CYearChartData& chart, const std::vector<CYearRow>& rows,
                   const QString& title, const QLocale& locale) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Daybreak"));
    const QMarginsF margins(12, 12, 12, 12);
    writer.setPageLayout(QPageLayout(YearPageSize(locale), QPageLayout::Landscape, margins,
                                     QPageLayout::Millimeter));
    QPainter painter(&writer);
    // The painter's coordinates are the writer's pixels from the corner of the margins.
    const QRectF chartPage(QPointF(0, 0),
                           writer.pageLayout().paintRectPixels(writer.resolution()).size());
    CYearChartStyle style;
    style.font = DocumentFont(9);
    style.title = title;
    PaintYearChart(painter, chartPage, chart, style);
    writer.setPageOrientation(QPageLayout::Portrait);
    PaintTablePages(writer, painter, rows, title, 1);
    painter.end();
    return bytes;
}
