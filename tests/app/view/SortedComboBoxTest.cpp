// The main window's combo box: sorted insertion, Windows-1252 items, no choice after filling.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>

#include <string>
#include <vector>

#include "Cp1252.h"
#include "EntryOrder.h"
#include "SortedComboBox.h"

TEST(SortedComboBox, KeepsItemsSortedCaseInsensitivelyAndSelectsNothing) {
    CSortedComboBox combo;
    QSignalSpy activated(&combo, &QComboBox::activated);
    for (const char* text : {"banana", "Apple", "cherry", "apple", "Banana", "10", "9"}) {
        combo.AddString(text);
    }
    QStringList shown;
    for (int i = 0; i < combo.count(); ++i) {
        shown << combo.itemText(i);
    }
    // Equal texts but for case keep the order they came in.
    EXPECT_EQ(shown, (QStringList{"10", "9", "Apple", "apple", "banana", "Banana", "cherry"}));
    EXPECT_EQ(combo.GetCurSel(), -1);
    EXPECT_TRUE(combo.currentText().isEmpty());
    EXPECT_EQ(activated.count(), 0);

    combo.setCurrentIndex(combo.findText("banana"));
    combo.AddString("aardvark");  // the selection follows its item
    EXPECT_EQ(combo.GetLBText(combo.GetCurSel()), "banana");

    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
    EXPECT_TRUE(combo.lineEdit()->text().isEmpty());
    EXPECT_EQ(activated.count(), 0);
}

// A list filled whole is the list filled one entry at a time, told to its views once; the
// selection follows its item and typed text stays.
TEST(SortedComboBox, FillingWholeMatchesOneAtATimeInOneResetKeepingSelectionAndTypedText) {
    const std::vector<std::string> texts = {"banana",
                                            "Apple",
                                            "cherry",
                                            "apple",
                                            "Banana",
                                            "10",
                                            "9",
                                            "\xC9"
                                            "cole",
                                            "ecole",
                                            "Zoo"};
    CSortedComboBox oneByOne;
    CSortedComboBox whole;
    QSignalSpy activated(&whole, &QComboBox::activated);
    for (const std::string& text : texts) {
        oneByOne.AddString(text);
    }
    whole.AddStrings(texts);
    ASSERT_EQ(whole.GetCount(), oneByOne.GetCount());
    for (int i = 0; i < whole.GetCount(); ++i) {
        EXPECT_EQ(whole.GetLBText(i), oneByOne.GetLBText(i)) << "row " << i;
    }
    EXPECT_EQ(whole.GetCurSel(), -1);
    EXPECT_TRUE(whole.currentText().isEmpty());

    whole.setCurrentIndex(whole.findText("cherry"));
    QSignalSpy resets(whole.model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(whole.model(), &QAbstractItemModel::rowsInserted);
    whole.AddStrings({"aardvark", "Cherry", "cherry"});
    EXPECT_EQ(whole.GetLBText(whole.GetCurSel()), "cherry");
    EXPECT_EQ(whole.GetLBText(whole.GetCurSel() + 1), "Cherry");  // the older "cherry" first
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserts.count(), 0);

    whole.SetCurSel(-1);
    whole.setEditText("ban");
    whole.AddStrings({"Banff"});
    EXPECT_EQ(whole.GetCurSel(), -1);
    EXPECT_EQ(whole.currentText(), "ban");
    EXPECT_EQ(activated.count(), 0);
}

TEST(SortedComboBox, ShowsUnicodeAndGivesBackTheBytesItWasGiven) {
    CSortedComboBox combo;
    const std::string mayaguez =
        "Mayag\xFC"
        "ez - 00680";  // Windows-1252
    combo.AddString(mayaguez);
    combo.AddString("Zed \x80");  // 0x80 is the euro sign
    EXPECT_EQ(combo.itemText(0), QString::fromUtf8("Mayagüez - 00680"));
    EXPECT_EQ(combo.itemText(1), QString::fromUtf8("Zed €"));
    EXPECT_EQ(combo.GetLBText(0), mayaguez);
    EXPECT_EQ(combo.GetLBText(1), "Zed \x80");
    EXPECT_EQ(combo.GetLBText(5), "");
    // Control characters show escaped, one line per entry; the bytes come back unchanged.
    combo.AddString("9\x9D\n1");
    EXPECT_EQ(combo.itemText(0), QString::fromUtf8("9\\x9D\\x0A1"));
    EXPECT_EQ(combo.GetLBText(0), "9\x9D\n1");
}

// The lists' order is computed without Qt; it must be Qt's case-insensitive order of the texts
// shown, for every character the items can hold (checked on all pairs, and on a character
// followed by more text against one alone).
TEST(SortedComboBox, OrderAgreesWithQtCaseInsensitiveCompareForEveryCharacter) {
    int disagreements = 0;
    for (int i = 0; i < 256; ++i) {
        for (int j = 0; j < 256; ++j) {
            const std::string a(1, static_cast<char>(i));
            const std::string b = std::string(1, static_cast<char>(j)) + (j % 2 ? "x" : "");
            const bool qt = QString::compare(daybreak::FromCp1252(a), daybreak::FromCp1252(b),
                                             Qt::CaseInsensitive) < 0;
            if (EntrySortsBefore(a, b) != qt && ++disagreements <= 5) {
                ADD_FAILURE() << "bytes " << i << " and " << j << ": Qt says " << qt;
            }
        }
    }
    EXPECT_EQ(disagreements, 0);
}
