// CXHyperLink is a static text that behaves as a web link.
//
// It shows its text in the link colour, RGB(0, 0, 238); while the mouse is over it the text turns
// to the hover colour, RGB(255, 0, 0), and is underlined; after a click that opened the URL it
// shows the visited colour, RGB(85, 26, 139). Hover beats visited, visited beats link. On a dark
// background the link and visited colours are the palette's own (LinkColor.h). The cursor over
// it is the pointing hand and its tooltip is the URL.
//
// Attachment (PreSubclassWindow) happens once, by itself when the control is first shown or
// earlier when the owner calls it: an empty URL is taken from the text (an empty text from the
// URL), the fonts are fixed, the control shrinks or grows to its text (FitWindowToText), the
// cursor and tooltip are set, and the underline mode becomes "underline while hovered".
//
// Leaving is noticed by a check of the cursor position every 100 ms while hovered, so a fast
// exit that delivers no leave event still ends the hover.
//
// A click opens the URL with OpenUrl. Results follow the usual shell convention: above 32 is
// success. An empty URL is success 36 and opens nothing. The URL goes to the desktop's own
// opener (QDesktopServices::openUrl) as a QUrl; no command line is ever built from it.
//
//     auto* link = new CXHyperLink(QStringLiteral("https://gml.noaa.gov/grad/solcalc/"), box);
//     link->move(x, y);             // the width follows the text at attachment
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <functional>

class CXHyperLink : public QLabel {
    Q_OBJECT

public:
    // Result codes of OpenUrl and of a click.
    static constexpr int kInvalidUrl = 2;         // the text is no URL
    static constexpr int kNoOpener = 31;          // the desktop could not open it
    static constexpr int kClickWithoutOpen = 33;  // a click with open-on-click off
    static constexpr int kEmptyUrl = 36;          // nothing to open; counts as success
    static constexpr int kOpened = 42;            // handed to the desktop's opener
    static constexpr int kHoverCheckMs = 100;

    // Opens one URL; true when it was handed over. Replaceable so that tests open nothing.
    using UrlOpener = std::function<bool(const QUrl&)>;

    explicit CXHyperLink(QWidget* parent = nullptr);
    CXHyperLink(const QString& text, QWidget* parent = nullptr);
    ~CXHyperLink() override;

    void PreSubclassWindow();
    bool IsAttached() const { return m_attached; }

    // Replaces the shown text and refits the control to it.
    void SetLinkText(const QString& text);
    // Sizes the control to its text (measured in the underline font), keeping the left edge,
    // the right edge or the centre as the horizontal alignment asks; vertically it keeps the
    // top, or the middle when the text is centred vertically. Any frame stays part of the size.
    void FitWindowToText();
    int OpenUrl(const QString& url, bool openInNewWindow);

    QString GetURL() const { return m_strURL; }
    // Also refreshes the tooltip of an attached control.
    void SetURL(const QString& url);

    QColor GetLinkColor() const { return m_crLink; }
    QColor GetVisitedColor() const { return m_crVisited; }
    QColor GetHoverColor() const { return m_crHover; }
    // An invalid colour means the palette's button face, read at each paint.
    QColor GetBackgroundColor() const { return m_crBackground; }
    void SetColors(const QColor& link, const QColor& visited, const QColor& hover);
    void SetBackgroundColor(const QColor& color);
    // The colour the text paints in now. On a dark background the link and visited colours
    // give way to the palette's (LinkColorOn); the hover colour stays.
    QColor CurrentTextColor() const;

    // -1 underline while hovered, 0 never, 1 always.
    int GetUnderline() const { return m_nUnderline; }
    void SetUnderline(int mode);

    bool GetVisited() const { return m_bVisited; }
    void SetVisited(bool visited);
    bool IsHovering() const { return m_bHovering; }

    void SetAutoSize(bool fitToText) { m_bAdjustToFit = fitToText; }
    void SetOpenOnClick(bool open) { m_bOpenOnClick = open; }
    void SetNotifyParent(bool notify) { m_bNotifyParent = notify; }
    void SetShowToolTip(bool show) { m_bShowToolTip = show; }
    // Kept for callers that ask for a new browser window; the desktop opener decides that.
    void SetOpenInNewWindow(bool newWindow) { m_bOpenInNewWindow = newWindow; }
    void SetUrlOpener(UrlOpener opener) { m_opener = std::move(opener); }

signals:
    // After a click has been handled, when notify-parent is set.
    void clicked();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Where the mouse is, in global coordinates; the hover check asks this.
    virtual QPoint CursorPos() const;

private:
    QColor BackgroundToPaint() const;
    void OnHoverCheck();
    void OnClicked();
    void LoadLinkCursor();

    QColor m_crLink{0, 0, 238};
    QColor m_crVisited{85, 26, 139};
    QColor m_crHover{255, 0, 0};
    QColor m_crBackground;
    bool m_bHovering = false;
    bool m_bVisited = false;
    int m_nUnderline = -1;
    bool m_bAdjustToFit = true;
    QString m_strURL;
    QFont m_underlineFont;
    QFont m_stdFont;
    bool m_bLinkCursor = false;
    QTimer m_hoverTimer;
    bool m_bOpenOnClick = true;
    bool m_bNotifyParent = false;
    bool m_bShowToolTip = true;
    bool m_bOpenInNewWindow = false;
    bool m_attached = false;
    bool m_pressed = false;
    UrlOpener m_opener;
};
