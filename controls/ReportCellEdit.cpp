// In-place editing and the keyboard of CReportCtrl.
//
// One cell at a time is edited in a line edit laid over it. An edit is active while editing is
// enabled and the edit row and column both lie inside the list; every way out of an edit
// (EndCellEdit) puts them back to -1. The edit ends with commit on a mouse button press in the
// list, before a sort and before a row or column is inserted; without commit on Escape and when
// all rows are deleted. Losing the focus does not end it.
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

#include "ReportCtrl.h"

void CReportCtrl::SetEditable(bool editable) {
    if (!editable) {
        EndCellEdit(true);
    }
    m_bEditable = editable;
}

bool CReportCtrl::IsEditActive() const {
    return m_bEditable && ValidRow(m_nEditRow) && ValidColumn(m_nEditColumn);
}

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

bool CReportCtrl::BeginCellEdit(int row, int column) {
    if (!m_bEditable || !ValidRow(row) || !ValidColumn(column)) {
        return false;
    }
    if (IsEditActive() && row == m_nEditRow && column == m_nEditColumn) {
        return true;
    }
    EndCellEdit(true);
    m_nEditRow = row;
    m_nEditColumn = column;
    ApplyRowStatesToAll(kRowSelected, kRowUnselected);
    SetRowSelected(row, true);
    SetRowFocused(row, true);

    int alignment = 0;
    const QTableWidgetItem* header = horizontalHeaderItem(column);
    if (!horizontalHeader()->isHidden() && header != nullptr) {
        const int headerAlign = header->textAlignment() & Qt::AlignHorizontal_Mask;
        if (headerAlign & Qt::AlignHCenter) {
            alignment = 1;
        } else if (headerAlign & Qt::AlignRight) {
            alignment = 2;
        }
    }
    if (alignment != m_nEditorAlign) {
        m_nEditorAlign = alignment;
        delete m_editor;
        m_editor = nullptr;
    }
    if (m_editor == nullptr) {
        m_editor = CreateCellEditor(alignment);
        if (m_editor == nullptr) {
            // No editor, no edit: nothing may later read a missing editor or write its text.
            m_nEditRow = -1;
            m_nEditColumn = -1;
            return false;
        }
        m_editor->setParent(viewport());
        m_editor->hide();
        m_editor->installEventFilter(this);
    }
    m_editor->setFont(font());

    QRect cell = visualRect(model()->index(row, column));
    if (column > 0 && !m_images.isEmpty() && GetItemImage(row, column) >= 0) {
        cell.setLeft(cell.left() + 16);
    }
    m_editor->setGeometry(cell);
    m_editor->setText(GetItemText(row, column));
    m_editor->show();
    m_editor->selectAll();
    m_editor->setFocus();
    return true;
}

bool CReportCtrl::EndCellEdit(bool commit) {
    if (!IsEditActive()) {
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
    const bool changed = commit && text != GetItemText(row, column);
    if (changed) {
        SetItemText(row, column, text);
        ForgetSort();
        emit cellEdited(row, column);
    }
    // A handler of cellEdited may have ended the edit already; the editor is still ours.
    const bool editorHadFocus = m_editor->hasFocus();
    m_editor->hide();
    m_nEditRow = -1;
    m_nEditColumn = -1;
    if (editorHadFocus) {
        setFocus();
    }
    return changed;
}

bool CReportCtrl::PreTranslateKey(int key) {
    if (!IsEditActive()) {
        // The list would toggle selection or start a search on a space; it never sees one.
        return key == Qt::Key_Space;
    }
    const int row = m_nEditRow;
    const int column = m_nEditColumn;
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            EndCellEdit(true);
            BeginCellEdit(row, (column + 1) % columnCount());
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            EndCellEdit(true);
            return true;
        case Qt::Key_Escape:
            EndCellEdit(false);
            return true;
        case Qt::Key_Up:
            if (row > 0) {
                EndCellEdit(true);
                BeginCellEdit(row - 1, column);
                scrollToItem(item(row - 1, column), QAbstractItemView::EnsureVisible);
                return true;
            }
            return false;
        case Qt::Key_Down:
            if (row < rowCount() - 1) {
                EndCellEdit(true);
                BeginCellEdit(row + 1, column);
                scrollToItem(item(row + 1, column), QAbstractItemView::EnsureVisible);
                return true;
            }
            return false;
        default:
            return false;
    }
}

bool CReportCtrl::event(QEvent* event) {
    // Tab would move the focus before keyPressEvent saw it.
    if (event->type() == QEvent::KeyPress &&
        PreTranslateKey(static_cast<QKeyEvent*>(event)->key())) {
        event->accept();
        return true;
    }
    return QTableWidget::event(event);
}

bool CReportCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_editor && m_editor != nullptr) {
        if (event->type() == QEvent::KeyPress &&
            PreTranslateKey(static_cast<QKeyEvent*>(event)->key())) {
            event->accept();
            return true;
        }
        // Dialogs treat Enter and Escape as shortcuts of their buttons; an open edit keeps them.
        if (event->type() == QEvent::ShortcutOverride && IsEditActive()) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter ||
                key == Qt::Key_Tab || key == Qt::Key_Backtab) {
                event->accept();
                return true;
            }
        }
    }
    return QTableWidget::eventFilter(watched, event);
}

void CReportCtrl::keyPressEvent(QKeyEvent* event) {
    if (PreTranslateKey(event->key())) {
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}
