#include "DayDetailsDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

CDayDetailsDlg::CDayDetailsDlg(const std::string& heading, const std::vector<CSunLine>& lines,
                               QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Day Details"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QString::fromStdString(heading), this);
    title->setTextFormat(Qt::PlainText);  // a city name is text, never markup
    layout->addWidget(title);

    m_list = new QTableWidget(static_cast<int>(lines.size()), 2, this);
    m_list->setHorizontalHeaderLabels({QStringLiteral("Event"), QStringLiteral("Local time")});
    m_list->verticalHeader()->hide();
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int row = 0; row < static_cast<int>(lines.size()); ++row) {
        const CSunLine& line = lines[static_cast<std::size_t>(row)];
        m_list->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(line.name)));
        m_list->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(line.value)));
    }
    m_list->resizeColumnsToContents();
    m_list->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_list);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(std::max(560, m_list->horizontalHeader()->length() + 40), 520);
}
