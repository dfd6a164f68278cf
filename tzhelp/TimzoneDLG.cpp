#include "TimzoneDLG.h"

#include <QGroupBox>
#include <QPushButton>

#include <array>

#include "DialogUnits.h"

namespace {

struct ZoneRow {
    const char* location;
    const char* offset;
};

// Half-hour zones come after the whole-hour ones of their hemisphere.
constexpr std::array<ZoneRow, 14> kWesternZones{{
    {"Greenwich, England", "0"},
    {"SE Greenland", "1"},
    {"Atlantic Ocean", "2"},
    {"Greenland Time", "3"},
    {"Newfoundland Time", "3.5"},
    {"Atlantic Time", "4"},
    {"Eastern Standard Time", "5"},
    {"Central Standard Time", "6"},
    {"Mountain Standard Time", "7"},
    {"Pacific Standard Time", "8"},
    {"Alaska Time", "9"},
    {"Hawaii", "10"},
    {"Pacific Ocean", "11"},
    {"International Date Line", "+/-12"},
}};

constexpr std::array<ZoneRow, 16> kEasternZones{{
    {"Mid Europe/Africa", "-1"},
    {"E Europe, E Central Africa", "-2"},
    {"Moscow, Mid-East, E Africa", "-3"},
    {"NW Caspian Sea", "-4"},
    {"Ural Mountains, Russia", "-5"},
    {"Almaty (Alma ATA), Russia", "-6"},
    {"W Mongolia", "-7"},
    {"China", "-8"},
    {"Japan", "-9"},
    {"Eastern Russia / Sydney, Australia", "-10"},
    {"Kamchatskiy, E Russia", "-11"},
    {"Iran", "-3.5"},
    {"Afghanistan", "-4.5"},
    {"India", "-5.5"},
    {"Burma", "-6.5"},
    {"Mid Australia", "-9.5"},
}};

template <std::size_t N>
void Fill(CReportCtrl& list, const std::array<ZoneRow, N>& zones) {
    for (std::size_t i = 0; i < N; ++i) {
        ReportItem item;
        item.mask = ReportItem::kText;
        item.iItem = static_cast<int>(i);
        item.iSubItem = 0;
        item.text = QString::fromLatin1(zones[i].location);
        const int row = list.InsertItem(item);
        item.iItem = row;
        item.iSubItem = 1;
        item.text = QString::fromLatin1(zones[i].offset);
        list.SetItem(item);
    }
}

}  // namespace

CTimzoneDLG::CTimzoneDLG(QWidget* parent) : QDialog(parent), m_westList(this), m_eastList(this) {
    setWindowTitle(QStringLiteral("Timezone Help Dialog"));
    setModal(true);
    setSizeGripEnabled(false);
    const daybreak::DialogUnits du(font());
    setFixedSize(du.ToPixels(QSize(410, 270)));

    // Creation order is the tab order: OK first, then the two lists.
    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setGeometry(du.ToPixels(353, 7, 50, 14));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    m_westGroup = new QGroupBox(QStringLiteral("Western Hemisphere"), this);
    m_westGroup->setGeometry(du.ToPixels(15, 35, 184, 222));
    m_eastGroup = new QGroupBox(QStringLiteral("Eastern Hemisphere"), this);
    m_eastGroup->setGeometry(du.ToPixels(210, 35, 184, 222));
    m_westList.setGeometry(du.ToPixels(21, 49, 171, 200));
    m_eastList.setGeometry(du.ToPixels(215, 49, 171, 200));
    m_westList.raise();
    m_eastList.raise();
    setTabOrder(m_okButton, &m_westList);
    setTabOrder(&m_westList, &m_eastList);

    OnInitDialog();
}

bool CTimzoneDLG::OnInitDialog() {
    for (CReportCtrl* list : {&m_westList, &m_eastList}) {
        list->SetExtendedStyle(list->GetExtendedStyle() | kExGridLines | kExSubItemImages |
                               kExFullRowSelect);
    }
    SetupColumns();
    FillZoneLists();
    m_okButton->setFocus();
    return true;
}

void CTimzoneDLG::SetupColumns() {
    // The lists hold no rows yet, so no scroll bar narrows the client area.
    m_columnUnit = m_westList.contentsRect().width() / 6;
    for (CReportCtrl* list : {&m_westList, &m_eastList}) {
        list->InsertColumn(0, QStringLiteral("Hour Off-Set"), kFormatLeft, 2 * m_columnUnit);
        list->InsertColumn(0, QStringLiteral("Location"), kFormatLeft, 4 * m_columnUnit);
    }
}

void CTimzoneDLG::FillZoneLists() {
    Fill(m_westList, kWesternZones);
    Fill(m_eastList, kEasternZones);
}
