#include "CellCompare.h"
#include "ReportCtrl.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using daybreak::CompareCellTexts;
using daybreak::ParseHexCell;

// A list with one column holding `texts`, row i carrying user data i.
std::unique_ptr<CReportCtrl> OneColumnList(const QStringList& texts) {
    auto list = std::make_unique<CReportCtrl>();
    list->InsertColumn(0, QStringLiteral("Value"));
    for (int i = 0; i < texts.size(); ++i) {
        ReportItem item;
        item.mask = ReportItem::kText | ReportItem::kParam;
        item.iItem = i;
        item.text = texts[i];
        item.lParam = static_cast<quintptr>(i);
        list->InsertItem(item);
    }
    return list;
}

QStringList Column(const CReportCtrl& list, int column) {
    QStringList texts;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        texts << list.GetItemText(row, column);
    }
    return texts;
}

QStringList Reversed(QStringList texts) {
    std::reverse(texts.begin(), texts.end());
    return texts;
}

}  // namespace

TEST(ReportSort, CompareCellTextsPicksTheFirstRuleBothSatisfy) {
    struct Row {
        const char* a;
        const char* b;
        int expected;
    };
    const Row rows[] = {
        {"1", "-1", -1},     // "-1" reads as 0xFFFFFFFF
        {"1e1", "100", 1},   // hexadecimal 0x1E1 against 0x100
        {"12.5%", "3", 1},   // decimals, the "%" ignored
        {"%", "1", -1},      // a lone "%" is the number 0
        {"3.5", "-3.5", 1},  // decimals keep their sign
        {"+/-12", "0", -1},  // text: "+" sorts before digits
        {"", "a", -1},       // empty first
        {"", "", 0},
        {"E Europe, E Central Africa", "Eastern Russia / Sydney, Australia", -1},
        {"0x10", "F", 1},  // 16 against 15
        {"-0", "0", 0},
        {"FFFFFFFFF", "FFFFFFFF", 0},   // saturated
        {" a", "b", -1},                // leading blanks are allowed: 0xA against 0xB
        {"1/2/2020", "12/31/2019", 1},  // dates, not text (text would say "/" < "2")
        {"2019-12-31", "2020-01-01", -1},
        {"10:30", "9:15", 1},
        {"March 5, 2020", "February 29, 2020", 1},
        {"1/1/1850", "1/1/1950", -1},
        {"abc", "abd", -1},
        {"abc", "ab", 1},
        {"Z", "a", -1},  // case-sensitive, byte order
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.a) + " vs " + row.b);
        EXPECT_EQ(CompareCellTexts(QString::fromUtf8(row.a), QString::fromUtf8(row.b)),
                  row.expected);
        EXPECT_EQ(CompareCellTexts(QString::fromUtf8(row.b), QString::fromUtf8(row.a)),
                  -row.expected);
    }
    // Text compares by Windows-1252 bytes: the euro sign (0x80) and accented letters follow
    // ASCII.
    EXPECT_GT(CompareCellTexts(QString::fromUtf8("\u20AC"), QStringLiteral("z")), 0);
    EXPECT_LT(CompareCellTexts(QString::fromUtf8("\u20AC"), QString::fromUtf8("\u00E9")), 0);
}

TEST(ReportSort, HexCellsFollowStrtoulBase16) {
    EXPECT_EQ(ParseHexCell("ff"), 255u);
    EXPECT_EQ(ParseHexCell("  0XfF"), 255u);
    EXPECT_EQ(ParseHexCell("+10"), 16u);
    EXPECT_EQ(ParseHexCell("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseHexCell("-2"), 0xFFFFFFFEu);
    EXPECT_EQ(ParseHexCell("100000000"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseHexCell("-100000000"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseHexCell("0"), 0u);
    EXPECT_FALSE(ParseHexCell("0x"));  // "0" read, "x" left over
    EXPECT_FALSE(ParseHexCell("+"));
    EXPECT_FALSE(ParseHexCell(" "));
    EXPECT_FALSE(ParseHexCell("ff "));
    EXPECT_FALSE(ParseHexCell("3.5"));
    EXPECT_FALSE(ParseHexCell("g"));
}

TEST(ReportSort, HourOffsetColumnsOfTheHelpTables) {
    const QStringList west = {"0", "1", "2", "3", "3.5", "4",  "5",
                              "6", "7", "8", "9", "10",  "11", "+/-12"};
    auto westList = OneColumnList(west);
    westList->SortByColumn(0, true);
    const QStringList westAscending = {"+/-12", "0", "1", "2", "3", "3.5", "4",
                                       "5",     "6", "7", "8", "9", "10",  "11"};
    EXPECT_EQ(Column(*westList, 0), westAscending);
    westList->SortByColumn(0, false);
    EXPECT_EQ(Column(*westList, 0), Reversed(westAscending));

    const QStringList east = {"-1", "-2",  "-3",  "-4",   "-5",   "-6",   "-7",   "-8",
                              "-9", "-10", "-11", "-3.5", "-4.5", "-5.5", "-6.5", "-9.5"};
    auto eastList = OneColumnList(east);
    eastList->SortByColumn(0, true);
    const QStringList eastAscending = {"-11",  "-10", "-9.5", "-9", "-8",   "-7", "-6.5", "-6",
                                       "-5.5", "-5",  "-4.5", "-4", "-3.5", "-3", "-2",   "-1"};
    EXPECT_EQ(Column(*eastList, 0), eastAscending);

    auto mixed = OneColumnList({"-1", "", "1"});
    mixed->SortByColumn(0, true);
    EXPECT_EQ(Column(*mixed, 0), QStringList({"", "1", "-1"}));
}

TEST(ReportSort, HeaderClicksSortAndReverseAndNotify) {
    QWidget window;
    auto* list = new CReportCtrl(&window);
    list->setGeometry(0, 0, 300, 200);
    list->InsertColumn(0, QStringLiteral("Name"), kFormatLeft, 100);
    list->InsertColumn(1, QStringLiteral("N"), kFormatLeft, 100);
    const QStringList names = {"b", "c", "a"};
    for (int i = 0; i < names.size(); ++i) {
        list->InsertItem(i, names[i]);
        list->SetItemText(i, 1, QString::number(10 - i));
    }
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy spy(list, &CReportCtrl::sorted);
    QHeaderView* header = list->horizontalHeader();
    auto clickHeader = [&](int section) {
        const QPoint at(header->sectionViewportPosition(section) + 10, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    };

    clickHeader(0);
    EXPECT_EQ(Column(*list, 0), QStringList({"a", "b", "c"}));
    clickHeader(0);
    EXPECT_EQ(Column(*list, 0), QStringList({"c", "b", "a"}));
    clickHeader(1);  // another column starts ascending
    EXPECT_EQ(Column(*list, 1), QStringList({"8", "9", "10"}));
    EXPECT_EQ(Column(*list, 0), QStringList({"a", "c", "b"}));
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy.at(1).at(0).toInt(), 0);
    EXPECT_FALSE(spy.at(1).at(1).toBool());
    EXPECT_EQ(spy.at(2).at(0).toInt(), 1);
    EXPECT_TRUE(spy.at(2).at(1).toBool());
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), 1);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);

    // After an insertion the same header sorts ascending again, and no arrow claims an order.
    list->InsertItem(3, QStringLiteral("d"));
    EXPECT_FALSE(header->isSortIndicatorShown());
    list->SetItemText(3, 1, QStringLiteral("7"));
    clickHeader(1);
    EXPECT_TRUE(list->IsSortAscending());
    EXPECT_EQ(Column(*list, 1), QStringList({"7", "8", "9", "10"}));

    // Without a clickable header the list cannot be sorted.
    spy.clear();
    header->setSectionsClickable(false);
    list->SortByColumn(0, true);
    list->SetNoColumnHeader(true);
    header->setSectionsClickable(true);
    list->SortByColumn(0, true);
    list->SetNoColumnHeader(false);
    list->SortByColumn(2, true);
    list->SortByColumn(-1, true);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(list->GetSortColumn(), 1);
}

TEST(ReportSort, TinyListsStillRecordTheSortAndNotify) {
    for (const QStringList& texts : {QStringList(), QStringList({"only"})}) {
        auto list = OneColumnList(texts);
        QSignalSpy spy(list.get(), &CReportCtrl::sorted);
        list->SortByColumn(0, false);
        EXPECT_EQ(list->GetSortColumn(), 0);
        EXPECT_FALSE(list->IsSortAscending());
        EXPECT_EQ(spy.count(), 1);
        EXPECT_EQ(Column(*list, 0), texts);
    }
}

TEST(ReportSort, StatesRecordsAndImagesMoveWithTheirRows) {
    auto list = OneColumnList({"c", "a", "b"});
    list->InsertColumn(1, QStringLiteral("Second"));
    list->SetExtendedStyle(list->GetExtendedStyle() | kExCheckBoxes);
    list->SetItemText(0, 1, QStringLiteral("of c"));
    list->SetItemBkColor(0, 1, Qt::yellow);
    list->SetItemImage(0, 1, 3);
    list->SetCheck(2, true);                              // "b"
    list->ApplyRowStates(0, kRowSelected | kRowFocused);  // "c"

    list->SortByColumn(0, true);
    ASSERT_EQ(Column(*list, 0), QStringList({"a", "b", "c"}));
    EXPECT_EQ(list->GetItemData(0), 1u);
    EXPECT_EQ(list->GetItemData(1), 2u);
    EXPECT_EQ(list->GetItemData(2), 0u);
    EXPECT_EQ(list->GetItemText(2, 1), QStringLiteral("of c"));
    EXPECT_EQ(list->GetItemBkColor(2, 1), QColor(Qt::yellow));
    EXPECT_EQ(list->GetItemImage(2, 1), 3);
    EXPECT_EQ(list->GetItemImage(0, 1), -1);
    EXPECT_EQ(list->GetRowStates(1), unsigned{kRowUnselected | kRowChecked | kRowUnfocused});
    EXPECT_EQ(list->GetRowStates(2), unsigned{kRowSelected | kRowUnchecked | kRowFocused});
    EXPECT_EQ(list->GetRowStates(0), unsigned{kRowUnselected | kRowUnchecked | kRowUnfocused});
}

TEST(ReportSort, SeparatorRowsDivideTheSortIntoBlocks) {
    auto list = OneColumnList({"b", "a", "--", "d", "c", "--", "f", "e"});
    list->SetSeparator(QStringLiteral("--"));
    EXPECT_EQ(list->FindSeparatorRow(-1, 0), 2);
    EXPECT_EQ(list->FindSeparatorRow(2, 0), 5);
    EXPECT_EQ(list->FindSeparatorRow(5, 0), -1);
    list->SortByColumn(0, false);
    EXPECT_EQ(Column(*list, 0), QStringList({"b", "a", "--", "d", "c", "--", "f", "e"}));
    list->SortByColumn(0, true);
    EXPECT_EQ(Column(*list, 0), QStringList({"a", "b", "--", "c", "d", "--", "e", "f"}));
    list->ClearSeparator();
    list->SortByColumn(0, true);
    EXPECT_EQ(Column(*list, 0), QStringList({"--", "--", "a", "b", "c", "d", "e", "f"}));
}
