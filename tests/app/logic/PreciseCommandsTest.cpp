// The Calculation menu's commands in the main dialog's logic: Precise Calculation and Day
// Details.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DaybreakDlg.h"
#include "FakeWindow.h"
#include "Resource.h"
#include "ResultYearEdges.h"
#include "ResultYears.h"
#include "YearTable.h"

namespace {

class PreciseCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_window.date = *CTime::FromLocal(2007, 6, 21, 9, 30, 0);
        m_dlg.m_date = m_window.date;
        m_dlg.OnInitDialog();
        m_window.numbers[IDC_LATITUDE] = 41.88;
        m_window.numbers[IDC_LONGITUDE] = 87.63;
        m_window.numbers[IDC_TIMEZONE_OFFSET] = 6;
        m_window.dst.check = 1;
    }
    const std::string& Shown(int id) { return m_window.texts[id]; }

    FakeWindow m_window;
    CDaybreakDlg m_dlg{m_window};
};

TEST_F(PreciseCommandsTest, PreciseCalculationSwitchesTheThreeResults) {
    m_dlg.OnCalculate();
    EXPECT_EQ(Shown(IDC_SUNRISE), "Thursday, June 21, 2007,  05:15:47");
    m_dlg.OnPreciseCalculation(true);
    EXPECT_EQ(Shown(IDC_SUNRISE), "Thursday, June 21, 2007,  05:15:23");
    EXPECT_EQ(Shown(IDC_SUNSET), "Thursday, June 21, 2007,  20:29:09");
    EXPECT_EQ(Shown(IDC_SOLAR_NOON), "Thursday, June 21, 2007,  12:52:16");
    // Every later calculation keeps to the chosen engine, until it is switched back.
    m_window.numbers[IDC_LATITUDE] = 70;
    m_dlg.OnCalculate();
    EXPECT_EQ(Shown(IDC_SUNRISE), "No sunrise: the Sun is up all day");
    m_dlg.OnPreciseCalculation(false);
    EXPECT_EQ(Shown(IDC_SUNRISE).substr(0, 44), "No sunrise: the Sun is up all day (last sunr");
}

// The date once in the heading, each event's clock time on it; sunrise, sunset and noon from
// the main window's engine, so that the two windows agree.
TEST_F(PreciseCommandsTest, DayDetailsListsEveryEventOfTheDateOnTheMainWindowsEngine) {
    m_window.texts[IDC_CITY_NAME] = "Chicago";
    auto value = [this](const std::string& name) {
        for (const CSunLine& line : m_window.dayDetails.lines) {
            if (line.name == name) {
                return line.value;
            }
        }
        return std::string("(none)");
    };
    m_dlg.OnDayDetails();
    EXPECT_EQ(m_window.dayDetails.heading, "Thursday, June 21, 2007, Chicago");
    EXPECT_NE(m_window.dayDetails.note.find("as in the main window"), std::string::npos);
    ASSERT_EQ(m_window.dayDetails.lines.size(), 20u);
    EXPECT_EQ(m_window.dayDetails.lines.front().name, "Astronomical Dawn");
    EXPECT_EQ(m_window.dayDetails.lines.back().name, "Astronomical Dusk");
    EXPECT_EQ(value("Civil Dawn"), "04:40:59");
    EXPECT_EQ(value("Sunrise"), "05:15:47");
    // The Sun's day: the day length with its change, and the Moon of the date.
    ASSERT_TRUE(m_window.dayDetails.chart && m_window.dayDetails.moon);
    EXPECT_EQ(m_window.dayDetails.chart->heading.substr(0, 52),
              "Day length 15:12:21 (+00:00:03 from the day before)");
    EXPECT_EQ(m_window.dayDetails.chart->curve.size(), 289u);
    EXPECT_EQ(m_window.dayDetails.moon->lines[3].value, "Waxing Crescent");
    m_dlg.OnPreciseCalculation(true);
    m_dlg.OnDayDetails();
    EXPECT_EQ(value("Sunrise"), "05:15:23");
    EXPECT_NE(m_window.dayDetails.note.find("precise engine"), std::string::npos);
    // An event on another date names it.
    m_window.numbers[IDC_TIMEZONE_OFFSET] = -12;
    m_dlg.OnDayDetails();
    EXPECT_EQ(value("Astronomical Dusk").substr(8), " (Friday, June 22, 2007)");
    EXPECT_TRUE(m_window.errors.empty());
}

TEST_F(PreciseCommandsTest, DayDetailsWithoutAPlaceSaysSo) {
    m_window.numbers[IDC_LATITUDE] = 0;
    m_window.numbers[IDC_LONGITUDE] = 0;
    m_window.numbers[IDC_TIMEZONE_OFFSET] = 0;
    m_dlg.OnDayDetails();
    EXPECT_EQ(m_window.dayDetails.heading, "No place chosen");
    EXPECT_FALSE(m_window.dayDetails.chart || m_window.dayDetails.moon);
    EXPECT_TRUE(m_window.dayDetails.lines.empty());
}

}  // namespace

// The year window's request: the fields as the last command left them, the city name in UTF-8.
TEST_F(PreciseCommandsTest, YearRequestCarriesTheFieldsAndTheEngine) {
    EXPECT_TRUE(m_dlg.YearRequest().IsEmpty());
    m_dlg.OnPreciseCalculation(true);
    m_dlg.m_cityName =
        "A\xF1"
        "asco";
    const CYearRequest request = m_dlg.YearRequest();
    EXPECT_EQ(request.latitude, 41.88);
    EXPECT_EQ(request.longitude, 87.63);
    EXPECT_EQ(request.offset, 6.0f);
    EXPECT_EQ(request.dst, 1);
    EXPECT_TRUE(request.precise);
    EXPECT_EQ(request.date, (CCivilDate{2007, 6, 21}));
    EXPECT_EQ(request.placeName,
              "A\xC3\xB1"
              "asco");
}

// Every calculation of the window, from either engine, refuses a result outside 1900 to 9999
// with the one error and leaves the fields as they were.
TEST_F(PreciseCommandsTest, EveryCalculationRefusesResultsOutsideTheYears) {
    for (const CResultYearEdge& edge : kResultYearEdges) {
        for (const bool precise : {false, true}) {
            SCOPED_TRACE(std::string(edge.date) + (precise ? " precise" : " series"));
            m_window.date =
                *CTime::FromLocal(edge.day.year, edge.day.month, edge.day.day, 12, 0, 0);
            m_window.numbers[IDC_LATITUDE] = edge.lat;
            m_window.numbers[IDC_LONGITUDE] = edge.lon;
            m_window.numbers[IDC_TIMEZONE_OFFSET] = edge.hours;
            m_window.dst.check = 0;
            m_window.errors.clear();
            m_dlg.OnPreciseCalculation(precise);  // the main fields
            m_dlg.OnCalculate();
            m_dlg.OnDayDetails();
            EXPECT_EQ(m_window.errors, std::vector<std::string>(3, kResultYearsMessage));
            EXPECT_EQ(Shown(IDC_SUNRISE), "");
            EXPECT_TRUE(m_window.dayDetails.lines.empty());
            try {
                ComputeYear(m_dlg.YearRequest());  // the year window's table
                ADD_FAILURE() << "the year was computed";
            } catch (const CSolarException& error) {
                EXPECT_STREQ(error.what(), kResultYearsMessage);
            }
        }
    }
}
