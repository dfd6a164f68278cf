// CYearExportDlg asks what "Export..." in the year window writes: the table as CSV, a calendar
// of sunrise and sunset events or of daily summaries, or the chart as a picture or a document;
// whether calendar times are in UTC rather than the place's zone; and whether calendars also
// hold the Moon's phases and the seasons (off until chosen, then remembered).
#pragma once

#include <QDialog>
#include <QString>

#include <memory>
#include <vector>

#include "YearDlg.h"

class QCheckBox;
class QFileDialog;
class QRadioButton;

class CYearExportDlg : public QDialog {
    Q_OBJECT

public:
    explicit CYearExportDlg(QWidget* parent = nullptr);

    YearExportKind Kind() const;
    // The file dialog's filter for the kind: "CSV files (*.csv)".
    QString FileFilter() const;
    // The kind's extension, "csv".
    QString Extension() const;
    // A dialog asking where to save: the kind's filter, `stem` with the kind's extension as the
    // suggested name, and the extension added to a name typed without one.
    std::unique_ptr<QFileDialog> SaveDialog(QWidget* parent, const QString& stem) const;
    bool Utc() const;
    bool Almanac() const;

private:
    std::vector<QRadioButton*> m_buttons;  // in the order of the kinds' table
    QCheckBox* m_utc = nullptr;
    QCheckBox* m_almanac = nullptr;
};
