#include "WorldMapView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "DayText.h"
#include "WorldMap.h"

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

// How dark each band is (of 256) and the night's own colour beneath.
constexpr int kDay = 0, kCivil = 70, kNautical = 120, kAstronomical = 150, kNight = 175;
constexpr int kNightR = 0x0a, kNightG = 0x12, kNightB = 0x2e;

QString Degrees(double value, char positive, char negative) {
    return QStringLiteral("%1° %2")
        .arg(std::abs(value), 0, 'f', 2)
        .arg(QLatin1Char(value < 0 ? negative : positive));
}

}  // namespace

CWorldMapView::CWorldMapView(std::shared_ptr<const CWorldMap> map, QWidget* parent)
    : QWidget(parent), m_map(std::move(map)) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("World map of day and night"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setCursor(Qt::CrossCursor);
}

QSize CWorldMapView::sizeHint() const {
    const int em = fontMetrics().height();
    return {em * 48, em * 24};
}

void CWorldMapView::SetInstant(double julianDayUt) {
    m_instant = julianDayUt;
    m_subsolar = SubsolarPoint(julianDayUt);
    m_frameStale = true;
    update();
}

void CWorldMapView::SetPlace(std::optional<QPointF> latLonEast) {
    m_place = latLonEast;
    update();
}

double CWorldMapView::Scale() const {
    return std::min(width() / 360.0, height() / 180.0) * m_zoom;
}

QPointF CWorldMapView::PointOf(double latitude, double longitudeEast) const {
    const double s = Scale();
    return {width() / 2.0 + (longitudeEast - m_centre.x()) * s,
            height() / 2.0 - (latitude - m_centre.y()) * s};
}

std::optional<QPointF> CWorldMapView::LatLonAt(QPointF at) const {
    const double s = Scale();
    const double lon = m_centre.x() + (at.x() - width() / 2.0) / s;
    const double lat = m_centre.y() - (at.y() - height() / 2.0) / s;
    if (s <= 0 || lon < -180 || lon > 180 || lat < -90 || lat > 90) {
        return std::nullopt;
    }
    return QPointF(lat, lon);
}

QString CWorldMapView::HoverText(QPointF at) const {
    const auto point = LatLonAt(at);
    if (!point) {
        return {};
    }
    const QString where =
        QStringLiteral("%1, %2").arg(Degrees(point->x(), 'N', 'S'), Degrees(point->y(), 'E', 'W'));
    if (m_clockOfPoint) {
        const QString clock = m_clockOfPoint(point->x(), point->y(), m_instant);
        if (!clock.isEmpty()) {
            return where + QStringLiteral("  ") + clock;
        }
    }
    // Local mean time: UT plus four minutes a degree east.
    const double ut = std::fmod(m_instant + 0.5, 1.0) * 1440;
    const int local = static_cast<int>(std::fmod(ut + point->y() * 4 + 2880, 1440.0));
    return QStringLiteral("%1  local mean time %2")
        .arg(where, QString::fromStdString(ClockMinutesText(local)));
}

void CWorldMapView::ViewChanged() {
    // Keep the world on screen: the centre stays where the map still covers the middle.
    m_zoom = std::clamp(m_zoom, 1.0, 32.0);
    const double s = Scale();
    const double halfW = std::min(180.0, width() / 2.0 / s),
                 halfH = std::min(90.0, height() / 2.0 / s);
    m_centre.setX(std::clamp(m_centre.x(), -180 + halfW, 180 - halfW));
    m_centre.setY(std::clamp(m_centre.y(), -90 + halfH, 90 - halfH));
    m_land = QImage();
    m_frameStale = true;
    update();
}

void CWorldMapView::resizeEvent(QResizeEvent*) {
    ViewChanged();
}

// The sea, the land filled even-odd (lakes stay water) and the outlines, in one picture.
void CWorldMapView::BuildLand() {
    const qreal ratio = devicePixelRatioF();
    m_land = QImage(size() * ratio, QImage::Format_RGB32);
    m_land.setDevicePixelRatio(ratio);
    m_land.fill(QColor(0x9c, 0xc3, 0xe6));
    QPainter painter(&m_land);
    const QPointF origin = PointOf(0, 0);
    const double s = Scale() / 100;  // the file's hundredths of a degree
    painter.translate(origin);
    painter.scale(s, -s);
    if (m_map) {
        QPainterPath land;
        land.setFillRule(Qt::OddEvenFill);
        for (const CMapShape& ring : m_map->Land()) {
            const auto points = m_map->Points(ring);
            // A ring that crosses the antimeridian jumps from one edge to the other: it is
            // made continuous, and drawn again a world over on the side it runs past.
            QPolygonF polygon;
            polygon.reserve(static_cast<qsizetype>(points.size()));
            double shift = 0, west = 0, east = 0;
            for (std::size_t i = 0; i < points.size(); ++i) {
                if (i > 0 && std::abs(points[i].lon - points[i - 1].lon) > 18000) {
                    shift += points[i].lon > points[i - 1].lon ? -36000 : 36000;
                }
                const double lon = points[i].lon + shift;
                west = std::min(west, lon);
                east = std::max(east, lon);
                polygon << QPointF(lon, points[i].lat);
            }
            land.addPolygon(polygon);
            if (east > 18000) {
                land.addPolygon(polygon.translated(-36000, 0));
            }
            if (west < -18000) {
                land.addPolygon(polygon.translated(36000, 0));
            }
        }
        // Unsmoothed: a ring that meets the antimeridian goes along it and back, which a
        // smoothed fill shows as a faint line; the smoothed outlines cover the steps.
        painter.fillPath(land, QColor(0xe6, 0xdc, 0xb8));
        painter.setRenderHint(QPainter::Antialiasing);
        QPen pen(QColor(0x7a, 0x6e, 0x58), 0.8);
        pen.setCosmetic(true);
        painter.setPen(pen);
        for (const CMapShape& line : m_map->Outlines()) {
            const auto points = m_map->Points(line);
            QPolygonF polyline;
            polyline.reserve(static_cast<qsizetype>(points.size()));
            for (const CMapPoint& p : points) {
                polyline << QPointF(p.lon, p.lat);
            }
            painter.drawPolyline(polyline);
        }
    }
    painter.resetTransform();
    // Off the globe (zoomed out past its edges): the window's own background.
    const QRectF globe(PointOf(90, -180), PointOf(-90, 180));
    QPainterPath outside;
    outside.addRect(QRectF(QPointF(0, 0), QSizeF(size())));
    QPainterPath inside;
    inside.addRect(globe);
    painter.fillPath(outside.subtracted(inside), palette().color(QPalette::Window));
}

// Each device pixel darkened by the band the Sun's elevation puts it in.
void CWorldMapView::Shade() {
    if (m_land.isNull() || m_land.size() != size() * devicePixelRatioF()) {
        BuildLand();
    }
    m_frame = m_land.copy();
    const int w = m_frame.width(), h = m_frame.height();
    const double ratio = m_frame.devicePixelRatio();
    const double s = Scale() * ratio;
    const double sinDecl = std::sin(m_subsolar.latitude * kDeg);
    const double cosDecl = std::cos(m_subsolar.latitude * kDeg);
    std::vector<double> cosLon(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x) {
        const double lon = m_centre.x() + (x + 0.5 - w / 2.0) / s;
        cosLon[static_cast<std::size_t>(x)] = std::cos((lon - m_subsolar.longitudeEast) * kDeg);
    }
    const double edges[] = {std::sin(-0.833 * kDeg), std::sin(-6 * kDeg), std::sin(-12 * kDeg),
                            std::sin(-18 * kDeg)};
    const int darkness[] = {kDay, kCivil, kNautical, kAstronomical, kNight};
    for (int y = 0; y < h; ++y) {
        const double lat = m_centre.y() - (y + 0.5 - h / 2.0) / s;
        if (lat < -90 || lat > 90) {
            continue;  // off the globe: the window's background
        }
        const double a = std::sin(lat * kDeg) * sinDecl;
        const double b = std::cos(lat * kDeg) * cosDecl;
        auto* row = reinterpret_cast<QRgb*>(m_frame.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double sinElevation = a + b * cosLon[static_cast<std::size_t>(x)];
            int band = 0;
            while (band < 4 && sinElevation < edges[band]) {
                ++band;
            }
            const int d = darkness[band];
            if (d == 0) {
                continue;
            }
            const QRgb c = row[x];
            const int keep = 256 - d;
            row[x] =
                qRgb((qRed(c) * keep + kNightR * d) >> 8, (qGreen(c) * keep + kNightG * d) >> 8,
                     (qBlue(c) * keep + kNightB * d) >> 8);
        }
    }
    m_frameStale = false;
}

const QImage& CWorldMapView::Frame() {
    if (m_frameStale || m_land.isNull()) {
        Shade();
    }
    return m_frame;
}

void CWorldMapView::Paint(QPainter& painter) {
    painter.drawImage(QPointF(0, 0), Frame());
    painter.setRenderHint(QPainter::Antialiasing);
    // The Sun overhead: a disc with rays.
    const QPointF sun = PointOf(m_subsolar.latitude, m_subsolar.longitudeEast);
    painter.setPen(QPen(QColor(0xb0, 0x60, 0x00), 1.5));
    painter.setBrush(QColor(0xff, 0xc8, 0x20));
    for (int i = 0; i < 8; ++i) {
        const double a = i * std::numbers::pi / 4;
        painter.drawLine(sun + QPointF(9 * std::cos(a), 9 * std::sin(a)),
                         sun + QPointF(13 * std::cos(a), 13 * std::sin(a)));
    }
    painter.drawEllipse(sun, 6.5, 6.5);
    if (m_place) {
        const QPointF at = PointOf(m_place->x(), m_place->y());
        painter.setPen(QPen(Qt::white, 2));
        painter.setBrush(QColor(0xd0, 0x10, 0x30));
        painter.drawEllipse(at, 5.5, 5.5);
    }
}

void CWorldMapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Paint(painter);
}

void CWorldMapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressAt = event->position();
        m_lastDrag = event->position();
        m_dragged = false;
    }
}

void CWorldMapView::mouseMoveEvent(QMouseEvent* event) {
    if (m_pressAt && (event->buttons() & Qt::LeftButton)) {
        if ((event->position() - *m_pressAt).manhattanLength() > 4) {
            m_dragged = true;
        }
        if (m_dragged) {
            const QPointF step = event->position() - m_lastDrag;
            m_lastDrag = event->position();
            m_centre -= QPointF(step.x() / Scale(), -step.y() / Scale());
            ViewChanged();
        }
        return;
    }
    const QString text = HoverText(event->position());
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(event->globalPosition().toPoint(), text, this);
    }
}

void CWorldMapView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_pressAt) {
        return;
    }
    m_pressAt.reset();
    if (!m_dragged) {
        if (const auto point = LatLonAt(event->position())) {
            emit PointPicked(point->x(), point->y());
        }
    }
}

// Zooms about the point under the pointer, which stays where it is.
void CWorldMapView::wheelEvent(QWheelEvent* event) {
    const auto before = LatLonAt(event->position());
    const double factor = std::pow(1.25, event->angleDelta().y() / 120.0);
    m_zoom = std::clamp(m_zoom * factor, 1.0, 32.0);
    if (before) {
        const double s = Scale();
        m_centre = QPointF(before->y() - (event->position().x() - width() / 2.0) / s,
                           before->x() + (event->position().y() - height() / 2.0) / s);
    }
    ViewChanged();
    event->accept();
}

void CWorldMapView::keyPressEvent(QKeyEvent* event) {
    const double step = 60 / m_zoom;  // degrees: a sixth of the world at first
    switch (event->key()) {
        case Qt::Key_Left:
            m_centre.rx() -= step;
            break;
        case Qt::Key_Right:
            m_centre.rx() += step;
            break;
        case Qt::Key_Up:
            m_centre.ry() += step / 2;
            break;
        case Qt::Key_Down:
            m_centre.ry() -= step / 2;
            break;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            m_zoom *= 1.5;
            break;
        case Qt::Key_Minus:
            m_zoom /= 1.5;
            break;
        case Qt::Key_0:
            m_zoom = 1;
            m_centre = QPointF(0, 0);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    ViewChanged();
}
