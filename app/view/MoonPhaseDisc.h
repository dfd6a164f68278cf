// CMoonPhaseDisc: the Moon's disc lit as on a date, seen from the northern hemisphere (a
// waxing Moon is lit on the right).
#pragma once

#include <QWidget>

class CMoonPhaseDisc : public QWidget {
    Q_OBJECT

public:
    // `fraction` 0 to 1 of the disc lit; `elongation` in degrees, under 180 while waxing.
    CMoonPhaseDisc(double fraction, double elongation, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_fraction;
    bool m_waxing;
};
