#include "DayDetailsDlg.h"

#include "MoonPhaseDisc.h"
#include "SunDayChartView.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A two-column list tall enough for every row: a few lines, not a document to scroll.
QTableWidget* MakeList(const std::vector<CSunLine>& lines, const QString& name) {
    auto* list = new QTableWidget(static_cast<int>(lines.size()), 2);
    list->setHorizontalHeaderLabels({QStringLiteral("Event"), QStringLiteral("Local time")});
    list->setAccessibleName(name);
    list->verticalHeader()->hide();
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int row = 0; row < static_cast<int>(lines.size()); ++row) {
        const CSunLine& line = lines[static_cast<std::size_t>(row)];
        list->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(line.name)));
        list->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(line.value)));
    }
    list->resizeColumnsToContents();
    list->resizeRowsToContents();
    const int frame = 2 * list->frameWidth();
    list->setMinimumHeight(list->horizontalHeader()->height() + list->verticalHeader()->length() +
                           frame);
    // Room for a vertical scroll bar too, should a small screen need one.
    list->setMinimumWidth(list->horizontalHeader()->length() + frame +
                          list->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Measured before the last column stretches: stretched, it is as wide as the list.
    list->horizontalHeader()->setStretchLastSection(true);
    return list;
}

}  // namespace

CDayDetailsDlg::CDayDetailsDlg(const CDayDetails& details, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Day Details"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QString::fromStdString(details.heading), this);
    title->setTextFormat(Qt::PlainText);  // a city name is text, never markup
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title);
    auto* note = new QLabel(QString::fromStdString(details.note), this);
    note->setTextFormat(Qt::PlainText);
    note->setWordWrap(true);
    layout->addWidget(note);

    m_list = MakeList(details.lines, QStringLiteral("Events of the day"));
    QBoxLayout* columns = nullptr;
    m_list->setVisible(!details.lines.empty());
    if (!details.chart && !details.moon) {
        layout->addWidget(m_list, 1);
    } else {
        // The events on the left; the Sun's day and the Moon beside them, so that the window
        // stays within a screen's height.
        columns = new QBoxLayout(QBoxLayout::LeftToRight);
        columns->addWidget(m_list, 0);
        auto* pictures = new QVBoxLayout;
        if (details.chart) {
            auto* chartHeading = new QLabel(QString::fromStdString(details.chart->heading), this);
            chartHeading->setTextFormat(Qt::PlainText);
            chartHeading->setWordWrap(true);
            pictures->addWidget(chartHeading);
            m_chart = new CSunDayChartView(*details.chart, this);
            pictures->addWidget(m_chart, 1);
        }
        if (details.moon) {
            auto* moonHeading = new QLabel(QStringLiteral("Moon"), this);
            moonHeading->setFont(bold);
            pictures->addWidget(moonHeading);
            auto* moonRow = new QHBoxLayout;
            m_moonDisc = new CMoonPhaseDisc(details.moon->fraction, details.moon->elongation, this);
            moonRow->addWidget(m_moonDisc, 0, Qt::AlignTop);
            m_moonList = MakeList(details.moon->lines, QStringLiteral("The Moon on the day"));
            moonRow->addWidget(m_moonList, 1);
            pictures->addLayout(moonRow);
        }
        columns->addLayout(pictures, 1);
        layout->addLayout(columns, 1);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);

    // On a small screen the pictures go under the list when they do not fit beside it, and
    // the lists give way (and scroll) rather than the window running off the screen.
    QSize size = sizeHint();
    if (const QScreen* where = parent != nullptr ? parent->screen() : screen()) {
        const QSize room = where->availableGeometry().size() - QSize(16, 48);
        if (columns != nullptr && minimumSizeHint().width() > room.width()) {
            columns->setDirection(QBoxLayout::TopToBottom);
            size = sizeHint();
        }
        if (size.height() > room.height()) {
            m_list->setMinimumHeight(0);
            if (m_moonList != nullptr) {
                m_moonList->setMinimumHeight(0);
            }
        }
        size = size.boundedTo(room);
    }
    resize(size);
}
