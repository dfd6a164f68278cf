// CColorStatic is a static text painted in a chosen text colour on a solid background.
//
// The background is the window's colour (QPalette::Window, the face the dialog itself is drawn
// in) read once, when the control is constructed; a later change of the colour scheme leaves it
// as it was. The text
// colour starts black; an owner changes it and the control repaints at once. The whole control
// is filled with the background, the text cell included.
//
// A left-button click inside the control emits clicked(); the control does nothing else with
// it. The main window's blue "Help..." text is one of these:
//
//     auto* help = new CColorStatic(QStringLiteral("Help..."), dialog);
//     help->SetTextColor(QColor(0, 0, 255));
//     QObject::connect(help, &CColorStatic::clicked, dialog, &Dialog::OnHelpLink);
#pragma once

#include <QColor>
#include <QLabel>

class CColorStatic : public QLabel {
    Q_OBJECT

public:
    explicit CColorStatic(QWidget* parent = nullptr);
    CColorStatic(const QString& text, QWidget* parent = nullptr);

    QColor TextColor() const { return m_crText; }
    // Stores the colour and repaints the control before returning when it is visible.
    void SetTextColor(const QColor& color);
    // The colour behind the text, fixed at construction.
    QColor BackgroundColor() const { return m_crBackground; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor m_crBackground;
    QColor m_crText{0, 0, 0};
    bool m_pressed = false;
};
