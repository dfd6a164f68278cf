#include "DialogUnits.h"

#include <QFont>

#include <gtest/gtest.h>

TEST(DialogUnits, ScaleWithTheFontAndRoundToNearest) {
    QFont font;
    font.setPixelSize(13);
    const daybreak::DialogUnits du(font);
    const QFontMetrics metrics(font);
    EXPECT_EQ(du.BaseY(), metrics.height());
    EXPECT_GE(du.BaseX(), 1);
    // Four horizontal units are one average character, eight vertical units one line.
    EXPECT_EQ(du.ToPixelsX(4), du.BaseX());
    EXPECT_EQ(du.ToPixelsY(8), du.BaseY());
    EXPECT_EQ(du.ToPixelsX(0), 0);
    EXPECT_EQ(du.ToPixelsX(-4), -du.BaseX());
    EXPECT_EQ(du.ToPixels(QSize(400, 80)), QSize(100 * du.BaseX(), 10 * du.BaseY()));

    QFont larger = font;
    larger.setPixelSize(26);
    const daybreak::DialogUnits big(larger);
    EXPECT_GT(big.ToPixels(10, 10, 100, 50).width(), du.ToPixels(10, 10, 100, 50).width());
    EXPECT_GT(big.ToPixelsY(50), du.ToPixelsY(50));
}
