// The chosen day: the model the windows that follow the main window observe.
#include <gtest/gtest.h>

#include <vector>

#include "ChosenDay.h"
#include "DaybreakDlg.h"
#include "FakeWindow.h"
#include "Resource.h"

namespace {

class Seen : public IChosenDayObserver {
public:
    void ChosenDayChanged(const CChosenDay& chosen) override { days.push_back(chosen.Request()); }
    std::vector<CYearRequest> days;
};

TEST(ChosenDay, DialogTellsEachNewDayOnceAndNothingAfterRemoval) {
    FakeWindow window;
    window.date = *CTime::FromLocal(2007, 6, 21, 9, 30, 0);
    CDaybreakDlg dlg{window};
    dlg.m_date = window.date;
    dlg.OnInitDialog();
    Seen seen;
    dlg.Chosen().AddObserver(seen);
    dlg.Chosen().AddObserver(seen);  // once only

    window.numbers[IDC_LATITUDE] = 41.88;
    window.numbers[IDC_LONGITUDE] = 87.63;
    window.numbers[IDC_TIMEZONE_OFFSET] = 6;
    dlg.OnCalculate();
    ASSERT_EQ(seen.days.size(), 1u);
    EXPECT_EQ(seen.days[0], dlg.YearRequest());
    EXPECT_EQ(seen.days[0].latitude, 41.88);
    EXPECT_EQ(seen.days[0].date, (CCivilDate{2007, 6, 21}));

    dlg.OnCalculate();  // the same day again
    EXPECT_EQ(seen.days.size(), 1u);

    dlg.Chosen().RemoveObserver(seen);
    window.numbers[IDC_LATITUDE] = 64.84;
    dlg.OnCalculate();
    EXPECT_EQ(seen.days.size(), 1u);
    EXPECT_EQ(dlg.Chosen().Request().latitude, 64.84);
}

}  // namespace
