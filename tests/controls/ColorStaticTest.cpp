#include "ColorStatic.h"

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Glyph edges are blended with the background; the darkest pixel of the text is the one
// nearest to the pen colour.
bool ContainsColor(const QImage& image, const QColor& color) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - color.red()) < 40 &&
                std::abs(pixel.green() - color.green()) < 40 &&
                std::abs(pixel.blue() - color.blue()) < 40) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

TEST(ColorStatic, PaintsTextColourOnTheWindowColourFixedAtConstruction) {
    QWidget dialog;
    auto* help = new CColorStatic(QStringLiteral("Help..."), &dialog);
    help->setGeometry(5, 5, 160, 40);
    QFont large = help->font();
    large.setPointSize(20);
    large.setBold(true);
    help->setFont(large);
    const QColor face = dialog.palette().color(QPalette::Window);
    EXPECT_EQ(help->BackgroundColor(), face);
    EXPECT_EQ(help->TextColor(), QColor(0, 0, 0));

    QImage before = help->grab().toImage();
    EXPECT_EQ(before.pixelColor(0, 0).rgb(), face.rgb());
    EXPECT_TRUE(ContainsColor(before, Qt::black));

    help->SetTextColor(QColor(0, 0, 255));
    QImage after = help->grab().toImage();
    EXPECT_TRUE(ContainsColor(after, QColor(0, 0, 255)));
    EXPECT_FALSE(ContainsColor(after, Qt::black));

    // A new colour scheme does not reach the background chosen at construction.
    QPalette changed = help->palette();
    changed.setColor(QPalette::Window, QColor(10, 200, 30));
    help->setPalette(changed);
    EXPECT_EQ(help->grab().toImage().pixelColor(0, 0).rgb(), face.rgb());
}

TEST(ColorStatic, LeftClickInsideEmitsClicked) {
    QWidget dialog;
    auto* help = new CColorStatic(QStringLiteral("Help..."), &dialog);
    help->setGeometry(5, 5, 80, 24);
    dialog.show();
    QSignalSpy spy(help, &CColorStatic::clicked);
    QTest::mouseClick(help, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(spy.count(), 0);
    QTest::mouseClick(help, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(spy.count(), 1);
}
