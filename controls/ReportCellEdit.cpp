#include "ReportCellEdit.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "ReportEditHost.h"

CReportCellEdit::CReportCellEdit(IReportEditHost& host) : m_host(host) {}

void CReportCellEdit::SetEditable(bool editable) {
    if (!editable) {
        End(true);
    }
    m_bEditable = editable;
}

bool CReportCellEdit::ValidCell(int row, int column) const {
    return row >= 0 && row < m_host.RowCount() && column >= 0 && column < m_host.ColumnCount();
}

bool CReportCellEdit::IsActive() const {
    return m_bEditable && ValidCell(m_nEditRow, m_nEditColumn);
}

bool CReportCellEdit::Begin(int row, int column) {
    if (!m_bEditable || !ValidCell(row, column)) {
        return false;
    }
    if (IsActive() && row == m_nEditRow && column == m_nEditColumn) {
        return true;
    }
    End(true);
    m_nEditRow = row;
    m_nEditColumn = column;
    m_host.SelectEditRow(row);

    const int alignment = m_host.ColumnAlignment(column);
    if (alignment != m_nEditorAlign) {
        m_nEditorAlign = alignment;
        delete m_editor;
        m_editor = nullptr;
    }
    QWidget& parent = m_host.EditorParent();
    if (m_editor == nullptr) {
        m_editor = m_host.NewCellEditor(alignment);
        if (m_editor == nullptr) {
            // No editor, no edit: nothing may later read a missing editor or write its text.
            m_nEditRow = -1;
            m_nEditColumn = -1;
            return false;
        }
        m_editor->setParent(&parent);
        m_editor->hide();
        m_editor->installEventFilter(this);
    }
    m_editor->setFont(parent.font());
    m_editor->setGeometry(m_host.EditorRect(row, column));
    m_editor->setText(m_host.CellText(row, column));
    m_editor->show();
    m_editor->selectAll();
    m_editor->setFocus();
    return true;
}

bool CReportCellEdit::End(bool commit) {
    if (!IsActive()) {
        return false;
    }
    const int row = m_nEditRow;
    const int column = m_nEditColumn;
    if (m_editor == nullptr) {
        m_nEditRow = -1;
        m_nEditColumn = -1;
        return false;
    }
    const QString text = m_editor->text();
    const bool changed = commit && text != m_host.CellText(row, column);
    if (changed) {
        m_host.CellEdited(row, column, text);
    }
    // A handler of the change may have ended the edit already; the editor is still ours.
    const bool editorHadFocus = m_editor->hasFocus();
    m_editor->hide();
    m_nEditRow = -1;
    m_nEditColumn = -1;
    if (editorHadFocus) {
        m_host.FocusList();
    }
    return changed;
}

bool CReportCellEdit::PreTranslateKey(int key) {
    if (!IsActive()) {
        // The list would toggle selection or start a search on a space; it never sees one.
        return key == Qt::Key_Space;
    }
    const int row = m_nEditRow;
    const int column = m_nEditColumn;
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            End(true);
            Begin(row, (column + 1) % m_host.ColumnCount());
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            End(true);
            return true;
        case Qt::Key_Escape:
            End(false);
            return true;
        case Qt::Key_Up:
            if (row > 0) {
                End(true);
                Begin(row - 1, column);
                m_host.ScrollToCell(row - 1, column);
                return true;
            }
            return false;
        case Qt::Key_Down:
            if (row < m_host.RowCount() - 1) {
                End(true);
                Begin(row + 1, column);
                m_host.ScrollToCell(row + 1, column);
                return true;
            }
            return false;
        default:
            return false;
    }
}

bool CReportCellEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_editor && m_editor != nullptr) {
        if (event->type() == QEvent::KeyPress &&
            PreTranslateKey(static_cast<QKeyEvent*>(event)->key())) {
            event->accept();
            return true;
        }
        // Dialogs treat Enter and Escape as shortcuts of their buttons; an open edit keeps them.
        if (event->type() == QEvent::ShortcutOverride && IsActive()) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter ||
                key == Qt::Key_Tab || key == Qt::Key_Backtab) {
                event->accept();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
