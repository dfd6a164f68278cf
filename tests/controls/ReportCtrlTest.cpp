#include "ReportCtrl.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A shown list of `rows` x `columns` cells named "r<row>c<column>".
struct ListFixture {
    QWidget window;
    CReportCtrl* list;

    ListFixture(int rows, int columns) {
        window.resize(500, 300);
        list = new CReportCtrl(&window);
        list->setGeometry(0, 0, 500, 300);
        for (int c = 0; c < columns; ++c) {
            list->InsertColumn(c, QStringLiteral("H%1").arg(c), kFormatLeft, 100);
        }
        for (int r = 0; r < rows; ++r) {
            list->InsertItem(r, QStringLiteral("r%1c0").arg(r));
            for (int c = 1; c < columns; ++c) {
                list->SetItemText(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
            }
        }
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QPoint CellCenter(int row, int column) const {
        return list->visualRect(list->model()->index(row, column)).center();
    }
    void Click(int row, int column) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CellCenter(row, column));
    }
    void ClickCheckBox(int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->CheckBoxRect(row).center());
    }
};

// Fails to make its editor, as a window system out of resources would.
class NoEditorList : public CReportCtrl {
protected:
    QLineEdit* CreateCellEditor(int) override { return nullptr; }
};

}  // namespace

TEST(ReportCtrl, AttachmentStyleAndDefaultRowRecord) {
    CReportCtrl list;
    EXPECT_EQ(list.GetExtendedStyle(), unsigned{kExSubItemImages | kExFullRowSelect});
    EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_FALSE(list.showGrid());
    list.SetExtendedStyle(list.GetExtendedStyle() | kExGridLines);
    EXPECT_EQ(list.GetExtendedStyle(), 0x23u);
    EXPECT_TRUE(list.showGrid());

    EXPECT_EQ(list.InsertItem(0, QStringLiteral("no column")), -1);
    list.InsertColumn(0, QStringLiteral("A"));
    list.InsertColumn(1, QStringLiteral("B"));
    ASSERT_EQ(list.InsertItem(0, QStringLiteral("x")), 0);
    const auto record = list.GetRowRecord(0);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->userData, 0u);
    ASSERT_EQ(record->textColors.size(), 2u);
    ASSERT_EQ(record->bkColors.size(), 2u);
    EXPECT_EQ(record->textColors[1], list.palette().color(QPalette::Text));
    EXPECT_EQ(record->bkColors[1], list.palette().color(QPalette::Base));

    ReportItem withParam;
    withParam.mask = ReportItem::kText | ReportItem::kParam;
    withParam.iItem = 1;
    withParam.text = QStringLiteral("y");
    withParam.lParam = 77;
    ASSERT_EQ(list.InsertItem(withParam), 1);
    EXPECT_EQ(list.GetItemData(1), 77u);
    EXPECT_TRUE(list.SetItemData(1, 78));
    EXPECT_EQ(list.GetItemData(1), 78u);
    EXPECT_FALSE(list.SetItemText(5, 0, QStringLiteral("out of range")));
    EXPECT_FALSE(list.SetItemText(0, 2, QStringLiteral("out of range")));

    // Created without a rectangle, a list covers its parent's client area.
    QWidget parent;
    parent.resize(320, 240);
    CReportCtrl created;
    EXPECT_FALSE(created.Create(nullptr));
    ASSERT_TRUE(created.Create(&parent));
    EXPECT_EQ(created.geometry(), parent.rect());
    ASSERT_TRUE(created.Create(&parent, QRect(5, 6, 70, 80)));
    EXPECT_EQ(created.geometry(), QRect(5, 6, 70, 80));
}

TEST(ReportCtrl, InsertColumnAtZeroShiftsColoursTextsAndKeepsCheckBox) {
    ListFixture f(2, 2);
    f.list->SetExtendedStyle(f.list->GetExtendedStyle() | kExCheckBoxes);
    f.list->SetCheck(1, true);
    ASSERT_TRUE(f.list->SetItemTextColor(0, 0, Qt::red));
    ASSERT_TRUE(f.list->SetItemBkColor(0, 1, Qt::green));

    EXPECT_EQ(f.list->InsertColumn(0, QStringLiteral("New")), 0);
    EXPECT_EQ(f.list->GetColumnCount(), 3);
    EXPECT_EQ(f.list->GetItemText(0, 1), QStringLiteral("r0c0"));
    EXPECT_EQ(f.list->GetItemText(0, 2), QStringLiteral("r0c1"));
    EXPECT_EQ(f.list->GetItemTextColor(0, 1), QColor(Qt::red));
    EXPECT_EQ(f.list->GetItemBkColor(0, 2), QColor(Qt::green));
    EXPECT_EQ(f.list->GetItemTextColor(0, 0), f.list->palette().color(QPalette::Text));
    EXPECT_EQ(f.list->GetItemBkColor(0, 0), f.list->palette().color(QPalette::Base));
    EXPECT_EQ(f.list->GetRowRecord(1)->textColors.size(), 3u);
    EXPECT_EQ(f.list->GetCheck(1), 1);
    EXPECT_EQ(f.list->GetCheck(0), 0);
}

TEST(ReportCtrl, SpaceKeyNeverReachesTheListWithoutEdit) {
    ListFixture f(0, 1);
    f.list->InsertItem(0, QStringLiteral("x"));
    f.list->InsertItem(1, QStringLiteral(" y"));
    f.list->setFocus();
    f.list->ApplyRowStates(0, kRowSelected | kRowFocused);
    // Unswallowed, the space would start a keyboard search and move to " y".
    QTest::keyClick(f.list, Qt::Key_Space);
    EXPECT_EQ(f.list->GetRowStates(0), unsigned{kRowSelected | kRowUnchecked | kRowFocused});
    EXPECT_EQ(f.list->GetRowStates(1), unsigned{kRowUnselected | kRowUnchecked | kRowUnfocused});
}

TEST(ReportCtrl, CheckModes) {
    ListFixture f(3, 2);
    QSignalSpy spy(f.list, &CReportCtrl::checkChanged);

    // No check boxes: clicks select through the list itself and never notify.
    EXPECT_EQ(f.list->GetCheck(0), -1);
    f.Click(1, 1);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_TRUE(f.list->GetRowStates(1) & kRowSelected);

    f.list->SetExtendedStyle(f.list->GetExtendedStyle() | kExCheckBoxes);
    ASSERT_FALSE(f.list->CheckBoxRect(0).isEmpty());

    // Mode 1: independent checks.
    f.ClickCheckBox(0);
    f.ClickCheckBox(2);
    EXPECT_EQ(f.list->GetCheck(0), 1);
    EXPECT_EQ(f.list->GetCheck(2), 1);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(1).at(0).toInt(), 2);
    EXPECT_EQ(spy.at(1).at(1).toInt(), int{kLeftButtonDown});
    EXPECT_EQ(f.list->GetRowStates(2) & (kRowSelected | kRowFocused),
              unsigned{kRowSelected | kRowFocused});
    EXPECT_FALSE(f.list->GetRowStates(0) & kRowSelected);

    // Mode 2: checking one row unchecks every other.
    f.list->SetCheckMode(2);
    spy.clear();
    f.ClickCheckBox(1);
    EXPECT_EQ(f.list->GetCheck(0), 0);
    EXPECT_EQ(f.list->GetCheck(1), 1);
    EXPECT_EQ(f.list->GetCheck(2), 0);
    EXPECT_EQ(spy.count(), 1);
    f.list->ApplyRowStatesToAll(kRowAll, kRowChecked);
    EXPECT_EQ(f.list->GetCheck(0), 1);
    EXPECT_EQ(f.list->GetCheck(1), 0);
    EXPECT_EQ(f.list->GetCheck(2), 0);

    // Mode 3: a click puts the check back and tells nobody.
    f.list->SetCheckMode(3);
    spy.clear();
    f.ClickCheckBox(0);
    f.ClickCheckBox(2);
    EXPECT_EQ(f.list->GetCheck(0), 1);
    EXPECT_EQ(f.list->GetCheck(2), 0);
    EXPECT_EQ(spy.count(), 0);

    // Mode 0: the list's own toggle stands and nothing is said.
    f.list->SetCheckMode(0);
    f.ClickCheckBox(2);
    EXPECT_EQ(f.list->GetCheck(2), 1);
    EXPECT_EQ(spy.count(), 0);
}

TEST(ReportCtrl, EditingByClicksAndKeys) {
    ListFixture f(3, 3);
    f.list->SetEditable(true);
    QSignalSpy edited(f.list, &CReportCtrl::cellEdited);

    f.Click(1, 1);
    EXPECT_FALSE(f.list->IsEditActive());
    f.Click(1, 1);
    ASSERT_TRUE(f.list->IsEditActive());
    QLineEdit* editor = f.list->GetCellEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->text(), QStringLiteral("r1c1"));
    EXPECT_EQ(editor->selectedText(), QStringLiteral("r1c1"));

    QTest::keyClicks(editor, QStringLiteral("X"));
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_EQ(f.list->GetItemText(1, 1), QStringLiteral("X"));
    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited.at(0).at(0).toInt(), 1);
    EXPECT_EQ(edited.at(0).at(1).toInt(), 1);
    EXPECT_EQ(f.list->GetEditColumn(), 2);
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_EQ(f.list->GetEditRow(), 1);
    EXPECT_EQ(f.list->GetEditColumn(), 0);  // wrapped

    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(f.list->GetEditRow(), 2);
    QTest::keyClick(editor, Qt::Key_Down);  // last row: the key is not the list's
    EXPECT_EQ(f.list->GetEditRow(), 2);
    QTest::keyClick(editor, Qt::Key_Up);
    EXPECT_EQ(f.list->GetEditRow(), 1);
    EXPECT_TRUE(f.list->GetRowStates(1) & kRowSelected);
    EXPECT_FALSE(f.list->GetRowStates(2) & kRowSelected);

    // Escape drops the typed text; a space typed in an edit is text, not swallowed.
    QTest::keyClicks(editor, QStringLiteral("a b"));
    EXPECT_EQ(editor->text(), QStringLiteral("a b"));
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(f.list->IsEditActive());
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(f.list->GetItemText(1, 0), QStringLiteral("r1c0"));
    EXPECT_EQ(edited.count(), 1);

    // Enter with the text unchanged neither notifies nor forgets the sort.
    f.list->SortByColumn(2, false);
    ASSERT_TRUE(f.list->BeginCellEdit(0, 2));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_FALSE(f.list->IsEditActive());
    EXPECT_EQ(edited.count(), 1);
    EXPECT_EQ(f.list->GetSortColumn(), 2);
    EXPECT_FALSE(f.list->IsSortAscending());

    // A changed cell forgets the sort.
    ASSERT_TRUE(f.list->BeginCellEdit(0, 2));
    QTest::keyClicks(editor, QStringLiteral("new"));
    QTest::keyClick(editor, Qt::Key_Enter);
    EXPECT_EQ(f.list->GetItemText(0, 2), QStringLiteral("new"));
    EXPECT_EQ(edited.count(), 2);
    EXPECT_EQ(f.list->GetSortColumn(), -1);
    EXPECT_TRUE(f.list->IsSortAscending());
}

TEST(ReportCtrl, EditEndsBeforeStructuralChangesAndNotWithoutEditing) {
    ListFixture f(2, 2);
    EXPECT_FALSE(f.list->BeginCellEdit(0, 0));  // editing not enabled
    f.list->SetEditable(true);
    EXPECT_FALSE(f.list->BeginCellEdit(2, 0));
    EXPECT_FALSE(f.list->BeginCellEdit(0, 2));

    ASSERT_TRUE(f.list->BeginCellEdit(0, 1));
    f.list->GetCellEditor()->setText(QStringLiteral("kept"));
    f.list->InsertItem(2, QStringLiteral("r2c0"));
    EXPECT_FALSE(f.list->IsEditActive());
    EXPECT_EQ(f.list->GetItemText(0, 1), QStringLiteral("kept"));

    ASSERT_TRUE(f.list->BeginCellEdit(1, 1));
    f.list->GetCellEditor()->setText(QStringLiteral("dropped"));
    EXPECT_EQ(f.list->DeleteAllItems(), 3);
    EXPECT_FALSE(f.list->IsEditActive());
    EXPECT_EQ(f.list->GetItemCount(), 0);
}

TEST(ReportCtrl, FailedEditorLeavesNoEditOpen) {
    NoEditorList list;
    list.InsertColumn(0, QStringLiteral("A"));
    list.InsertItem(0, QStringLiteral("unchanged"));
    list.SetEditable(true);
    EXPECT_FALSE(list.BeginCellEdit(0, 0));
    EXPECT_FALSE(list.IsEditActive());
    EXPECT_EQ(list.GetEditRow(), -1);
    EXPECT_EQ(list.GetEditColumn(), -1);
    EXPECT_FALSE(list.EndCellEdit(true));
    EXPECT_EQ(list.GetItemText(0, 0), QStringLiteral("unchanged"));
}

TEST(ReportCtrl, RecordsAreFreedByDeleteAllItemsAndDestruction) {
    std::weak_ptr<const ReportRowData> deleted;
    std::weak_ptr<const ReportRowData> destroyed;
    {
        CReportCtrl list;
        list.InsertColumn(0, QStringLiteral("A"));
        list.InsertItem(0, QStringLiteral("a"));
        deleted = list.GetRowRecord(0);
        EXPECT_EQ(list.DeleteAllItems(), 1);
        EXPECT_TRUE(deleted.expired());
        list.InsertItem(0, QStringLiteral("b"));
        destroyed = list.GetRowRecord(0);
        EXPECT_FALSE(destroyed.expired());
    }
    EXPECT_TRUE(destroyed.expired());
}
