// Local calendar times: built from fields, split back into them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <limits>

#include "CTime.h"

TEST(CalendarTime, LocalFieldsRoundTrip) {
    setenv("TZ", "UTC", 1);
    tzset();
    const auto t = CTime::FromLocal(2007, 6, 21, 12, 30, 15);
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->GetTime(), 1182429015);
    EXPECT_EQ(t->GetYear(), 2007);
    EXPECT_EQ(t->GetMonth(), 6);
    EXPECT_EQ(t->GetDay(), 21);
    EXPECT_EQ(t->GetHour(), 12);
    EXPECT_EQ(t->GetMinute(), 30);
    EXPECT_EQ(t->GetSecond(), 15);
    // -1 is a real time, one second before the epoch, not a failure.
    const auto before = CTime::FromLocal(1969, 12, 31, 23, 59, 59);
    ASSERT_TRUE(before.has_value());
    EXPECT_EQ(before->GetTime(), -1);

    // Fields out of range give no time; a value the runtime cannot split reads as zeros.
    EXPECT_FALSE(CTime::FromLocal(2007, 13, 1).has_value());
    EXPECT_FALSE(CTime::FromLocal(2007, 6, 0).has_value());
    EXPECT_FALSE(CTime::FromLocal(2007, 6, 21, 24).has_value());
    const CTime huge(std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(huge.GetYear(), 0);
    EXPECT_EQ(huge.GetDay(), 0);
    // The date picker may hold a date before 1900.
    const auto old = CTime::FromLocal(1850, 6, 1, 12);
    ASSERT_TRUE(old.has_value());
    EXPECT_EQ(old->GetYear(), 1850);
}
