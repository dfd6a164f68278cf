#include "XHyperLink.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "LinkColor.h"

CXHyperLink::CXHyperLink(QWidget* parent) : CXHyperLink(QString(), parent) {}

CXHyperLink::CXHyperLink(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMouseTracking(true);
    m_hoverTimer.setInterval(kHoverCheckMs);
    connect(&m_hoverTimer, &QTimer::timeout, this, &CXHyperLink::OnHoverCheck);
}

CXHyperLink::~CXHyperLink() {
    m_hoverTimer.stop();
}

void CXHyperLink::PreSubclassWindow() {
    if (m_attached) {
        return;
    }
    m_attached = true;
    if (m_strURL.isEmpty()) {
        m_strURL = text();
    }
    if (text().isEmpty()) {
        SetLinkText(m_strURL);
    }
    m_stdFont = font();
    m_stdFont.setUnderline(false);
    m_underlineFont = m_stdFont;
    m_underlineFont.setUnderline(true);
    FitWindowToText();
    LoadLinkCursor();
    if (m_nUnderline != -1) {
        setFont(m_stdFont);
        update();
        m_nUnderline = -1;
    }
    if (m_bShowToolTip) {
        setToolTip(m_strURL);
    }
}

void CXHyperLink::SetLinkText(const QString& text) {
    setText(QString());
    setText(text);
    FitWindowToText();
}

void CXHyperLink::FitWindowToText() {
    if (!m_bAdjustToFit) {
        return;
    }
    const QFont measureFont = m_attached ? m_underlineFont : font();
    const QFontMetrics metrics(measureFont);
    const QRect contents = contentsRect();
    const int width = metrics.horizontalAdvance(text()) + (this->width() - contents.width());
    const int height = metrics.height() + (this->height() - contents.height());

    QRect wr = geometry();
    int left = wr.x();
    int right = wr.x() + wr.width();
    int top = wr.y();
    int bottom = wr.y() + wr.height();
    const Qt::Alignment align = alignment();
    if (align & Qt::AlignVCenter) {
        // Integer division truncates toward zero; a control smaller than its text grows.
        const int shrink = ((bottom - top) - height) / 2;
        top += shrink;
        bottom -= shrink;
    } else {
        bottom = top + height;
    }
    if (align & Qt::AlignHCenter) {
        const int shrink = ((right - left) - width) / 2;
        left += shrink;
        right -= shrink;
    } else if (align & Qt::AlignRight) {
        left = right - width;
    } else {
        right = left + width;
    }
    setGeometry(left, top, right - left, bottom - top);
}

void CXHyperLink::LoadLinkCursor() {
    if (m_bLinkCursor) {
        return;
    }
    setCursor(Qt::PointingHandCursor);
    m_bLinkCursor = true;
}

int CXHyperLink::OpenUrl(const QString& url, bool openInNewWindow) {
    // The desktop opener has no separate "new window" request; the browser decides.
    (void)openInNewWindow;
    if (url.isEmpty()) {
        return kEmptyUrl;
    }
    const QUrl target = QUrl::fromUserInput(url);
    if (!target.isValid() || target.isEmpty()) {
        return kInvalidUrl;
    }
    const bool opened = m_opener ? m_opener(target) : QDesktopServices::openUrl(target);
    return opened ? kOpened : kNoOpener;
}

void CXHyperLink::SetURL(const QString& url) {
    m_strURL = url;
    if (m_attached && m_bShowToolTip) {
        setToolTip(m_strURL);
    }
}

void CXHyperLink::SetColors(const QColor& link, const QColor& visited, const QColor& hover) {
    m_crLink = link;
    m_crVisited = visited;
    m_crHover = hover;
    update();
}

void CXHyperLink::SetBackgroundColor(const QColor& color) {
    m_crBackground = color;
    update();
}

QColor CXHyperLink::BackgroundToPaint() const {
    return m_crBackground.isValid() ? m_crBackground : palette().color(QPalette::Window);
}

QColor CXHyperLink::CurrentTextColor() const {
    if (m_bHovering) {
        return m_crHover;
    }
    const QColor background = BackgroundToPaint();
    return m_bVisited
               ? daybreak::LinkColorOn(background, palette(), m_crVisited, QPalette::LinkVisited)
               : daybreak::LinkColorOn(background, palette(), m_crLink);
}

void CXHyperLink::SetUnderline(int mode) {
    m_nUnderline = mode;
    if (!m_attached) {
        return;
    }
    const bool underline = mode == 1 || (mode == -1 && m_bHovering);
    setFont(underline ? m_underlineFont : m_stdFont);
    update();
}

void CXHyperLink::SetVisited(bool visited) {
    m_bVisited = visited;
    update();
}

void CXHyperLink::showEvent(QShowEvent* event) {
    PreSubclassWindow();
    QLabel::showEvent(event);
}

void CXHyperLink::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), BackgroundToPaint());
    painter.setPen(CurrentTextColor());
    painter.setFont(font());
    painter.drawText(contentsRect(), static_cast<int>(alignment()) | Qt::TextSingleLine, text());
}

void CXHyperLink::mouseMoveEvent(QMouseEvent* event) {
    // Mouse moves reach only a shown control, and showing attaches it: the fonts exist.
    PreSubclassWindow();
    if (!m_bHovering) {
        m_bHovering = true;
        if (m_nUnderline == -1) {
            setFont(m_underlineFont);
        }
        update();
        m_hoverTimer.start();
    }
    QLabel::mouseMoveEvent(event);
}

QPoint CXHyperLink::CursorPos() const {
    return QCursor::pos();
}

void CXHyperLink::OnHoverCheck() {
    if (rect().contains(mapFromGlobal(CursorPos()))) {
        return;
    }
    m_bHovering = false;
    m_hoverTimer.stop();
    if (m_nUnderline != 1) {
        setFont(m_stdFont);
    }
    update();
}

void CXHyperLink::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void CXHyperLink::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click) {
        OnClicked();
    }
}

void CXHyperLink::OnClicked() {
    // The hover timer keeps running: it ends the hover once the cursor has left.
    m_bHovering = false;
    const int result = m_bOpenOnClick ? OpenUrl(m_strURL, m_bOpenInNewWindow) : kClickWithoutOpen;
    if (result > 32) {
        m_bVisited = true;
        update();
    } else {
        m_bVisited = false;
        QApplication::beep();
        update();
    }
    if (m_bNotifyParent) {
        emit clicked();
    }
}
