#include "XHyperLink.h"

#include "LinkColor.h"

#include <QCursor>
#include <QFontMetrics>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

const QColor kLink(0, 0, 238);
const QColor kVisited(85, 26, 139);
const QColor kHover(255, 0, 0);
const QString kAddress = QStringLiteral("https://gml.noaa.gov/grad/solcalc/");

// A link whose opener records the URLs instead of starting a browser.
struct Fixture {
    QWidget dialog;
    CXHyperLink* link = nullptr;
    std::vector<QUrl> opened;
    bool openSucceeds = true;

    explicit Fixture(const QString& text = kAddress) {
        dialog.resize(400, 200);
        link = new CXHyperLink(text, &dialog);
        link->setGeometry(20, 20, 300, 30);
        link->SetUrlOpener([this](const QUrl& url) {
            opened.push_back(url);
            return openSucceeds;
        });
    }
    void Show() {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
};

}  // namespace

TEST(XHyperLink, ColourFollowsHoverThenVisited) {
    Fixture f;
    f.Show();
    EXPECT_EQ(f.link->CurrentTextColor(), kLink);
    EXPECT_FALSE(f.link->font().underline());

    const QPoint inside(5, 5);
    QCursor::setPos(f.link->mapToGlobal(inside));
    QTest::mouseMove(f.link, inside);
    EXPECT_TRUE(f.link->IsHovering());
    EXPECT_EQ(f.link->CurrentTextColor(), kHover);
    EXPECT_TRUE(f.link->font().underline());

    // Leaving: the periodic check restores colour and font.
    QCursor::setPos(f.dialog.mapToGlobal(QPoint(390, 190)));
    QTRY_VERIFY(!f.link->IsHovering());
    EXPECT_EQ(f.link->CurrentTextColor(), kLink);
    EXPECT_FALSE(f.link->font().underline());

    QTest::mouseClick(f.link, Qt::LeftButton, {}, inside);
    ASSERT_EQ(f.opened.size(), 1u);
    EXPECT_EQ(f.opened[0], QUrl(kAddress));
    EXPECT_TRUE(f.link->GetVisited());
    EXPECT_EQ(f.link->CurrentTextColor(), kVisited);

    // Hover has priority over visited.
    QCursor::setPos(f.link->mapToGlobal(inside));
    QTest::mouseMove(f.link, QPoint(6, 6));
    EXPECT_EQ(f.link->CurrentTextColor(), kHover);
}

TEST(XHyperLink, FailedOpenClearsVisitedAndEmptyUrlSucceedsWithoutOpening) {
    Fixture f;
    f.Show();
    f.link->SetVisited(true);
    f.openSucceeds = false;
    QTest::mouseClick(f.link, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(f.opened.size(), 1u);
    EXPECT_FALSE(f.link->GetVisited());
    EXPECT_EQ(f.link->CurrentTextColor(), kLink);

    Fixture empty{QString()};
    empty.link->SetAutoSize(false);  // an empty text would fit to nothing clickable
    empty.Show();
    EXPECT_TRUE(empty.link->text().isEmpty());
    EXPECT_TRUE(empty.link->GetURL().isEmpty());
    EXPECT_EQ(empty.link->OpenUrl(QString(), false), CXHyperLink::kEmptyUrl);
    QTest::mouseClick(empty.link, Qt::LeftButton, {}, QPoint(0, 0));
    EXPECT_TRUE(empty.opened.empty());
    EXPECT_TRUE(empty.link->GetVisited());
}

TEST(XHyperLink, AttachmentTakesUrlFromTextOrTextFromUrl) {
    Fixture fromText;
    fromText.Show();
    EXPECT_EQ(fromText.link->GetURL(), kAddress);
    EXPECT_EQ(fromText.link->text(), kAddress);
    EXPECT_EQ(fromText.link->toolTip(), kAddress);

    Fixture fromUrl{QString()};
    fromUrl.link->SetURL(QStringLiteral("https://example.org/"));
    fromUrl.link->SetUnderline(1);
    fromUrl.Show();
    EXPECT_EQ(fromUrl.link->text(), QStringLiteral("https://example.org/"));
    // Attachment always leaves "underline while hovered".
    EXPECT_EQ(fromUrl.link->GetUnderline(), -1);
    EXPECT_FALSE(fromUrl.link->font().underline());
    EXPECT_EQ(fromUrl.link->cursor().shape(), Qt::PointingHandCursor);
}

TEST(XHyperLink, FitsToTextByAlignment) {
    struct Row {
        Qt::Alignment align;
        const char* name;
    };
    for (const Row& row : {Row{Qt::AlignLeft, "left"}, Row{Qt::AlignRight, "right"},
                           Row{Qt::AlignHCenter, "centre"}}) {
        SCOPED_TRACE(row.name);
        QWidget parent;
        auto* link = new CXHyperLink(QStringLiteral("Daybreak on the web"), &parent);
        link->setAlignment(row.align | Qt::AlignTop);
        link->setGeometry(40, 10, 300, 40);
        link->PreSubclassWindow();
        QFont underline = link->font();
        underline.setUnderline(true);
        const QFontMetrics metrics(underline);
        const int textWidth = metrics.horizontalAdvance(link->text());
        const QRect g = link->geometry();
        EXPECT_EQ(g.width(), textWidth);
        EXPECT_EQ(g.top(), 10);
        EXPECT_EQ(g.height(), metrics.height());
        if (row.align == Qt::AlignLeft) {
            EXPECT_EQ(g.left(), 40);
        } else if (row.align == Qt::AlignRight) {
            EXPECT_EQ(g.x() + g.width(), 340);
        } else {
            EXPECT_NEAR(g.x() + g.width() / 2.0, 190.0, 1.0);
        }
    }
}

TEST(XHyperLink, ClickSignalOnlyWhenAskedAndOpenOnClickOff) {
    Fixture f;
    f.Show();
    QSignalSpy spy(f.link, &CXHyperLink::clicked);
    QTest::mouseClick(f.link, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(spy.count(), 0);

    f.link->SetNotifyParent(true);
    f.link->SetOpenOnClick(false);
    f.link->SetVisited(false);
    QTest::mouseClick(f.link, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(f.opened.size(), 1u);  // only the first click opened
    EXPECT_TRUE(f.link->GetVisited());
}

TEST(XHyperLink, OpenUrlHandsOnlyAUrlToTheOpener) {
    Fixture f;
    EXPECT_EQ(f.link->OpenUrl(QStringLiteral("www.example.com"), true), CXHyperLink::kOpened);
    ASSERT_EQ(f.opened.size(), 1u);
    EXPECT_EQ(f.opened[0], QUrl(QStringLiteral("http://www.example.com")));
    // Shell syntax stays text inside the URL; nothing interprets it.
    EXPECT_EQ(f.link->OpenUrl(QStringLiteral("https://example.com/a b;rm -rf ~"), false),
              CXHyperLink::kOpened);
    EXPECT_EQ(f.opened[1].scheme(), QStringLiteral("https"));
    EXPECT_EQ(f.opened[1].host(), QStringLiteral("example.com"));
}

// The links' own colours on a light face; the palette's on a dark one; never under 4.5:1.
TEST(XHyperLink, LinkColoursReadOnAnyBackground) {
    const struct {
        QColor background;
        QColor paletteColour;
        QColor preferred;
        bool keepsPreferred;
    } rows[] = {
        {QColor(0xef, 0xef, 0xef), QColor(0x2a, 0x82, 0xda), kLink, true},
        {QColor(0xef, 0xef, 0xef), QColor(0x2a, 0x82, 0xda), kVisited, true},
        {QColor(0xff, 0xff, 0xff), QColor(0x2a, 0x82, 0xda), QColor(255, 220, 0), false},
        {QColor(0x22, 0x20, 0x20), QColor(0x2a, 0x82, 0xda), kLink, false},
        {QColor(0x22, 0x20, 0x20), QColor(0x80, 0x20, 0x20), kVisited, false},
        {QColor(0, 0, 0), QColor(0, 0, 0), kLink, false},
    };
    for (const auto& row : rows) {
        QPalette palette;
        palette.setColor(QPalette::LinkVisited, row.paletteColour);
        const QColor colour =
            daybreak::LinkColorOn(row.background, palette, row.preferred, QPalette::LinkVisited);
        EXPECT_GE(daybreak::ContrastRatio(colour, row.background), daybreak::kLinkContrast)
            << row.background.name().toStdString() << " " << colour.name().toStdString();
        if (row.keepsPreferred) {
            EXPECT_EQ(colour, row.preferred);
        }
    }
}
