#include "SunDayChartView.h"

#include <QDateTime>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <cmath>

#include "DayText.h"

namespace {

// The engine's altitudes of the bands and hours (PreciseSun.h), degrees.
constexpr double kHorizon = -0.833;

// Night to day: the colour of a moment by the Sun's elevation then.
QColor BandColor(double elevation) {
    if (elevation >= kHorizon) {
        return {0xc6, 0xdf, 0xf5};
    }
    if (elevation >= -6) {
        return {0x7f, 0x9f, 0xcf};  // civil twilight
    }
    if (elevation >= -12) {
        return {0x48, 0x65, 0x9a};  // nautical
    }
    if (elevation >= -18) {
        return {0x28, 0x3c, 0x68};  // astronomical
    }
    return {0x12, 0x1b, 0x33};  // night
}

// The golden hour (-4 to +6 degrees) and the blue hour (-6 to -4) over the bands.
QColor HourShade(double elevation) {
    if (elevation >= -4 && elevation < 6) {
        return {0xff, 0xb3, 0x2e, 0x90};
    }
    if (elevation >= -6 && elevation < -4) {
        return {0x2f, 0x4c, 0xe0, 0x90};
    }
    return Qt::transparent;
}

QString ClockText(double minutes) {
    const int m = static_cast<int>(std::floor(minutes));
    const int wrapped = ((m % 1440) + 1440) % 1440;
    return QString::fromStdString(ClockMinutesText(wrapped));
}

}  // namespace

namespace {

constexpr const char* kKeyNames[] = {"rise", "noon", "set", "moon"};

// The width of one of the key's two columns under the rose.
double KeyColumn(const QFontMetricsF& metrics) {
    double column = 0;
    for (const char* name : kKeyNames) {
        column = std::max(column, metrics.horizontalAdvance(QString::fromLatin1(name)) + 17);
    }
    return column;
}

}  // namespace

CSunDayChartView::CSunDayChartView(CSunDayChart chart, QWidget* parent)
    : QWidget(parent), m_chart(std::move(chart)) {
    for (const CSunSky& sky : m_chart.curve) {
        m_low = std::min(m_low, std::floor(sky.elevation / 10) * 10);
        m_high = std::max(m_high, std::ceil(sky.elevation / 10) * 10);
    }
    m_now = [] { return QDateTime::currentSecsSinceEpoch(); };
    m_keyColumn = KeyColumn(QFontMetricsF(font()));
    setMouseTracking(true);
    setAccessibleName(QStringLiteral("The Sun's elevation through the day"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // The mark for now moves a pixel every few minutes: a redraw a minute follows it.
    m_tick = new QTimer(this);
    connect(m_tick, &QTimer::timeout, this, [this] { update(); });
    m_tick->start(60 * 1000);
}

void CSunDayChartView::SetClock(std::function<qint64()> now) {
    m_now = std::move(now);
    update();
}

std::optional<double> CSunDayChartView::NowMinutes() const {
    const qint64 local = m_now() + m_chart.utcOffsetSeconds;
    const qint64 day = local >= 0 ? local / 86400 : (local - 86399) / 86400;
    if (CivilFromDays(day) != m_chart.date) {
        return std::nullopt;
    }
    return static_cast<double>(local - day * 86400) / 60.0;
}

QSize CSunDayChartView::sizeHint() const {
    const int em = fontMetrics().height();
    return {em * 34, em * 14};
}

QSize CSunDayChartView::minimumSizeHint() const {
    const int em = fontMetrics().height();
    return {em * 18, em * 8};
}

// The rose's column: as wide as the rose or its key, whichever is wider.
double CSunDayChartView::RoseColumn() const {
    return std::max(RoseRect().width(), 2 * m_keyColumn);
}

void CSunDayChartView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        m_keyColumn = KeyColumn(QFontMetricsF(font()));
    }
    QWidget::changeEvent(event);
}

QRectF CSunDayChartView::RoseRect() const {
    const double em = fontMetrics().height();
    const double side = std::max(2 * em, std::min(height() - 3 * em, width() * 0.3));
    const double column = std::max(side, 2 * m_keyColumn);
    return {width() - em * 0.5 - (column + side) / 2, em * 0.5, side, side};
}

QRectF CSunDayChartView::PlotRect() const {
    const double em = fontMetrics().height();
    const double left = fontMetrics().horizontalAdvance(QStringLiteral("-90°")) + em * 0.5;
    const double right = width() - em * 1.5 - RoseColumn();
    return QRectF(QPointF(left, em * 1.4), QPointF(right, height() - em * 1.6));
}

double CSunDayChartView::XOfMinutes(double minutes) const {
    const QRectF plot = PlotRect();
    return plot.left() + plot.width() * minutes / 1440.0;
}

double CSunDayChartView::YOfElevation(double elevation) const {
    const QRectF plot = PlotRect();
    return plot.bottom() - plot.height() * (elevation - m_low) / (m_high - m_low);
}

std::optional<double> CSunDayChartView::SunriseX() const {
    if (!m_chart.sunrise) {
        return std::nullopt;
    }
    return XOfMinutes(*m_chart.sunrise);
}

// Linear between the samples: five minutes apart, the curve's error is far under a pixel.
CSunSky CSunDayChartView::SkyAt(double minutes) const {
    const auto& curve = m_chart.curve;
    if (curve.size() < 2) {
        return {};
    }
    const double step = 1440.0 / static_cast<double>(curve.size() - 1);
    const double at = std::clamp(minutes / step, 0.0, static_cast<double>(curve.size() - 1));
    const auto i = std::min(static_cast<std::size_t>(at), curve.size() - 2);
    const double t = at - static_cast<double>(i);
    CSunSky sky;
    sky.elevation = curve[i].elevation + t * (curve[i + 1].elevation - curve[i].elevation);
    double turn = curve[i + 1].azimuth - curve[i].azimuth;
    turn -= 360 * std::round(turn / 360);
    sky.azimuth = std::fmod(curve[i].azimuth + t * turn + 360, 360.0);
    return sky;
}

QString CSunDayChartView::HoverText(QPointF at) const {
    const QRectF plot = PlotRect();
    if (!plot.contains(at) || m_chart.curve.size() < 2) {
        return {};
    }
    const double minutes = (at.x() - plot.left()) / plot.width() * 1440.0;
    const CSunSky sky = SkyAt(minutes);
    return QStringLiteral("%1  elevation %2°  azimuth %3°")
        .arg(ClockText(minutes))
        .arg(sky.elevation, 0, 'f', 1)
        .arg(sky.azimuth, 0, 'f', 1);
}

void CSunDayChartView::mouseMoveEvent(QMouseEvent* event) {
    const QString text = HoverText(event->position());
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(event->globalPosition().toPoint(), text, this);
    }
}

void CSunDayChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Paint(painter);
}

void CSunDayChartView::Paint(QPainter& painter) const {
    const QRectF plot = PlotRect();
    PaintBands(painter, plot);
    PaintAxes(painter, plot);
    PaintMarks(painter, plot);
    PaintRose(painter);
}

// One rectangle per run of samples of the same band, then one per run of the same hour.
void CSunDayChartView::PaintBands(QPainter& painter, const QRectF& plot) const {
    const auto& curve = m_chart.curve;
    painter.fillRect(plot, BandColor(-90));
    const std::size_t n = curve.size();
    for (int layer = 0; layer < 2; ++layer) {
        const auto colour = [&](std::size_t i) {
            return layer == 0 ? BandColor(curve[i].elevation) : HourShade(curve[i].elevation);
        };
        std::size_t start = 0;
        for (std::size_t i = 1; i <= n; ++i) {
            if (i < n && colour(i) == colour(start)) {
                continue;
            }
            const double step = 1440.0 / static_cast<double>(n - 1);
            const double x0 = XOfMinutes(std::max(0.0, (static_cast<double>(start) - 0.5) * step));
            const double x1 = XOfMinutes(std::min(1440.0, (static_cast<double>(i) - 0.5) * step));
            painter.fillRect(QRectF(QPointF(x0, plot.top()), QPointF(x1, plot.bottom())),
                             colour(start));
            start = i;
        }
    }
}

void CSunDayChartView::PaintAxes(QPainter& painter, const QRectF& plot) const {
    const QColor text = palette().color(QPalette::WindowText);
    const QFontMetricsF metrics(font());
    painter.setPen(text);
    for (int hour = 0; hour <= 24; hour += 3) {
        const double x = XOfMinutes(hour * 60.0);
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 3));
        const QString label = QStringLiteral("%1").arg(hour % 24, 2, 10, QLatin1Char('0'));
        painter.drawText(
            QPointF(x - metrics.horizontalAdvance(label) / 2, plot.bottom() + 3 + metrics.ascent()),
            label);
    }
    for (double e = std::ceil(m_low / 30) * 30; e <= m_high; e += 30) {
        const QString label = QStringLiteral("%1°").arg(e);
        painter.drawText(QPointF(plot.left() - metrics.horizontalAdvance(label) - 3,
                                 YOfElevation(e) + metrics.ascent() / 2 - 1),
                         label);
    }
    // The altitudes the twilights end at, faint; the horizon plain.
    painter.setPen(QPen(QColor(255, 255, 255, 70), 1, Qt::DashLine));
    for (const double e : {-6.0, -12.0, -18.0}) {
        if (e > m_low) {
            painter.drawLine(QPointF(plot.left(), YOfElevation(e)),
                             QPointF(plot.right(), YOfElevation(e)));
        }
    }
    painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
    painter.drawLine(QPointF(plot.left(), YOfElevation(0)), QPointF(plot.right(), YOfElevation(0)));
    painter.setPen(QPen(text, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);
}

void CSunDayChartView::PaintMarks(QPainter& painter, const QRectF& plot) const {
    const auto& curve = m_chart.curve;
    painter.setRenderHint(QPainter::Antialiasing);
    QPolygonF line;
    line.reserve(static_cast<qsizetype>(curve.size()));
    const double step = curve.size() > 1 ? 1440.0 / static_cast<double>(curve.size() - 1) : 0;
    for (std::size_t i = 0; i < curve.size(); ++i) {
        line << QPointF(XOfMinutes(static_cast<double>(i) * step),
                        YOfElevation(curve[i].elevation));
    }
    painter.setPen(QPen(QColor(0xe0, 0x5a, 0x00), 2));
    painter.drawPolyline(line);

    const QFontMetricsF metrics(font());
    const QColor text = palette().color(QPalette::WindowText);
    const auto mark = [&](const std::optional<double>& minutes, const QString& name) {
        if (!minutes || *minutes < 0 || *minutes > 1440) {
            return;
        }
        const double x = XOfMinutes(*minutes);
        painter.setPen(QPen(QColor(0x20, 0x20, 0x20, 160), 1, Qt::DotLine));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(text);
        const QString label = name + QLatin1Char(' ') + ClockText(*minutes);
        const double w = metrics.horizontalAdvance(label);
        const double left = std::clamp(x - w / 2, plot.left(), plot.right() - w);
        painter.drawText(QPointF(left, plot.top() - metrics.descent() - 2), label);
    };
    mark(m_chart.sunrise, QStringLiteral("Rise"));
    mark(m_chart.solarNoon, QStringLiteral("Noon"));
    mark(m_chart.sunset, QStringLiteral("Set"));

    if (const auto now = NowMinutes()) {
        const double x = XOfMinutes(*now);
        painter.setPen(QPen(QColor(0xd0, 0x10, 0x40), 2));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setBrush(QColor(0xff, 0xd0, 0x20));
        painter.drawEllipse(QPointF(x, YOfElevation(SkyAt(*now).elevation)), 5, 5);
    }
}

void CSunDayChartView::PaintRose(QPainter& painter) const {
    const QRectF rose = RoseRect();
    const QPointF centre = rose.center();
    const QFontMetricsF metrics(font());
    const double r = rose.width() / 2 - metrics.height();
    const QColor text = palette().color(QPalette::WindowText);
    painter.setPen(QPen(text, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, r, r);
    const char* names[] = {"N", "E", "S", "W"};
    for (int i = 0; i < 4; ++i) {
        const double a = i * M_PI / 2;
        const QString name = QString::fromLatin1(names[i]);
        const QPointF at(centre.x() + (r + metrics.height() * 0.55) * std::sin(a),
                         centre.y() - (r + metrics.height() * 0.55) * std::cos(a));
        painter.drawText(QPointF(at.x() - metrics.horizontalAdvance(name) / 2,
                                 at.y() + metrics.ascent() / 2 - 1),
                         name);
    }
    const auto ray = [&](const std::optional<double>& azimuth, QColor colour, Qt::PenStyle style) {
        if (!azimuth) {
            return;
        }
        const double a = *azimuth * M_PI / 180;
        const QPointF end(centre.x() + r * std::sin(a), centre.y() - r * std::cos(a));
        painter.setPen(QPen(colour, 2.5, style, Qt::RoundCap));
        painter.drawLine(centre, end);
        painter.setBrush(colour);
        painter.drawEllipse(end, 3.5, 3.5);
    };
    ray(m_chart.moonriseAzimuth, QColor(0x9a, 0xa4, 0xb8), Qt::DashLine);
    ray(m_chart.moonsetAzimuth, QColor(0x6a, 0x74, 0x88), Qt::DashLine);
    ray(m_chart.sunriseAzimuth, QColor(0xf0, 0x8c, 0x00), Qt::SolidLine);
    ray(m_chart.sunsetAzimuth, QColor(0xc0, 0x30, 0x20), Qt::SolidLine);
    ray(m_chart.noonAzimuth, QColor(0xe8, 0xc0, 0x00), Qt::SolidLine);
    // A key under the rose: the colours in the order of the day.
    const struct {
        const char* name;
        QColor colour;
    } key[] = {{"rise", QColor(0xf0, 0x8c, 0x00)},
               {"noon", QColor(0xe8, 0xc0, 0x00)},
               {"set", QColor(0xc0, 0x30, 0x20)},
               {"moon", QColor(0x9a, 0xa4, 0xb8)}};
    // Two to a row, so that it fits under a small rose.
    const double column = RoseColumn() / 2;
    const double left = width() - metrics.height() * 0.5 - RoseColumn();
    for (int i = 0; i < 4; ++i) {
        const double x = left + (i % 2) * column;
        const double y = rose.bottom() + metrics.ascent() + (i / 2) * metrics.height();
        painter.fillRect(QRectF(x, y - metrics.ascent() * 0.7, 8, 8), key[i].colour);
        painter.setPen(text);
        painter.drawText(QPointF(x + 11, y), QString::fromLatin1(key[i].name));
    }
}
