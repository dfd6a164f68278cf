// The year window under the offscreen platform: its chart, its table, its files, and how it
// follows the main window.
#include <gtest/gtest.h>

#include <libical/ical.h>

#include <sys/stat.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <algorithm>
#include <clocale>
#include <map>

#include "DaybreakView.h"
#include "ReportCtrl.h"
#include "Resource.h"
#include "YearChart.h"
#include "YearDlg.h"
#include "YearDocument.h"
#include "YearExportDlg.h"

namespace {

using Line = CYearChart::Line;

CYearRequest Place(double lat, double lon, float offset, int dst, int year) {
    CYearRequest request;
    request.latitude = lat;
    request.longitude = lon;
    request.offset = offset;
    request.dst = dst;
    request.date = CCivilDate{year, 6, 21};
    return request;
}

const CYearRequest kChicago = Place(41.88, 87.63, 6.0f, 1, 2007);
const CYearRequest kBarrow = Place(71.29, 156.79, 9.0f, 0, 2007);
constexpr int kJune21 = 171;  // index in 2007
constexpr int kDecember21 = 354;

// Where each text first lies on a PDF page, in points; an empty rectangle for a text not there.
std::map<QString, QRectF> PlacesOnPage(QPdfDocument& pdf, int page, const QStringList& texts) {
    const QString all = pdf.getAllText(page).text();
    std::map<QString, QRectF> places;
    for (const QString& text : texts) {
        const auto at = all.indexOf(text);
        places[text] = at < 0 ? QRectF()
                              : pdf.getSelectionAtIndex(page, static_cast<int>(at),
                                                        static_cast<int>(text.size()))
                                    .boundingRectangle();
    }
    return places;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST(YearWindow, ChartHoldsEveryDayAndTheSolsticeValues) {
    CYearDlg year;
    year.ShowYear(kChicago);
    for (Line line : {Line::Sunrise, Line::Sunset, Line::SolarNoon}) {
        EXPECT_EQ(year.Chart()->LinePoints(line).size(), 365);
        EXPECT_EQ(year.Chart()->LinePieces(line), 1);
    }
    const CCivilDate june21{2007, 6, 21};
    const QPointF sunrise = year.Chart()->LinePoints(Line::Sunrise)[kJune21];
    EXPECT_DOUBLE_EQ(sunrise.x(), kJune21 + 0.5);
    EXPECT_DOUBLE_EQ(sunrise.y(),
                     HoursIntoDay(LocalSunrise(june21, 41.88, 87.63, 6.0f, 1).time, june21));
    EXPECT_DOUBLE_EQ(year.Chart()->LinePoints(Line::Sunset)[kJune21].y(),
                     HoursIntoDay(LocalSunset(june21, 41.88, 87.63, 6.0f, 1).time, june21));
    EXPECT_EQ(year.Chart()->ChosenDateX(), kJune21 + 0.5);
    // Hovering over the day shows its times.
    year.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&year));
    year.Chart()->repaint();
    const QPointF onJune21 = year.Chart()->PositionOf(QPointF(kJune21 + 0.5, 12));
    QTest::mouseMove(year.Chart(), onJune21.toPoint());
    QTRY_VERIFY(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().startsWith(QStringLiteral("Thursday, June 21, 2007")));
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("Sunrise: 05:15:47")));

    CYearRequest leap = kChicago;
    leap.date.year = 2008;
    year.ShowYear(leap);
    EXPECT_EQ(year.Chart()->LinePoints(Line::SolarNoon).size(), 366);
}

TEST(YearWindow, PolarDaysAndNightsAreFullHeightBands) {
    CYearDlg year;
    year.ShowYear(kBarrow);
    CYearChart* chart = year.Chart();
    // No line across the days without a crossing: two runs of sunrises, spring and autumn.
    EXPECT_LT(chart->LinePoints(Line::Sunrise).size(), 300);
    EXPECT_EQ(chart->LinePieces(Line::Sunrise), 2);
    // Midwinter: night and twilight bands meet at noon from both sides.
    const double noon = chart->LinePoints(Line::SolarNoon)[kDecember21].y();
    EXPECT_DOUBLE_EQ(chart->BandOnDay(0, false, kDecember21).x(), 0.0);
    EXPECT_DOUBLE_EQ(chart->BandOnDay(3, false, kDecember21).y(), noon);
    EXPECT_DOUBLE_EQ(chart->BandOnDay(3, true, kDecember21).x(), noon);
    EXPECT_DOUBLE_EQ(chart->BandOnDay(0, true, kDecember21).y(), 24.0);
    // Midsummer: no band at all.
    for (int level = 0; level < CYearChart::kBandLevels; ++level) {
        for (bool evening : {false, true}) {
            const QPointF band = chart->BandOnDay(level, evening, kJune21);
            EXPECT_DOUBLE_EQ(band.x(), band.y()) << level << evening;
        }
    }
}

TEST(YearWindow, TableSortsByDayLength) {
    CYearDlg year;
    year.ShowYear(kChicago);
    CReportCtrl* table = year.Table();
    ASSERT_EQ(table->GetItemCount(), 365);
    EXPECT_EQ(table->GetItemText(kJune21, CYearDlg::kDayLength), QStringLiteral("15:12:21"));
    QHeaderView* header = table->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(CYearDlg::kDayLength) + 5, 5));
    EXPECT_EQ(table->GetSortColumn(), CYearDlg::kDayLength);
    auto expectSorted = [table] {
        for (int row = 1; row < table->GetItemCount(); ++row) {
            ASSERT_LE(table->GetItemText(row - 1, CYearDlg::kDayLength),
                      table->GetItemText(row, CYearDlg::kDayLength));
        }
    };
    expectSorted();
    EXPECT_TRUE(table->GetItemText(0, CYearDlg::kDate).startsWith(QStringLiteral("2007-12-2")));
    EXPECT_TRUE(table->GetItemText(364, CYearDlg::kDate).startsWith(QStringLiteral("2007-06-2")));
    // A new place keeps the order, up to Barrow's midnight sun.
    year.ShowYear(kBarrow);
    expectSorted();
    EXPECT_EQ(table->GetItemText(364, CYearDlg::kDayLength), QStringLiteral("24:00:00"));
}

// The files read back, by our CSV reader and by libical, and the calendar is the same
// whatever the user's locale (German: a decimal comma).
TEST(YearWindow, ExportsParseBackInEveryLocale) {
    CYearDlg year;
    year.ShowYear(kChicago);
    QTemporaryDir dir;
    const QString csvPath = dir.filePath(QStringLiteral("year.csv"));
    ASSERT_EQ(year.Export(YearExportKind::Csv, csvPath), std::nullopt);
    const auto rows = ReadCsv(ReadFile(csvPath).toStdString());
    ASSERT_EQ(rows.size(), 366u);
    EXPECT_EQ(rows[kJune21 + 1][1], "2007-06-21T05:15:47-05:00");

    const QString icsPath = dir.filePath(QStringLiteral("year.ics"));
    ASSERT_EQ(year.Export(YearExportKind::IcsEvents, icsPath), std::nullopt);
    const QString germanPath = dir.filePath(QStringLiteral("german.ics"));
    const std::string cLocale = std::setlocale(LC_ALL, nullptr);
    const QLocale qtLocale;
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the de_DE.UTF-8 locale is missing: run tools/setup-deps.sh";
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto germanExport = year.Export(YearExportKind::IcsEvents, germanPath);
    QLocale::setDefault(qtLocale);
    std::setlocale(LC_ALL, cLocale.c_str());
    ASSERT_EQ(germanExport, std::nullopt);
    auto withoutStamps = [](const QByteArray& text) {
        static const QRegularExpression stamp(QStringLiteral("DTSTAMP:[0-9TZ]+\r\n"));
        return QString::fromUtf8(text).remove(stamp);
    };
    EXPECT_EQ(withoutStamps(ReadFile(germanPath)), withoutStamps(ReadFile(icsPath)));
    icalcomponent* calendar = icalparser_parse_string(ReadFile(icsPath).constData());
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(icalcomponent_count_components(calendar, ICAL_VEVENT_COMPONENT), 730);
    icalcomponent* first = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
    const icaltimetype start = icalcomponent_get_dtstart(first);
    EXPECT_EQ(QStringLiteral("2007-01-01T%1:%2:%3")
                  .arg(start.hour, 2, 10, QLatin1Char('0'))
                  .arg(start.minute, 2, 10, QLatin1Char('0'))
                  .arg(start.second, 2, 10, QLatin1Char('0'))
                  .toStdString(),
              rows[1][1].substr(0, 19));
    icalcomponent_free(calendar);
    EXPECT_EQ(year.Export(YearExportKind::IcsSummary, icsPath, true), std::nullopt);
    EXPECT_TRUE(ReadFile(icsPath).contains("SUMMARY:Sunrise "));

    const QString png = dir.filePath(QStringLiteral("year.png"));
    const QString pdf = dir.filePath(QStringLiteral("year.pdf"));
    ASSERT_EQ(year.Export(YearExportKind::Png, png), std::nullopt);
    ASSERT_EQ(year.Export(YearExportKind::Pdf, pdf), std::nullopt);
    EXPECT_TRUE(ReadFile(png).startsWith("\x89PNG"));
    EXPECT_TRUE(ReadFile(pdf).startsWith("%PDF"));
    // Nothing beside the files: the temporary files were renamed over them.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 5);
}

TEST(YearWindow, AFailedExportSaysWhyAndLeavesNoFile) {
    CYearDlg year;
    year.ShowYear(kChicago);
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("no-such-folder/year.csv"));
    EXPECT_EQ(year.Export(YearExportKind::Csv, missing),
              QStringLiteral("Cannot write file %1: No such file or directory").arg(missing));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    // A pipe (or a device) stays what it is.
    const QString pipe = dir.filePath(QStringLiteral("pipe.ics"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const auto error = year.Export(YearExportKind::IcsEvents, pipe);
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->contains(QStringLiteral("not a regular file"))) << error->toStdString();
    EXPECT_FALSE(QFileInfo(pipe).isFile());
}

// What Export... asks: the place and the year as the name, the chosen kind's extension added
// to a name typed without one.
TEST(YearWindow, SaveDialogNamesThePlaceAndAddsTheExtension) {
    CYearDlg year;
    CYearRequest chicago = kChicago;
    chicago.placeName = "Chicago %1%2";  // the title takes it as text, not as markers
    year.ShowYear(chicago);
    EXPECT_TRUE(year.windowTitle().startsWith(QStringLiteral("Year - Chicago %1%2 in 2007, ")))
        << year.windowTitle().toStdString();
    chicago.placeName = "Chicago";
    chicago.stateCode = "IL";
    year.ShowYear(chicago);

    CYearExportDlg choice(&year);
    QTemporaryDir dir;
    for (const char* kind : {"Table as CSV", "Chart as PDF document"}) {
        for (QRadioButton* button : choice.findChildren<QRadioButton*>()) {
            if (button->text() == QLatin1String(kind)) {
                QTest::mouseClick(button, Qt::LeftButton);
            }
        }
        const QString extension = choice.Extension();
        const std::unique_ptr<QFileDialog> where = year.SaveDialog(choice);
        where->setOption(QFileDialog::DontUseNativeDialog);
        where->setDirectory(dir.path());
        where->show();
        auto* name = where->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text(), QStringLiteral("Chicago-IL-2007.") + extension);
        name->clear();
        QTest::keyClicks(name, QStringLiteral("chicago2007"));
        QTest::keyClick(name, Qt::Key_Return);
        EXPECT_EQ(where->result(), QDialog::Accepted);
        EXPECT_EQ(where->selectedFiles(),
                  QStringList{dir.filePath(QStringLiteral("chicago2007.") + extension)});
    }
    EXPECT_EQ(choice.Extension(), QStringLiteral("pdf"));
}

TEST(YearWindow, FollowsTheMainWindow) {
    CDaybreakView view;
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    auto type = [&](int id, const QString& text) {
        auto* edit = qobject_cast<QLineEdit*>(view.Item(id));
        edit->setText(text);
    };
    type(IDC_LATITUDE, QStringLiteral("41.88"));
    type(IDC_LONGITUDE, QStringLiteral("87.63"));
    type(IDC_TIMEZONE_OFFSET, QStringLiteral("6"));
    QTest::mouseClick(view.Item(IDC_CALCULATE), Qt::LeftButton);
    QTest::keyClick(&view, Qt::Key_Y, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_NE(view.YearWindow(), nullptr);
    EXPECT_TRUE(view.YearWindow()->isVisible());
    EXPECT_EQ(view.YearWindow()->Year().request.latitude, 41.88);
    EXPECT_EQ(view.YearWindow()->Year().days.size(), 365u);

    type(IDC_LATITUDE, QStringLiteral("64.84"));
    QTest::mouseClick(view.Item(IDC_CALCULATE), Qt::LeftButton);
    QTRY_COMPARE(view.YearWindow()->Year().request.latitude, 64.84);
    QTest::mouseClick(view.Item(IDC_DST), Qt::LeftButton);
    QTRY_COMPARE(view.YearWindow()->Year().request.dst, 1);
    EXPECT_EQ(view.YearWindow()->Year().days[0].utcOffsetSeconds, -5 * 3600);
}

// The PDF read back by Qt's PDF reader: the chart on a landscape page and the table on portrait
// pages, of the locale's paper; month names, every legend entry, "Sunrise" and the markers'
// labels are text on the page, inside it and apart from one another.
TEST(YearWindow, PdfIsTheChartAndTheTableOnTheLocalesPaper) {
    const struct {
        QLocale locale;
        QSizeF points;  // portrait
    } rows[] = {{QLocale(QLocale::English, QLocale::UnitedStates), QSizeF(612, 792)},
                {QLocale(QLocale::German, QLocale::Germany), QSizeF(595, 842)}};
    const QLocale before;
    const QDate today = QDate::currentDate();
    CYearRequest request = kChicago;
    request.date = CCivilDate{today.year(), today.month(), today.day()};
    request.date = AddDays(request.date, today.dayOfYear() < 180 ? 1 : -1);  // labels side by side
    CYearDlg year;
    year.ShowYear(request);
    QTemporaryDir dir;
    for (const auto& row : rows) {
        QLocale::setDefault(row.locale);
        const QString path = dir.filePath(QStringLiteral("year.pdf"));
        const auto written = year.Export(YearExportKind::Pdf, path);
        QLocale::setDefault(before);
        ASSERT_EQ(written, std::nullopt);
        QPdfDocument pdf;
        ASSERT_EQ(pdf.load(path), QPdfDocument::Error::None);
        ASSERT_GE(pdf.pageCount(), 3);
        EXPECT_EQ(pdf.pagePointSize(0).toSize(), row.points.transposed().toSize());
        EXPECT_EQ(pdf.pagePointSize(1).toSize(), row.points.toSize());

        QStringList texts = YearLegendTexts(year.Chart()->Data());
        texts << QStringLiteral("Jan") << QStringLiteral("Feb") << QStringLiteral("Mar")
              << QStringLiteral("Apr") << QStringLiteral("May") << QStringLiteral("Jun")
              << QStringLiteral("Jul") << QStringLiteral("Aug") << QStringLiteral("Sep")
              << QStringLiteral("Oct") << QStringLiteral("Nov") << QStringLiteral("Dec")
              << QStringLiteral("24:00")
              << QDate(request.date.year, request.date.month, request.date.day)
                     .toString(QStringLiteral("MMM d"));
        ASSERT_TRUE(texts.contains(QStringLiteral("Sunrise")));
        ASSERT_TRUE(texts.contains(QStringLiteral("Astronomical twilight")));
        const auto places = PlacesOnPage(pdf, 0, texts);
        const QRectF page(QPointF(0, 0), pdf.pagePointSize(0));
        for (const auto& [text, place] : places) {
            EXPECT_FALSE(place.isEmpty()) << text.toStdString();
            EXPECT_TRUE(page.contains(place)) << text.toStdString();
        }
        // Today's label and the chosen date's, a day apart, do not meet.
        const QString all = pdf.getAllText(0).text();
        const auto todayAt = all.lastIndexOf(QStringLiteral("Today"));
        ASSERT_GE(todayAt, 0);
        const QRectF todayLabel =
            pdf.getSelectionAtIndex(0, static_cast<int>(todayAt), 5).boundingRectangle();
        for (const auto& [text, place] : places) {
            EXPECT_TRUE(text == QStringLiteral("Today") || !todayLabel.intersects(place))
                << text.toStdString();
        }

        // Every day in the table, the heading on each page.
        QString table;
        for (int sheet = 1; sheet < pdf.pageCount(); ++sheet) {
            const QString text = pdf.getAllText(sheet).text();
            EXPECT_TRUE(text.contains(QStringLiteral("Change (min)"))) << sheet;
            table += text;
        }
        EXPECT_EQ(table.count(QStringLiteral("%1-").arg(today.year())),
                  QDate::isLeapYear(today.year()) ? 366 : 365);
    }
}

// The heading says which place and clock the times are for and how to change the clock.
TEST(YearWindow, HeadingNamesTheClock) {
    CYearDlg year;
    year.ShowYear(kChicago);
    EXPECT_TRUE(year.Heading()->text().contains(
        QStringLiteral("Clock: fixed UTC-05:00 all year (daylight-saving hour ticked); "
                       "Calculation > Daylight Saving from the Date")))
        << year.Heading()->text().toStdString();
    CYearRequest zone = kChicago;
    zone.zoneName = "America/Chicago";
    zone.fromDate = true;
    year.ShowYear(zone);
    EXPECT_TRUE(year.Heading()->text().endsWith(
        QStringLiteral("\nClock: America/Chicago, daylight saving by the date")));
    // Typed coordinates as the main window's fields write them, every digit.
    year.ShowYear(Place(41.881234, 87.6312345, 6.0f, 0, 2007));
    EXPECT_TRUE(year.Heading()->text().startsWith(QStringLiteral("41.881234, 87.6312345 in 2007")))
        << year.Heading()->text().toStdString();
}

// Every heading, with its sort arrow, and every cell fits its column: "Change (min)" and
// Barrow's "down all day" included.
TEST(YearWindow, ColumnsFitTheirTexts) {
    CYearDlg year;
    year.ShowYear(kBarrow);
    year.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&year));
    CReportCtrl* table = year.Table();
    QHeaderView* header = table->horizontalHeader();
    header->setSortIndicator(CYearDlg::kChange, Qt::AscendingOrder);
    header->setSortIndicatorShown(true);
    EXPECT_EQ(table->GetItemText(0, CYearDlg::kSunrise), QStringLiteral("down all day"));
    for (int column = 0; column < table->columnCount(); ++column) {
        EXPECT_LE(header->sectionSizeHint(column), table->columnWidth(column)) << column;
        int widest = 0;
        for (int row = 0; row < table->rowCount(); ++row) {
            widest = std::max(widest,
                              table->sizeHintForIndex(table->model()->index(row, column)).width());
        }
        EXPECT_LE(widest, table->columnWidth(column)) << column;
    }
}

// Phases and seasons in calendars: off at first, then as last chosen.
TEST(YearWindow, ExportRemembersPhasesAndSeasons) {
    QSettings().remove(QStringLiteral("YearExport"));
    auto box = [](CYearExportDlg& dialog) {
        for (QCheckBox* check : dialog.findChildren<QCheckBox*>()) {
            if (check->text().contains(QStringLiteral("Moon"))) {
                return check;
            }
        }
        return static_cast<QCheckBox*>(nullptr);
    };
    {
        CYearExportDlg first;
        ASSERT_NE(box(first), nullptr);
        EXPECT_FALSE(first.Almanac());
        QTest::mouseClick(box(first), Qt::LeftButton);
        EXPECT_TRUE(first.Almanac());
    }
    CYearExportDlg second;
    EXPECT_TRUE(second.Almanac());
    QSettings().remove(QStringLiteral("YearExport"));
}
