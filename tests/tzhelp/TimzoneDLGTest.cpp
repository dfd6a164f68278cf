#include "TimzoneDLG.h"

#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QStringList kWestLocations = {"Greenwich, England",
                                    "SE Greenland",
                                    "Atlantic Ocean",
                                    "Greenland Time",
                                    "Newfoundland Time",
                                    "Atlantic Time",
                                    "Eastern Standard Time",
                                    "Central Standard Time",
                                    "Mountain Standard Time",
                                    "Pacific Standard Time",
                                    "Alaska Time",
                                    "Hawaii",
                                    "Pacific Ocean",
                                    "International Date Line"};
const QStringList kWestOffsets = {"0", "1", "2", "3", "3.5", "4",  "5",
                                  "6", "7", "8", "9", "10",  "11", "+/-12"};
const QStringList kEastLocations = {"Mid Europe/Africa",
                                    "E Europe, E Central Africa",
                                    "Moscow, Mid-East, E Africa",
                                    "NW Caspian Sea",
                                    "Ural Mountains, Russia",
                                    "Almaty (Alma ATA), Russia",
                                    "W Mongolia",
                                    "China",
                                    "Japan",
                                    "Eastern Russia / Sydney, Australia",
                                    "Kamchatskiy, E Russia",
                                    "Iran",
                                    "Afghanistan",
                                    "India",
                                    "Burma",
                                    "Mid Australia"};
const QStringList kEastOffsets = {"-1", "-2",  "-3",  "-4",   "-5",   "-6",   "-7",   "-8",
                                  "-9", "-10", "-11", "-3.5", "-4.5", "-5.5", "-6.5", "-9.5"};

QStringList Column(CReportCtrl& list, int column) {
    QStringList texts;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        texts << list.GetItemText(row, column);
    }
    return texts;
}

void ClickHeader(CReportCtrl& list, int section) {
    QHeaderView* header = list.horizontalHeader();
    const QPoint at(header->sectionViewportPosition(section) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

TEST(TimzoneDLG, ShowsBothTablesInTableOrderWithTheirColumns) {
    CTimzoneDLG dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Timezone Help Dialog"));
    const int u = dialog.ColumnUnit();
    EXPECT_EQ(u, dialog.WestList().contentsRect().width() / 6);
    EXPECT_GT(u, 0);

    struct Expected {
        CReportCtrl* list;
        const QStringList* locations;
        const QStringList* offsets;
    };
    for (const Expected& e : {Expected{&dialog.WestList(), &kWestLocations, &kWestOffsets},
                              Expected{&dialog.EastList(), &kEastLocations, &kEastOffsets}}) {
        CReportCtrl& list = *e.list;
        ASSERT_EQ(list.GetColumnCount(), 2);
        EXPECT_EQ(list.horizontalHeaderItem(0)->text(), QStringLiteral("Location"));
        EXPECT_EQ(list.horizontalHeaderItem(1)->text(), QStringLiteral("Hour Off-Set"));
        EXPECT_EQ(list.columnWidth(0), 4 * u);
        EXPECT_EQ(list.columnWidth(1), 2 * u);
        EXPECT_EQ(list.GetExtendedStyle(),
                  unsigned{kExGridLines | kExSubItemImages | kExFullRowSelect});
        EXPECT_EQ(Column(list, 0), *e.locations);
        EXPECT_EQ(Column(list, 1), *e.offsets);
        EXPECT_EQ(list.GetSortColumn(), -1);
    }
    EXPECT_EQ(dialog.WestList().GetItemCount(), 14);
    EXPECT_EQ(dialog.EastList().GetItemCount(), 16);
}

TEST(TimzoneDLG, SortLastsOnlyAsLongAsTheDialog) {
    {
        CTimzoneDLG dialog;
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        ClickHeader(dialog.WestList(), 1);
        EXPECT_EQ(Column(dialog.WestList(), 1).first(), QStringLiteral("+/-12"));
        ClickHeader(dialog.EastList(), 0);
        EXPECT_EQ(Column(dialog.EastList(), 0).first(), QStringLiteral("Afghanistan"));
        dialog.accept();
    }
    CTimzoneDLG again;
    EXPECT_EQ(Column(again.WestList(), 1), kWestOffsets);
    EXPECT_EQ(Column(again.EastList(), 0), kEastLocations);
}

TEST(TimzoneDLG, OkEnterAndEscapeCloseIt) {
    struct Row {
        Qt::Key key;
        QDialog::DialogCode result;
    };
    for (const Row& row :
         {Row{Qt::Key_Return, QDialog::Accepted}, Row{Qt::Key_Escape, QDialog::Rejected}}) {
        CTimzoneDLG dialog;
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QSignalSpy finished(&dialog, &QDialog::finished);
        // The lists pass Enter and Escape on to the dialog.
        dialog.WestList().setFocus();
        QTest::keyClick(&dialog.WestList(), row.key);
        ASSERT_EQ(finished.count(), 1);
        EXPECT_EQ(finished.at(0).at(0).toInt(), row.result);
    }
    CTimzoneDLG dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_TRUE(dialog.OkButton()->isDefault());
    QSignalSpy finished(&dialog, &QDialog::finished);
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), QDialog::Accepted);
}
