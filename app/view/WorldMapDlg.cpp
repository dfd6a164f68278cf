#include "WorldMapDlg.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

#include "DayText.h"
#include "SeasonsAndPhases.h"
#include "WorldMap.h"
#include "WorldMapView.h"
#include "ZoneClock.h"
#include "ZoneMap.h"

namespace {

QString ClockText(int minutes) {
    return QString::fromStdString(ClockMinutesText(minutes));
}

}  // namespace

CWorldMapDlg::CWorldMapDlg(const std::filesystem::path& directory, QWidget* parent)
    : QDialog(parent), m_zones(std::make_unique<CZoneMap>(CZoneMap::Load(directory))) {
    setWindowTitle(QStringLiteral("World Map"));
    m_now = [] { return QDateTime::currentSecsSinceEpoch(); };
    auto map = std::make_shared<CWorldMap>(CWorldMap::Load(directory));
    auto* layout = new QVBoxLayout(this);
    m_heading = new QLabel(this);
    m_heading->setTextFormat(Qt::PlainText);
    layout->addWidget(m_heading);
    if (!map->IsKnown()) {
        auto* problem =
            new QLabel(QString::fromStdString(map->Problem()) +
                           QStringLiteral(": day and night are drawn without the land."),
                       this);
        problem->setWordWrap(true);
        layout->addWidget(problem);
    }
    m_map = new CWorldMapView(map, this);
    m_map->SetClockOfPoint([this](double lat, double lon, double instant) {
        const auto zone = m_zones->Find(lat, lon);
        const auto clock = zone ? CZoneClock::Load(std::string(*zone)) : std::nullopt;
        if (!clock) {
            return QString();
        }
        const CCivilTime utc = CivilTimeOfJulianDay(instant, 0);
        const CCivilTime local =
            CivilTimeOfJulianDay(instant, clock->OnDate(utc.date).utcOffsetSeconds);
        return QStringLiteral("%1 %2").arg(ClockText(local.hour * 60 + local.minute),
                                           QString::fromStdString(clock->Name()));
    });
    layout->addWidget(m_map, 1);
    connect(m_map, &CWorldMapView::PointPicked, this,
            [this](double lat, double lon) { Pick(lat, lon); });

    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Time of day:"), this);
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setRange(0, 1439);
    m_slider->setSingleStep(5);
    m_slider->setPageStep(60);
    m_slider->setValue(720);
    m_slider->setAccessibleName(QStringLiteral("Time of day on the place's clock"));
    label->setBuddy(m_slider);
    m_time = new QLabel(this);
    m_time->setMinimumWidth(
        m_time->fontMetrics().horizontalAdvance(QStringLiteral("00:00 (00:00 UTC)  ")));
    row->addWidget(label);
    row->addWidget(m_slider, 1);
    row->addWidget(m_time);
    layout->addLayout(row);
    connect(m_slider, &QSlider::valueChanged, this, [this] { ShowInstant(); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* png =
        buttons->addButton(QStringLiteral("&Export PNG..."), QDialogButtonBox::ActionRole);
    connect(png, &QPushButton::clicked, this, [this] { ExportPng(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // Never past the screen: the map gives way, at any scale.
    QSize size = sizeHint();
    if (const QScreen* where = parent != nullptr ? parent->screen() : screen()) {
        size = size.boundedTo(where->availableGeometry().size() - QSize(16, 48));
    }
    resize(size);
}

CWorldMapDlg::~CWorldMapDlg() = default;

int CWorldMapDlg::ClockOffsetSeconds() const {
    return static_cast<int>(
        std::lround((m_request.dst - static_cast<double>(m_request.offset)) * 3600.0));
}

void CWorldMapDlg::ShowRequest(const CYearRequest& request) {
    const bool newDay = !m_shown || request.date != m_request.date ||
                        request.offset != m_request.offset || request.dst != m_request.dst;
    m_request = request;
    m_shown = true;
    if (request.IsEmpty()) {
        m_map->SetPlace(std::nullopt);
    } else {
        m_map->SetPlace(QPointF(request.latitude, -request.longitude));
    }
    if (newDay) {
        // On today's date the map opens at the time now on the place's clock.
        const qint64 local = m_now() + ClockOffsetSeconds();
        const qint64 day = local >= 0 ? local / 86400 : (local - 86399) / 86400;
        if (CivilFromDays(day) == request.date) {
            const QSignalBlocker quiet(m_slider);
            m_slider->setValue(static_cast<int>((local - day * 86400) / 60));
        }
    }
    ShowInstant();
}

void CWorldMapDlg::SetMinutes(int minutes) {
    m_slider->setValue(minutes);
}

void CWorldMapDlg::ShowInstant() {
    const int minutes = m_slider->value();
    const double utcMinutes = minutes - ClockOffsetSeconds() / 60.0;
    m_map->SetInstant(JulianDayUt(CCivilTime{m_request.date}) + utcMinutes / 1440.0);
    const int utc = static_cast<int>(std::fmod(utcMinutes + 2880, 1440.0));
    m_time->setText(QStringLiteral("%1 (%2 UTC)").arg(ClockText(minutes), ClockText(utc)));
    m_heading->setText(Heading());
}

QString CWorldMapDlg::Heading() const {
    const CSubsolarPoint& sun = m_map->Subsolar();
    const auto& d = m_request.date;
    return QStringLiteral("%1: the Sun overhead at %2° %3, %4° %5")
        .arg(QString::fromStdString(IsoDate(d)))
        .arg(std::abs(sun.latitude), 0, 'f', 2)
        .arg(QLatin1Char(sun.latitude < 0 ? 'S' : 'N'))
        .arg(std::abs(sun.longitudeEast), 0, 'f', 2)
        .arg(QLatin1Char(sun.longitudeEast < 0 ? 'W' : 'E'));
}

void CWorldMapDlg::Pick(double latitude, double longitudeEast) {
    // Two decimals, as the map resolves them and the fields show them.
    const double lat = std::round(latitude * 100) / 100;
    const double lonWest = std::round(-longitudeEast * 100) / 100 + 0.0;  // no "-0"
    std::optional<float> offset;
    if (const auto zone = m_zones->Find(lat, -lonWest)) {
        if (const auto clock = CZoneClock::Load(std::string(*zone))) {
            offset = clock->OnDate(m_request.date).offset;
        }
    }
    emit PointPicked(lat, lonWest, offset);
}

bool CWorldMapDlg::SavePng(const QString& path) {
    QImage image(m_map->size() * m_map->devicePixelRatioF(), QImage::Format_RGB32);
    image.setDevicePixelRatio(m_map->devicePixelRatioF());
    QPainter painter(&image);
    m_map->Paint(painter);
    painter.end();
    return image.save(path, "PNG");
}

void CWorldMapDlg::ExportPng() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export PNG"),
                                                      QStringLiteral("world-map.png"),
                                                      QStringLiteral("PNG images (*.png)"));
    if (!path.isEmpty() && !SavePng(path)) {
        QMessageBox::warning(this, QStringLiteral("Export PNG"),
                             QStringLiteral("The picture could not be written to %1.").arg(path));
    }
}
