#include "UserGuideWindow.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QVBoxLayout>

#include "GuideAnchors.h"

CUserGuideWindow::CUserGuideWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Daybreak Help"));
    m_browser = new QTextBrowser(this);
    m_browser->setAccessibleName(QStringLiteral("User guide"));
    // A bare "#section" given to the browser as it stands reloads the page without its
    // anchors; every link is resolved against the page first.
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &CUserGuideWindow::FollowLink);
    // Markdown gives its headings no anchors of their own: they are named after each load,
    // before the view moves to the section a link asked for.
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this](const QUrl& source) {
        NameHeadings();
        if (source.hasFragment()) {
            m_browser->scrollToAnchor(source.fragment());
        }
    });
    m_browser->setSource(GuideAddress(), QTextDocument::MarkdownResource);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* back = buttons->addButton(QStringLiteral("&Back"), QDialogButtonBox::ActionRole);
    back->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    QPushButton* contents =
        buttons->addButton(QStringLiteral("&Contents"), QDialogButtonBox::ActionRole);
    connect(contents, &QPushButton::clicked, m_browser, &QTextBrowser::home);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    // Neither button takes Enter from the text.
    for (QAbstractButton* button : buttons->buttons()) {
        if (auto* push = qobject_cast<QPushButton*>(button)) {
            push->setAutoDefault(false);
        }
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    layout->addWidget(buttons);

    // About 80 characters by 40 lines of the window's font, never more than most of the screen.
    const QFontMetrics metrics(m_browser->font());
    QSize size(metrics.horizontalAdvance(QLatin1Char('x')) * 90, metrics.lineSpacing() * 40);
    if (const QScreen* where =
            parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen()) {
        size = size.boundedTo(where->availableGeometry().size() * 9 / 10);
    }
    resize(size);
    m_browser->setFocus();
}

QUrl CUserGuideWindow::GuideAddress() {
    return QUrl(QStringLiteral("qrc:/guide/user-guide.md"));
}

void CUserGuideWindow::FollowLink(const QUrl& link) {
    const QUrl target = m_browser->source().resolved(link);
    if (target.scheme() == QLatin1String("qrc")) {
        m_browser->setSource(target);
    } else {
        QDesktopServices::openUrl(target);
    }
}

void CUserGuideWindow::NameHeadings() {
    QTextDocument* document = m_browser->document();
    std::vector<QTextBlock> blocks;
    std::vector<std::string> headings;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0) {
            blocks.push_back(block);
            headings.push_back(block.text().toStdString());
        }
    }
    const std::vector<std::string> anchors = HeadingAnchors(headings);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        QTextCursor cursor(blocks[i]);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat anchor;
        anchor.setAnchor(true);
        anchor.setAnchorNames({QString::fromStdString(anchors[i])});
        cursor.mergeCharFormat(anchor);
    }
}
