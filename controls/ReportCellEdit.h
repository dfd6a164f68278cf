// CReportCellEdit is the in-place editing and the edit keys of the report list (CReportCtrl).
//
// One cell at a time is edited in a line edit laid over it. An edit is active while editing is
// enabled and the edit row and column both lie inside the list; every way out of an edit
// (End) puts them back to -1. The list ends an edit with commit on a mouse button press, before
// a sort and before a row or column is inserted; without commit on Escape and when all rows
// are deleted. Losing the focus does not end it. Keys of an open edit: Tab moves to the next
// column (wrapping to column 0), Up and Down to the row above and below, Enter commits, Escape
// cancels.
#pragma once

#include <QObject>

class IReportEditHost;
class QLineEdit;

class CReportCellEdit : public QObject {
public:
    explicit CReportCellEdit(IReportEditHost& host);

    bool IsEditable() const { return m_bEditable; }
    // Turning editing off ends an open edit with commit.
    void SetEditable(bool editable);
    bool IsActive() const;
    int Row() const { return m_nEditRow; }
    int Column() const { return m_nEditColumn; }
    QLineEdit* Editor() const { return m_editor; }
    // False when editing is off, the cell does not exist or no editor could be made.
    bool Begin(int row, int column);
    // True when a commit changed the cell's text.
    bool End(bool commit);
    // Keys of an open edit and the swallowed space; true when the key was used up.
    bool PreTranslateKey(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ValidCell(int row, int column) const;

    IReportEditHost& m_host;
    QLineEdit* m_editor = nullptr;  // a child of the host's editor parent
    bool m_bEditable = false;
    int m_nEditRow = -1;
    int m_nEditColumn = -1;
    int m_nEditorAlign = 0;
};
