// CReportCtrl is a report-view list: rows of cells under a clickable column header.
//
// Over a plain table it adds:
//  - a record per row (ReportRowData) with the caller's user data and a text and background
//    colour per cell; new cells take the palette's text and base colours of the moment;
//  - sorting by a click on a column header, a second click reversing it (CReportRowOrder):
//    each pair of cells is compared as hexadecimal integers, decimal numbers, dates or text,
//    whichever both satisfy first (CellCompare.h); rows between separator rows sort as blocks;
//  - in-place editing of one cell at a time with a line edit (CReportCellEdit): a click on
//    the selected and focused row opens the clicked cell; Tab moves to the next column (wrapping
//    to column 0), Up and Down to the row above and below, Enter commits, Escape cancels;
//  - four check modes for the row check boxes: 0 none, 1 independent, 2 single (checking a
//    row unchecks all others), 3 locked (a click cannot change a check).
// The space key never reaches the list while no edit is open.
//
// The list operations keep the names and arguments of the classic list control (InsertColumn,
// InsertItem, SetItem, DeleteAllItems, ...). Rows and cells must be added through them, so
// that every row has its record with one colour pair per column.
//
//     CReportCtrl list(parent);
//     list.InsertColumn(0, "Location", kFormatLeft, 160);
//     list.InsertColumn(1, "Hour Off-Set", kFormatLeft, 80);
//     int row = list.InsertItem(0, "Hawaii");
//     list.SetItemText(row, 1, "10");
#pragma once

#include <QColor>
#include <QIcon>
#include <QList>
#include <QString>
#include <QTableWidget>

#include <memory>
#include <optional>
#include <vector>

#include "ReportCellEdit.h"
#include "ReportEditHost.h"

class QLineEdit;

// The record every row carries.
struct ReportRowData {
    quintptr userData = 0;
    std::vector<QColor> textColors;
    std::vector<QColor> bkColors;
};

// A row or cell description for InsertItem and SetItem. `mask` says which fields count.
struct ReportItem {
    static constexpr unsigned kText = 0x1;
    static constexpr unsigned kImage = 0x2;
    static constexpr unsigned kParam = 0x4;
    static constexpr unsigned kState = 0x8;
    // Bits of state and stateMask.
    static constexpr unsigned kFocused = 0x1;
    static constexpr unsigned kSelected = 0x2;

    unsigned mask = 0;
    int iItem = 0;
    int iSubItem = 0;
    unsigned state = 0;
    unsigned stateMask = 0;
    QString text;
    int iImage = -1;
    quintptr lParam = 0;
};

// Column formats for InsertColumn.
enum ReportColumnFormat : int { kFormatLeft = 0, kFormatRight = 1, kFormatCenter = 2 };

// Row state flags: what GetRowStates reports and ApplyRowStates sets. 0x01 is a filter only.
enum ReportRowState : unsigned {
    kRowAll = 0x01,
    kRowSelected = 0x02,
    kRowUnselected = 0x04,
    kRowChecked = 0x08,
    kRowUnchecked = 0x10,
    kRowFocused = 0x20,
    kRowUnfocused = 0x40,
};

// Extended style bits.
enum ReportExStyle : unsigned {
    kExGridLines = 0x01,
    kExSubItemImages = 0x02,
    kExCheckBoxes = 0x04,
    kExFullRowSelect = 0x20,
};

// The mouse action a check-change notification names.
enum ReportMouseMessage : int {
    kLeftButtonDown = 0x201,
    kLeftButtonDoubleClick = 0x203,
    kRightButtonDown = 0x204,
    kRightButtonDoubleClick = 0x206,
    kMiddleButtonDown = 0x207,
    kMiddleButtonDoubleClick = 0x209,
};

// One row saved while a sorted block is written back.
struct RowSnapshot {
    std::shared_ptr<ReportRowData> record;
    unsigned states = 0;
    std::vector<int> images;
    std::vector<QString> texts;
};

class CReportCtrl : public QTableWidget, private IReportEditHost {
    Q_OBJECT

public:
    explicit CReportCtrl(QWidget* parent = nullptr);
    ~CReportCtrl() override;

    // Places the list on `parent`, over `rect` or, when it is null, over the parent's whole
    // client area, and shows it.
    bool Create(QWidget* parent, const QRect& rect = QRect());

    unsigned GetExtendedStyle() const { return m_exStyle; }
    void SetExtendedStyle(unsigned style);
    // A list without column header cannot be sorted.
    void SetNoColumnHeader(bool none);

    int GetItemCount() const { return rowCount(); }
    int GetColumnCount() const { return columnCount(); }

    // Returns the new column's index, or -1. `subItem` is accepted for the classic signature.
    int InsertColumn(int column, const QString& heading, int format = kFormatLeft, int width = -1,
                     int subItem = -1);
    // Returns the new row's index, or -1 (also when the list has no column yet).
    int InsertItem(const ReportItem& item);
    int InsertItem(int row, const QString& text);
    bool SetItem(const ReportItem& item);
    bool SetItemText(int row, int column, const QString& text);
    QString GetItemText(int row, int column) const;
    // Returns the number of rows there were.
    int DeleteAllItems();

    quintptr GetItemData(int row) const;
    bool SetItemData(int row, quintptr userData);
    std::shared_ptr<const ReportRowData> GetRowRecord(int row) const;
    QColor GetItemTextColor(int row, int column) const;
    QColor GetItemBkColor(int row, int column) const;
    bool SetItemTextColor(int row, int column, const QColor& color);
    bool SetItemBkColor(int row, int column, const QColor& color);

    // Small images of the cells, by index into the image list; -1 for none.
    void SetImageList(const QList<QIcon>& images);
    const QList<QIcon>& GetImageList() const { return m_images; }
    int GetItemImage(int row, int column) const;
    bool SetItemImage(int row, int column, int image);

    // 1 checked, 0 unchecked, -1 when the list has no check boxes or the row does not exist.
    int GetCheck(int row) const;
    bool SetCheck(int row, bool checked);
    // Where the row's check box is drawn, in viewport coordinates; empty without check boxes.
    QRect CheckBoxRect(int row) const;

    unsigned GetRowStates(int row) const;
    bool ApplyRowStates(int row, unsigned flags);
    int ApplyRowStatesToAll(unsigned filter, unsigned flags);
    void KeepSingleCheck(int row);
    bool HandleCheckChange(bool wasChecked, int row, bool nowChecked, int mouseMessage);

    int GetCheckMode() const { return m_nCheckMode; }
    void SetCheckMode(int mode) { m_nCheckMode = mode; }

    // In-place editing.
    bool IsEditable() const { return m_edit.IsEditable(); }
    void SetEditable(bool editable) { m_edit.SetEditable(editable); }
    bool IsEditActive() const { return m_edit.IsActive(); }
    int GetEditRow() const { return m_edit.Row(); }
    int GetEditColumn() const { return m_edit.Column(); }
    QLineEdit* GetCellEditor() const { return m_edit.Editor(); }
    bool BeginCellEdit(int row, int column) { return m_edit.Begin(row, column); }
    bool EndCellEdit(bool commit) { return m_edit.End(commit); }

    // Sorting.
    void SetSeparator(const QString& text) { m_separator = text; }
    void ClearSeparator() { m_separator.reset(); }
    const std::optional<QString>& GetSeparator() const { return m_separator; }
    int GetSortColumn() const { return m_nSortColumn; }
    bool IsSortAscending() const { return m_bSortAscending; }
    bool IsSortable() const;
    void SortByColumn(int column, bool ascending);
    bool SortRowRange(int first, int last);
    int FindSeparatorRow(int after, int column) const;

signals:
    // A mouse action changed a row's check in check mode 1 or 2.
    void checkChanged(int row, int mouseMessage);
    void sorted(int column, bool ascending);
    // An in-place edit changed a cell's text.
    void cellEdited(int row, int column);

protected:
    // Makes the editor window; a null result means it could not be made and no edit opens.
    // `alignment` is 0 left, 1 centre, 2 right.
    virtual QLineEdit* CreateCellEditor(int alignment);

    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    friend class ReportCellDelegate;

    std::shared_ptr<ReportRowData> Record(int row) const;
    void SetRecord(int row, std::shared_ptr<ReportRowData> record);
    void AttachRowRecord(int row, quintptr userData);
    QTableWidgetItem* Cell(int row, int column);
    bool ValidRow(int row) const { return row >= 0 && row < rowCount(); }
    bool ValidColumn(int column) const { return column >= 0 && column < columnCount(); }
    void SetRowSelected(int row, bool selected);
    void SetRowFocused(int row, bool focused);
    void OnColumnClick(int column);
    void ForgetSort();

    // IReportEditHost
    int RowCount() const override { return rowCount(); }
    int ColumnCount() const override { return columnCount(); }
    QString CellText(int row, int column) const override { return GetItemText(row, column); }
    void CellEdited(int row, int column, const QString& text) override;
    void SelectEditRow(int row) override;
    int ColumnAlignment(int column) const override;
    QRect EditorRect(int row, int column) const override;
    QWidget& EditorParent() override { return *viewport(); }
    QLineEdit* NewCellEditor(int alignment) override { return CreateCellEditor(alignment); }
    void ScrollToCell(int row, int column) override;
    void FocusList() override { setFocus(); }

    CReportCellEdit m_edit{*this};
    std::optional<QString> m_separator;
    int m_nCheckMode = 1;
    QList<QIcon> m_images;
    int m_nSortColumn = -1;
    bool m_bSortAscending = true;
    unsigned m_exStyle = 0;
};
