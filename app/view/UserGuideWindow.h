// CUserGuideWindow, Help > Daybreak Help (F1): the user guide, the Markdown document that is
// also installed under /usr/share/doc/daybreak/, shown from the program's own resources so
// that it is there even where documentation is not installed. Links to the guide's sections
// move within it, links to the web open in the browser; Back (Alt+Left) returns, Escape
// closes. The window stays open beside the main window.
#pragma once

#include <QDialog>

class QTextBrowser;

class CUserGuideWindow : public QDialog {
    Q_OBJECT

public:
    explicit CUserGuideWindow(QWidget* parent = nullptr);

    // Where the guide lives among the resources.
    static QUrl GuideAddress();

    QTextBrowser* Browser() const { return m_browser; }
    // What a click on a link does: a section of a guide's page is shown in place, with Back
    // to return; a web address opens in the browser.
    void FollowLink(const QUrl& link);

private:
    void NameHeadings();

    QTextBrowser* m_browser = nullptr;
};
