#include "DayDetailsDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

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

    const auto& lines = details.lines;
    m_list = new QTableWidget(static_cast<int>(lines.size()), 2, this);
    m_list->setHorizontalHeaderLabels({QStringLiteral("Event"), QStringLiteral("Local time")});
    m_list->setAccessibleName(QStringLiteral("Events of the day"));
    m_list->verticalHeader()->hide();
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int row = 0; row < static_cast<int>(lines.size()); ++row) {
        const CSunLine& line = lines[static_cast<std::size_t>(row)];
        m_list->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(line.name)));
        m_list->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(line.value)));
    }
    m_list->resizeColumnsToContents();
    m_list->resizeRowsToContents();
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setVisible(!lines.empty());
    // Tall enough for every row: the list is a few lines, not a document to scroll.
    const int frame = 2 * m_list->frameWidth();
    m_list->setMinimumHeight(m_list->horizontalHeader()->height() +
                             m_list->verticalHeader()->length() + frame);
    // Room for a vertical scroll bar too, should a small screen need one.
    m_list->setMinimumWidth(m_list->horizontalHeader()->length() + frame +
                            style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(m_list, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);

    // On a small screen the list gives way (and scrolls) rather than the window running off it.
    QSize size = sizeHint();
    if (const QScreen* where = parent != nullptr ? parent->screen() : screen()) {
        const QSize room = where->availableGeometry().size() - QSize(16, 48);
        if (size.height() > room.height()) {
            m_list->setMinimumHeight(0);
        }
        size = size.boundedTo(room);
    }
    resize(size);
}
