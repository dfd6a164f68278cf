// CYearDlg is the year window: the year of the main window's date for its place and clock
// settings, under a heading that names the place, the year and the clock the times are read
// on (and how to change it), as a chart (CYearChart) and a table of days (a CReportCtrl,
// sortable by any column, each column as wide as its widest text), with "Export..." to CSV,
// iCalendar, PNG or PDF. It is not modal; the main window keeps one and hands it each new
// request (ShowYear), so it follows the place, the date, the daylight-saving tick and the
// engine. It opens beside the main window when the screen has room, and never larger than the
// screen.
//
// Every file is written to a temporary file beside the target and renamed over it only when
// complete (ReplaceFileContent), so a failed export leaves the earlier file, or none, in place.
#pragma once

#include <QDialog>
#include <QString>

#include <memory>
#include <optional>

#include "YearExport.h"
#include "YearTable.h"

class CReportCtrl;
class CYearChart;
class CYearExportDlg;
class QFileDialog;
class QLabel;
class QTabWidget;

enum class YearExportKind { Csv, IcsEvents, IcsSummary, Png, Pdf };

class CYearDlg : public QDialog {
    Q_OBJECT

public:
    explicit CYearDlg(QWidget* parent = nullptr);

    // Computes and shows the year; an empty request (nothing entered) shows an empty year.
    // Throws as ComputeYear does, leaving the earlier year on show.
    void ShowYear(const CYearRequest& request);
    const CYearTable& Year() const { return m_year; }

    CYearChart* Chart() const { return m_chart; }
    CReportCtrl* Table() const { return m_table; }
    QTabWidget* Tabs() const { return m_tabs; }
    QLabel* Heading() const { return m_heading; }

    // Sizes the window to fit the available screen of `main` and places it beside `main` on
    // the side with more room, when that room holds a useful width (moving `main` over as
    // little as needed when only that makes room); otherwise inside the screen, over the main
    // window's edge.
    void PlaceBeside(QWidget& main);

    // Writes the year to `path`; the error message when it could not be written. `path` must be
    // a regular file or absent: a device, a pipe or a folder is refused and left as it was.
    // `almanac` adds the Moon's phases and the seasons to a calendar.
    std::optional<QString> Export(YearExportKind kind, const QString& path, bool utc = false,
                                  bool almanac = false);
    // The dialog "Export..." asks where to save in: the place and the year as the name
    // ("Chicago-IL-2007.csv"), the extension of the chosen kind added to a name without one.
    std::unique_ptr<QFileDialog> SaveDialog(const CYearExportDlg& choice);

    // The table's columns.
    enum Column { kDate, kDawn, kSunrise, kNoon, kSunset, kDusk, kDayLength, kChange };

private slots:
    void OnExport();

private:
    void FillTable();
    void FitColumns();
    QByteArray FileContent(YearExportKind kind, bool utc, bool almanac) const;

    CYearTable m_year;
    QString m_title;  // the place, the year and the clock, for the files
    QLabel* m_heading = nullptr;
    QTabWidget* m_tabs = nullptr;
    CYearChart* m_chart = nullptr;
    CReportCtrl* m_table = nullptr;
};
