// IReportEditHost is all an in-place cell edit (CReportCellEdit) knows of its list: the cells'
// texts, where a cell lies, the column's alignment, and the few things an edit does to the
// list. CReportCtrl implements it; the edit never sees the list's rows, records or sorting.
#pragma once

#include <QRect>
#include <QString>

class QLineEdit;
class QWidget;

class IReportEditHost {
public:
    virtual int RowCount() const = 0;
    virtual int ColumnCount() const = 0;
    virtual QString CellText(int row, int column) const = 0;
    // An edit changed the cell's text: the list stores it, forgets its sort and tells its owner.
    virtual void CellEdited(int row, int column, const QString& text) = 0;
    // The row of a new edit becomes the only selected row and the focused one.
    virtual void SelectEditRow(int row) = 0;
    // 0 left, 1 centre, 2 right: how the column's heading aligns (left without a heading).
    virtual int ColumnAlignment(int column) const = 0;
    // Where the editor lies over the cell, in the editor parent's coordinates.
    virtual QRect EditorRect(int row, int column) const = 0;
    // The widget the editor lives on (the list's viewport).
    virtual QWidget& EditorParent() = 0;
    // A new editor of that alignment, or null when none can be made.
    virtual QLineEdit* NewCellEditor(int alignment) = 0;
    virtual void ScrollToCell(int row, int column) = 0;
    // The focus goes back to the list when an edit that had it ends.
    virtual void FocusList() = 0;

protected:
    ~IReportEditHost() = default;
};
