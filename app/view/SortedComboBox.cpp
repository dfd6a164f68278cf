#include "SortedComboBox.h"

#include <QLineEdit>

#include <algorithm>
#include <iterator>
#include <utility>

#include "EntryOrder.h"
#include "Windows1252.h"

namespace {

// An entry as the list shows it: archive text, so a control character (a line break in a zip
// code) shows as its \xHH escape and the entry stays one line. The bytes are kept as they are.
QString Shown(const std::string& bytes) {
    return QString::fromStdString(Windows1252ToPrintable(bytes));
}

}  // namespace

// The items: the text shown and the bytes it came from. Entries are stored in arrival order
// and never move; the rows' order is kept by CSortedEntryIndex (the lists' order, shared with
// daybreak-cli), so putting an item in place shifts a few entry numbers only.
class CSortedComboBox::EntryModel : public QAbstractListModel {
public:
    explicit EntryModel(QObject* parent) : QAbstractListModel(parent) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_order.GetCount());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount() ||
            (role != Qt::DisplayRole && role != Qt::EditRole)) {
            return {};
        }
        return m_shown[Entry(index.row())];
    }

    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override {
        if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount()) {
            return false;
        }
        beginRemoveRows(parent, row, row + count - 1);
        m_order.RemoveRows(static_cast<std::size_t>(row), static_cast<std::size_t>(count));
        if (m_order.GetCount() == 0) {
            m_shown.clear();
            m_bytes.clear();
        }
        endRemoveRows();
        return true;
    }

    // After the last row that does not sort above `bytes`, so that equal texts keep the order
    // in which they came.
    void Insert(QString shown, const std::string& bytes) {
        const int row = static_cast<int>(m_order.RowFor(bytes));
        beginInsertRows(QModelIndex(), row, row);
        m_order.Add(bytes);
        m_shown.push_back(std::move(shown));
        m_bytes.push_back(bytes);
        endInsertRows();
    }

    // Every text in turn as Insert would place it (sorted once, as one bulk add), told to the
    // views as one new list.
    void InsertAll(std::vector<std::string> texts) {
        // Room and shown texts first, so that once the entries have their rows, keeping their
        // texts cannot fail.
        m_shown.reserve(m_shown.size() + texts.size());
        m_bytes.reserve(m_bytes.size() + texts.size());
        std::vector<QString> shown;
        shown.reserve(texts.size());
        for (const std::string& bytes : texts) {
            shown.push_back(Shown(bytes));
        }
        beginResetModel();
        const CEndReset endReset{this};
        m_order.AddAll(texts);
        std::move(shown.begin(), shown.end(), std::back_inserter(m_shown));
        std::move(texts.begin(), texts.end(), std::back_inserter(m_bytes));
    }

    // The row an entry has now; -1 when it has none.
    int RowOf(std::size_t entry) const {
        for (int row = 0; row < rowCount(); ++row) {
            if (Entry(row) == entry) {
                return row;
            }
        }
        return -1;
    }

    std::size_t EntryOfRow(int row) const { return Entry(row); }

    void Clear() {
        beginResetModel();
        m_order.Clear();
        m_shown.clear();
        m_bytes.clear();
        endResetModel();
    }

    const std::string* Bytes(int row) const {
        if (row < 0 || row >= rowCount()) {
            return nullptr;
        }
        return &m_bytes[Entry(row)];
    }

private:
    struct CEndReset {
        EntryModel* model;
        ~CEndReset() { model->endResetModel(); }
    };

    std::size_t Entry(int row) const { return m_order.EntryAt(static_cast<std::size_t>(row)); }

    CSortedEntryIndex m_order;         // row -> entry
    std::vector<QString> m_shown;      // entry -> text shown
    std::vector<std::string> m_bytes;  // entry -> Windows-1252 bytes
};

CSortedComboBox::CSortedComboBox(QWidget* parent)
    : QComboBox(parent), m_model(new EntryModel(this)) {
    setModel(m_model);
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // About seven entries show before the list scrolls.
    setMaxVisibleItems(8);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
}

void CSortedComboBox::ResetContent() {
    m_model->Clear();
    setCurrentIndex(-1);
    clearEditText();
}

void CSortedComboBox::AddString(const std::string& text) {
    const bool wasUnselected = currentIndex() < 0;
    m_model->Insert(Shown(text), text);
    // QComboBox selects the first item put into an empty list; the list must show no choice.
    if (wasUnselected && currentIndex() >= 0) {
        setCurrentIndex(-1);
    }
}

void CSortedComboBox::AddStrings(std::vector<std::string> texts) {
    if (texts.empty()) {
        return;
    }
    const int selected = currentIndex();
    const std::size_t selectedEntry = selected >= 0 ? m_model->EntryOfRow(selected) : 0;
    const QString typed = currentText();
    m_model->InsertAll(std::move(texts));
    // A reset model makes QComboBox choose its first row and rewrite the field.
    setCurrentIndex(selected >= 0 ? m_model->RowOf(selectedEntry) : -1);
    if (currentText() != typed) {
        setEditText(typed);
    }
}

int CSortedComboBox::GetCurSel() const {
    return currentIndex();
}

void CSortedComboBox::SetCurSel(int index) {
    setCurrentIndex(index);
}

std::string CSortedComboBox::GetLBText(int index) const {
    const std::string* bytes = m_model->Bytes(index);
    return bytes != nullptr ? *bytes : std::string();
}

int CSortedComboBox::GetCount() const {
    return count();
}
