#include "SortedComboBox.h"

#include <QLineEdit>
#include <QStandardItemModel>

#include "Cp1252.h"

namespace {
constexpr int kBytesRole = Qt::UserRole + 1;  // the item's original Windows-1252 bytes
}

CSortedComboBox::CSortedComboBox(QWidget* parent)
    : QComboBox(parent), m_model(new QStandardItemModel(this)) {
    setModel(m_model);
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // About seven entries show before the list scrolls.
    setMaxVisibleItems(8);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
}

void CSortedComboBox::ResetContent() {
    clear();
    clearEditText();
}

void CSortedComboBox::AddString(const std::string& text) {
    const QString shown = daybreak::FromCp1252(text);
    // After the last item that does not sort above the new one, so equal texts keep the order
    // in which they came.
    int low = 0;
    int high = m_model->rowCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (QString::compare(m_model->item(middle)->text(), shown, Qt::CaseInsensitive) <= 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    auto* item = new QStandardItem(shown);
    item->setData(QByteArray(text.data(), static_cast<qsizetype>(text.size())), kBytesRole);
    const bool wasUnselected = currentIndex() < 0;
    m_model->insertRow(low, item);
    // QComboBox selects the first item put into an empty list; the list must show no choice.
    if (wasUnselected && currentIndex() >= 0) {
        setCurrentIndex(-1);
    }
}

int CSortedComboBox::GetCurSel() const {
    return currentIndex();
}

std::string CSortedComboBox::GetLBText(int index) const {
    const QStandardItem* item = m_model->item(index);
    if (item == nullptr) {
        return {};
    }
    return item->data(kBytesRole).toByteArray().toStdString();
}

int CSortedComboBox::GetCount() const {
    return count();
}
