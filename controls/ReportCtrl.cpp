#include "ReportCtrl.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include <utility>

#include "ReportRowOrder.h"

Q_DECLARE_METATYPE(std::shared_ptr<ReportRowData>)

namespace {

// Where a row keeps its record (on the row's header item, which column moves leave alone) and
// a cell its image index.
constexpr int kRecordRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;

}  // namespace

// Paints each cell in its record's colours and with its image.
class ReportCellDelegate : public QStyledItemDelegate {
public:
    explicit ReportCellDelegate(CReportCtrl* list) : QStyledItemDelegate(list), m_list(list) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const int row = index.row();
        const int column = index.column();
        if (const auto record = m_list->Record(row)) {
            const auto col = static_cast<std::size_t>(column);
            if (col < record->textColors.size()) {
                option->palette.setColor(QPalette::Text, record->textColors[col]);
            }
            if (col < record->bkColors.size()) {
                option->backgroundBrush = record->bkColors[col];
            }
        }
        const int image = index.data(kImageRole).isValid() ? index.data(kImageRole).toInt() : -1;
        const bool imagesHere = column == 0 || (m_list->GetExtendedStyle() & kExSubItemImages);
        if (imagesHere && image >= 0 && image < m_list->GetImageList().size()) {
            option->icon = m_list->GetImageList().at(image);
            option->features |= QStyleOptionViewItem::HasDecoration;
            option->decorationSize = QSize(16, 16);
        }
    }

private:
    CReportCtrl* m_list;
};

CReportCtrl::CReportCtrl(QWidget* parent) : QTableWidget(parent) {
    setItemDelegate(new ReportCellDelegate(this));
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSortingEnabled(false);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Whatever was set before, the list starts with exactly full-row selection and images in
    // every column; owners may add to that (grid lines, check boxes).
    SetExtendedStyle(kExSubItemImages | kExFullRowSelect);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &CReportCtrl::OnColumnClick);
}

CReportCtrl::~CReportCtrl() {
    DeleteAllItems();
    m_images.clear();
}

bool CReportCtrl::Create(QWidget* parent, const QRect& rect) {
    if (parent == nullptr) {
        return false;
    }
    setParent(parent);
    setGeometry(rect.isNull() ? parent->rect() : rect);
    show();
    return true;
}

void CReportCtrl::SetExtendedStyle(unsigned style) {
    const bool hadCheckBoxes = (m_exStyle & kExCheckBoxes) != 0;
    m_exStyle = style;
    setShowGrid((style & kExGridLines) != 0);
    setSelectionBehavior((style & kExFullRowSelect) ? SelectRows : SelectItems);
    const bool checkBoxes = (style & kExCheckBoxes) != 0;
    if (checkBoxes != hadCheckBoxes) {
        for (int row = 0; row < rowCount(); ++row) {
            if (QTableWidgetItem* cell = item(row, 0)) {
                cell->setData(Qt::CheckStateRole,
                              checkBoxes ? QVariant(Qt::Unchecked) : QVariant());
            }
        }
    }
    viewport()->update();
}

void CReportCtrl::SetNoColumnHeader(bool none) {
    horizontalHeader()->setVisible(!none);
}

std::shared_ptr<ReportRowData> CReportCtrl::Record(int row) const {
    const QTableWidgetItem* header = ValidRow(row) ? verticalHeaderItem(row) : nullptr;
    if (header == nullptr) {
        return nullptr;
    }
    return header->data(kRecordRole).value<std::shared_ptr<ReportRowData>>();
}

void CReportCtrl::SetRecord(int row, std::shared_ptr<ReportRowData> record) {
    QTableWidgetItem* header = verticalHeaderItem(row);
    if (header == nullptr) {
        header = new QTableWidgetItem;
        setVerticalHeaderItem(row, header);
    }
    header->setData(kRecordRole, record ? QVariant::fromValue(std::move(record)) : QVariant());
}

void CReportCtrl::AttachRowRecord(int row, quintptr userData) {
    auto record = std::make_shared<ReportRowData>();
    record->userData = userData;
    const auto columns = static_cast<std::size_t>(columnCount());
    record->textColors.assign(columns, palette().color(QPalette::Text));
    record->bkColors.assign(columns, palette().color(QPalette::Base));
    SetRecord(row, std::move(record));
}

QTableWidgetItem* CReportCtrl::Cell(int row, int column) {
    QTableWidgetItem* cell = item(row, column);
    if (cell == nullptr) {
        cell = new QTableWidgetItem;
        // Check boxes turn on the button press (mousePressEvent), never through the view's
        // own release handling; edits go through BeginCellEdit only.
        cell->setFlags(cell->flags() & ~(Qt::ItemIsUserCheckable | Qt::ItemIsEditable));
        setItem(row, column, cell);
    }
    return cell;
}

int CReportCtrl::InsertColumn(int column, const QString& heading, int format, int width,
                              int /*subItem*/) {
    m_edit.End(true);
    if (column < 0) {
        return -1;
    }
    const int index = std::min(column, columnCount());
    insertColumn(index);
    auto* header = new QTableWidgetItem(heading);
    Qt::Alignment align = Qt::AlignLeft;
    if (format == kFormatCenter) {
        align = Qt::AlignHCenter;
    } else if (format == kFormatRight) {
        align = Qt::AlignRight;
    }
    header->setTextAlignment(align | Qt::AlignVCenter);
    setHorizontalHeaderItem(index, header);
    if (width >= 0) {
        setColumnWidth(index, width);
    }
    for (int row = 0; row < rowCount(); ++row) {
        QTableWidgetItem* cell = Cell(row, index);
        // The check box belongs to the row and stays in the first column.
        if (index == 0 && columnCount() > 1) {
            QTableWidgetItem* former = Cell(row, 1);
            cell->setData(Qt::CheckStateRole, former->data(Qt::CheckStateRole));
            former->setData(Qt::CheckStateRole, QVariant());
        }
        if (const auto record = Record(row)) {
            record->textColors.insert(record->textColors.begin() + index,
                                      palette().color(QPalette::Text));
            record->bkColors.insert(record->bkColors.begin() + index,
                                    palette().color(QPalette::Base));
        }
    }
    return index;
}

int CReportCtrl::InsertItem(const ReportItem& desc) {
    m_edit.End(true);
    ForgetSort();
    // Cells live in columns: a list without columns has nowhere to keep the row's text.
    if (desc.iItem < 0 || columnCount() == 0) {
        return -1;
    }
    const int row = std::min(desc.iItem, rowCount());
    insertRow(row);
    for (int column = 0; column < columnCount(); ++column) {
        Cell(row, column);
    }
    if (m_exStyle & kExCheckBoxes) {
        Cell(row, 0)->setData(Qt::CheckStateRole, Qt::Unchecked);
    }
    if (desc.mask & ReportItem::kText) {
        Cell(row, 0)->setText(desc.text);
    }
    if (desc.mask & ReportItem::kImage) {
        Cell(row, 0)->setData(kImageRole, desc.iImage);
    }
    AttachRowRecord(row, (desc.mask & ReportItem::kParam) ? desc.lParam : 0);
    if (desc.mask & ReportItem::kState) {
        if (desc.stateMask & ReportItem::kSelected) {
            SetRowSelected(row, (desc.state & ReportItem::kSelected) != 0);
        }
        if (desc.stateMask & ReportItem::kFocused) {
            SetRowFocused(row, (desc.state & ReportItem::kFocused) != 0);
        }
    }
    return row;
}

int CReportCtrl::InsertItem(int row, const QString& text) {
    ReportItem desc;
    desc.mask = ReportItem::kText;
    desc.iItem = row;
    desc.text = text;
    return InsertItem(desc);
}

bool CReportCtrl::SetItem(const ReportItem& desc) {
    if (!ValidRow(desc.iItem) || !ValidColumn(desc.iSubItem)) {
        return false;
    }
    const int row = desc.iItem;
    if (desc.mask & ReportItem::kParam) {
        if (const auto record = Record(row)) {
            record->userData = desc.lParam;
        }
    }
    if (desc.mask & ReportItem::kText) {
        Cell(row, desc.iSubItem)->setText(desc.text);
    }
    if (desc.mask & ReportItem::kImage) {
        Cell(row, desc.iSubItem)->setData(kImageRole, desc.iImage);
    }
    if (desc.mask & ReportItem::kState) {
        if (desc.stateMask & ReportItem::kSelected) {
            SetRowSelected(row, (desc.state & ReportItem::kSelected) != 0);
        }
        if (desc.stateMask & ReportItem::kFocused) {
            SetRowFocused(row, (desc.state & ReportItem::kFocused) != 0);
        }
    }
    return true;
}

bool CReportCtrl::SetItemText(int row, int column, const QString& text) {
    ReportItem desc;
    desc.mask = ReportItem::kText;
    desc.iItem = row;
    desc.iSubItem = column;
    desc.text = text;
    return SetItem(desc);
}

QString CReportCtrl::GetItemText(int row, int column) const {
    const QTableWidgetItem* cell =
        ValidRow(row) && ValidColumn(column) ? item(row, column) : nullptr;
    return cell ? cell->text() : QString();
}

int CReportCtrl::DeleteAllItems() {
    m_edit.End(false);
    const int count = rowCount();
    setUpdatesEnabled(false);
    for (int row = 0; row < count; ++row) {
        SetRecord(row, nullptr);
    }
    setRowCount(0);
    setUpdatesEnabled(true);
    return count;
}

quintptr CReportCtrl::GetItemData(int row) const {
    const auto record = Record(row);
    return record ? record->userData : 0;
}

bool CReportCtrl::SetItemData(int row, quintptr userData) {
    ReportItem desc;
    desc.mask = ReportItem::kParam;
    desc.iItem = row;
    desc.lParam = userData;
    return SetItem(desc);
}

std::shared_ptr<const ReportRowData> CReportCtrl::GetRowRecord(int row) const {
    return Record(row);
}

QColor CReportCtrl::GetItemTextColor(int row, int column) const {
    const auto record = Record(row);
    const auto col = static_cast<std::size_t>(column);
    return record && column >= 0 && col < record->textColors.size() ? record->textColors[col]
                                                                    : QColor();
}

QColor CReportCtrl::GetItemBkColor(int row, int column) const {
    const auto record = Record(row);
    const auto col = static_cast<std::size_t>(column);
    return record && column >= 0 && col < record->bkColors.size() ? record->bkColors[col]
                                                                  : QColor();
}

bool CReportCtrl::SetItemTextColor(int row, int column, const QColor& color) {
    const auto record = Record(row);
    const auto col = static_cast<std::size_t>(column);
    if (!record || column < 0 || col >= record->textColors.size()) {
        return false;
    }
    record->textColors[col] = color;
    viewport()->update();
    return true;
}

bool CReportCtrl::SetItemBkColor(int row, int column, const QColor& color) {
    const auto record = Record(row);
    const auto col = static_cast<std::size_t>(column);
    if (!record || column < 0 || col >= record->bkColors.size()) {
        return false;
    }
    record->bkColors[col] = color;
    viewport()->update();
    return true;
}

void CReportCtrl::SetImageList(const QList<QIcon>& images) {
    m_images = images;
    viewport()->update();
}

int CReportCtrl::GetItemImage(int row, int column) const {
    const QTableWidgetItem* cell =
        ValidRow(row) && ValidColumn(column) ? item(row, column) : nullptr;
    if (cell == nullptr) {
        return -1;
    }
    const QVariant image = cell->data(kImageRole);
    return image.isValid() ? image.toInt() : -1;
}

bool CReportCtrl::SetItemImage(int row, int column, int image) {
    ReportItem desc;
    desc.mask = ReportItem::kImage;
    desc.iItem = row;
    desc.iSubItem = column;
    desc.iImage = image;
    return SetItem(desc);
}

int CReportCtrl::GetCheck(int row) const {
    if (!(m_exStyle & kExCheckBoxes) || !ValidRow(row) || item(row, 0) == nullptr) {
        return -1;
    }
    return item(row, 0)->checkState() == Qt::Checked ? 1 : 0;
}

bool CReportCtrl::SetCheck(int row, bool checked) {
    if (!ValidRow(row) || columnCount() == 0) {
        return false;
    }
    if (m_exStyle & kExCheckBoxes) {
        Cell(row, 0)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
    return true;
}

void CReportCtrl::SetRowSelected(int row, bool selected) {
    if (columnCount() == 0) {
        return;
    }
    selectionModel()->select(model()->index(row, 0), (selected ? QItemSelectionModel::Select
                                                               : QItemSelectionModel::Deselect) |
                                                         QItemSelectionModel::Rows);
}

void CReportCtrl::SetRowFocused(int row, bool focused) {
    if (focused) {
        selectionModel()->setCurrentIndex(model()->index(row, 0), QItemSelectionModel::NoUpdate);
    } else if (currentIndex().isValid() && currentIndex().row() == row) {
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
}

unsigned CReportCtrl::GetRowStates(int row) const {
    const bool valid = ValidRow(row) && columnCount() > 0;
    const bool selected = valid && selectionModel()->isSelected(model()->index(row, 0));
    const bool focused = valid && currentIndex().isValid() && currentIndex().row() == row;
    return (selected ? kRowSelected : kRowUnselected) |
           (GetCheck(row) > 0 ? kRowChecked : kRowUnchecked) |
           (focused ? kRowFocused : kRowUnfocused);
}

bool CReportCtrl::ApplyRowStates(int row, unsigned flags) {
    if (flags == 0 || !ValidRow(row) || columnCount() == 0) {
        return false;
    }
    bool ok = true;
    if (flags & kRowSelected) {
        SetRowSelected(row, true);
    }
    if (flags & kRowUnselected) {
        SetRowSelected(row, false);
    }
    if (flags & kRowChecked) {
        ok = SetCheck(row, true) && ok;
    }
    if (flags & kRowUnchecked) {
        ok = SetCheck(row, false) && ok;
    }
    if (flags & kRowFocused) {
        SetRowFocused(row, true);
    }
    if (flags & kRowUnfocused) {
        SetRowFocused(row, false);
    }
    return ok;
}

int CReportCtrl::ApplyRowStatesToAll(unsigned filter, unsigned flags) {
    if (filter == 0) {
        return 0;
    }
    int count = 0;
    for (int row = 0; row < rowCount(); ++row) {
        if ((filter & kRowAll) || (GetRowStates(row) & filter) == filter) {
            ApplyRowStates(row, flags);
            if (flags & kRowChecked) {
                KeepSingleCheck(row);
            }
            ++count;
        }
    }
    if ((flags & kRowChecked) && m_nCheckMode == 2) {
        KeepSingleCheck(-1);
    }
    return count;
}

void CReportCtrl::KeepSingleCheck(int row) {
    if (m_nCheckMode != 2) {
        return;
    }
    if (row < 0) {
        for (row = 0; row < rowCount() && GetCheck(row) <= 0; ++row) {
        }
        if (row >= rowCount()) {
            return;
        }
    }
    for (int later = row + 1; later < rowCount(); ++later) {
        if (GetCheck(later) > 0) {
            SetCheck(later, false);
        }
    }
}

bool CReportCtrl::HandleCheckChange(bool wasChecked, int row, bool nowChecked, int mouseMessage) {
    if (!ValidRow(row) || m_nCheckMode == 0 || wasChecked == nowChecked) {
        return false;
    }
    if (m_nCheckMode == 2 && !wasChecked && nowChecked) {
        ApplyRowStatesToAll(kRowChecked, kRowUnchecked);
        SetCheck(row, true);
        KeepSingleCheck(row);
    }
    if (m_nCheckMode == 3) {
        ApplyRowStates(row, wasChecked ? kRowChecked : kRowUnchecked);
        return true;
    }
    selectionModel()->clearSelection();
    SetRowSelected(row, true);
    SetRowFocused(row, true);
    emit checkChanged(row, mouseMessage);
    return true;
}

QRect CReportCtrl::CheckBoxRect(int row) const {
    if (!(m_exStyle & kExCheckBoxes) || !ValidRow(row) || columnCount() == 0) {
        return {};
    }
    const QModelIndex index = model()->index(row, 0);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
}

void CReportCtrl::mousePressEvent(QMouseEvent* event) {
    int message = kLeftButtonDown;
    if (event->button() == Qt::RightButton) {
        message = kRightButtonDown;
    } else if (event->button() == Qt::MiddleButton) {
        message = kMiddleButtonDown;
    }
    const bool left = message == kLeftButtonDown;
    const QPoint point = event->position().toPoint();
    const QModelIndex hit = indexAt(point);
    const int row = hit.isValid() ? hit.row() : -1;
    const int column = hit.isValid() ? hit.column() : -1;
    const bool wasChecked = GetCheck(row) > 0;
    const bool wasEditing = m_edit.IsActive();
    m_edit.End(true);
    const unsigned before = GetRowStates(row);
    const bool wasSelectedAndFocused =
        left && row >= 0 && (before & kRowSelected) && (before & kRowFocused);

    QTableWidget::mousePressEvent(event);
    // The check box turns on the press itself, as a list's check box does.
    if (left && hit.column() == 0 && CheckBoxRect(row).contains(point)) {
        SetCheck(row, !wasChecked);
    }

    const bool changed = HandleCheckChange(wasChecked, row, GetCheck(row) > 0, message);
    if (left && m_edit.IsEditable() && !changed && !wasEditing && wasSelectedAndFocused) {
        m_edit.Begin(row, column);
    }
}

void CReportCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    // The press that came with this double click has already been handled as a button press
    // (toggling a check box, opening an edit); handling it again would undo that.
    event->accept();
}

// --- Keys ----------------------------------------------------------------------------------

bool CReportCtrl::event(QEvent* event) {
    // Tab would move the focus before keyPressEvent saw it.
    if (event->type() == QEvent::KeyPress &&
        m_edit.PreTranslateKey(static_cast<QKeyEvent*>(event)->key())) {
        event->accept();
        return true;
    }
    return QTableWidget::event(event);
}

void CReportCtrl::keyPressEvent(QKeyEvent* event) {
    if (m_edit.PreTranslateKey(event->key())) {
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

// --- In-place editing (CReportCellEdit) -----------------------------------------------------

QLineEdit* CReportCtrl::CreateCellEditor(int alignment) {
    auto* editor = new QLineEdit(viewport());
    Qt::Alignment align = Qt::AlignLeft;
    if (alignment == 1) {
        align = Qt::AlignHCenter;
    } else if (alignment == 2) {
        align = Qt::AlignRight;
    }
    editor->setAlignment(align | Qt::AlignVCenter);
    editor->setFrame(true);
    return editor;
}

void CReportCtrl::CellEdited(int row, int column, const QString& text) {
    SetItemText(row, column, text);
    ForgetSort();
    emit cellEdited(row, column);
}

void CReportCtrl::SelectEditRow(int row) {
    ApplyRowStatesToAll(kRowSelected, kRowUnselected);
    SetRowSelected(row, true);
    SetRowFocused(row, true);
}

int CReportCtrl::ColumnAlignment(int column) const {
    const QTableWidgetItem* header = horizontalHeaderItem(column);
    if (horizontalHeader()->isHidden() || header == nullptr) {
        return 0;
    }
    const int headerAlign = header->textAlignment() & Qt::AlignHorizontal_Mask;
    if (headerAlign & Qt::AlignHCenter) {
        return 1;
    }
    return (headerAlign & Qt::AlignRight) ? 2 : 0;
}

QRect CReportCtrl::EditorRect(int row, int column) const {
    QRect cell = visualRect(model()->index(row, column));
    if (column > 0 && !m_images.isEmpty() && GetItemImage(row, column) >= 0) {
        cell.setLeft(cell.left() + 16);
    }
    return cell;
}

void CReportCtrl::ScrollToCell(int row, int column) {
    scrollToItem(item(row, column), QAbstractItemView::EnsureVisible);
}

// --- Sorting by a click on a column heading -------------------------------------------------
// The rows of a block are ordered as an array of row numbers first (CReportRowOrder), comparing
// the cells as they stand; only then are the rows rewritten in the new order, each with its
// texts, images, states and record.

void CReportCtrl::OnColumnClick(int column) {
    if (column == m_nSortColumn) {
        SortByColumn(column, !m_bSortAscending);
    } else {
        SortByColumn(column, true);
    }
}

// A changed row leaves the list unsorted: the next click on any heading sorts ascending.
void CReportCtrl::ForgetSort() {
    m_nSortColumn = -1;
    m_bSortAscending = true;
    horizontalHeader()->setSortIndicatorShown(false);
}

bool CReportCtrl::IsSortable() const {
    return !horizontalHeader()->isHidden() && horizontalHeader()->sectionsClickable();
}

void CReportCtrl::SortByColumn(int column, bool ascending) {
    m_edit.End(true);
    if (column < 0 || column >= columnCount() || !IsSortable()) {
        return;
    }
    m_nSortColumn = column;
    m_bSortAscending = ascending;

    // Separator rows stay put; each run of rows between them sorts by itself.
    int blockEnd = FindSeparatorRow(-1, column);
    int previousSeparator = -1;
    bool lastBlock = false;
    do {
        if (blockEnd < 0) {
            blockEnd = rowCount();
            lastBlock = true;
        }
        SortRowRange(previousSeparator + 1, blockEnd - 1);
        previousSeparator = FindSeparatorRow(blockEnd - 1, column);
        blockEnd = FindSeparatorRow(previousSeparator, column);
    } while (!lastBlock && previousSeparator >= 0);

    // The heading shows which column orders the rows and which way.
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(column,
                                         ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    emit sorted(m_nSortColumn, m_bSortAscending);
}

int CReportCtrl::FindSeparatorRow(int after, int column) const {
    if (!m_separator) {
        return -1;
    }
    for (int row = std::max(after + 1, 0); row < rowCount(); ++row) {
        if (GetItemText(row, column) == *m_separator) {
            return row;
        }
    }
    return -1;
}

bool CReportCtrl::SortRowRange(int first, int last) {
    if (!(first >= 0 && first < last && last < rowCount())) {
        return false;
    }
    const int count = last - first + 1;
    // Each cell is read once; the sort then orders indices into the keys.
    std::vector<daybreak::CCellKey> keys;
    keys.reserve(static_cast<std::size_t>(count));
    for (int row = first; row <= last; ++row) {
        keys.emplace_back(GetItemText(row, m_nSortColumn));
    }
    const std::vector<int> order = CReportRowOrder::Of(keys, m_bSortAscending);
    std::vector<int> rows;
    rows.reserve(order.size());
    for (int index : order) {
        rows.push_back(first + index);
    }

    const int columns = columnCount();
    std::vector<RowSnapshot> snapshots;
    snapshots.reserve(rows.size());
    for (int row : rows) {
        RowSnapshot snapshot;
        snapshot.record = Record(row);
        snapshot.states = GetRowStates(row);
        for (int column = 0; column < columns; ++column) {
            snapshot.images.push_back(GetItemImage(row, column));
            snapshot.texts.push_back(GetItemText(row, column));
        }
        snapshots.push_back(std::move(snapshot));
    }
    for (int k = 0; k < count; ++k) {
        const int row = first + k;
        RowSnapshot& snapshot = snapshots[static_cast<std::size_t>(k)];
        ApplyRowStates(row, snapshot.states);
        if ((snapshot.states & kRowChecked) && m_nCheckMode == 2) {
            KeepSingleCheck(row);
        }
        SetRecord(row, std::move(snapshot.record));
        for (int column = 0; column < columns; ++column) {
            const auto col = static_cast<std::size_t>(column);
            SetItemImage(row, column, snapshot.images[col]);
            SetItemText(row, column, snapshot.texts[col]);
        }
    }
    return true;
}
