#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TimeZoneData.h"
#include "TimeZoneList.h"

namespace {

CTimeZoneData Place(int n) {
    CTimeZoneData place;
    // Long enough to live outside the string object, so a record copied badly shows.
    place.m_strCity = "City number " + std::to_string(n) + " of a long state list";
    place.m_strZipCode = std::to_string(70000 + n % 500);  // zip codes repeat
    place.m_nTimeZone = n;
    return place;
}

std::vector<int> Numbers(const CTimeZoneList& list) {
    std::vector<int> numbers;
    for (const CTimeZoneData& record : list) {
        numbers.push_back(record.m_nTimeZone);
    }
    return numbers;
}

}  // namespace

// Several loads in a row, each emptying the list first, as changing the state does: every load
// holds its own copies, newest first, and lookups still yield the first match in load order.
TEST(TimeZoneList, RepeatedLoadsHoldOwnCopiesNewestFirst) {
    CTimeZoneList list;
    CTimeZoneList other;
    for (int count : {3000, 10, 0, 2500}) {
        SCOPED_TRACE(count);
        list.RemoveAll();
        EXPECT_TRUE(list.IsEmpty());
        for (int n = 0; n < count; ++n) {
            CTimeZoneData place = Place(n);
            list.AddHead(place);
            place.m_strCity = "changed after adding";
            if (n % 7 == 0) {
                other.AddHead(Place(-n));
            }
        }
        ASSERT_EQ(list.GetCount(), static_cast<std::size_t>(count));
        std::vector<int> expected;
        for (int n = count - 1; n >= 0; --n) {
            expected.push_back(n);
        }
        EXPECT_EQ(Numbers(list), expected);
        for (const CTimeZoneData& record : list) {
            ASSERT_EQ(record, Place(record.m_nTimeZone));
        }
        if (count > 600) {
            // Zip 70123 belongs to records 123, 623, ...: the first added wins.
            ASSERT_TRUE(list.FindByZip("70123").has_value());
            EXPECT_EQ(list.FindByZip("70123")->m_nTimeZone, 123);
            const auto byCity = list.FindByCityEntry(Place(599).CityEntry());
            ASSERT_TRUE(byCity.has_value());
            EXPECT_EQ(byCity->m_nTimeZone, 599);
        }
        EXPECT_FALSE(list.FindByZip("69999").has_value());
    }
    EXPECT_EQ(other.GetCount(), 3000u / 7 + 1 + 10u / 7 + 1 + 2500u / 7 + 1);
    other.RemoveAll();
    EXPECT_TRUE(other.IsEmpty());
}

// Each list owns its records and their memory: a copy or a moved-to list outlives the list it
// came from, and changing one leaves the other alone.
TEST(TimeZoneList, CopiesAndMovesOwnTheirRecords) {
    auto filled = [](int count) {
        CTimeZoneList list;
        for (int n = 0; n < count; ++n) {
            list.AddHead(Place(n));
        }
        return list;  // moved out of a list whose pool goes with it
    };
    CTimeZoneList moved = filled(300);
    EXPECT_EQ(Numbers(moved).size(), 300u);
    CTimeZoneList copy;
    {
        CTimeZoneList source = filled(5);
        copy = source;
        source.RemoveAll();
        source.AddHead(Place(99));
        CTimeZoneList copied(source);
        CTimeZoneList taken(std::move(copied));
        EXPECT_TRUE(copied.IsEmpty());  // NOLINT(bugprone-use-after-move): left empty
        EXPECT_EQ(Numbers(taken), std::vector<int>{99});
        moved = std::move(source);
        EXPECT_TRUE(source.IsEmpty());  // NOLINT(bugprone-use-after-move): left empty
    }
    EXPECT_EQ(Numbers(copy), (std::vector<int>{4, 3, 2, 1, 0}));
    EXPECT_EQ(copy.begin()->m_strCity, Place(4).m_strCity);
    EXPECT_EQ(Numbers(moved), std::vector<int>{99});
}

// The pool's slabs stop growing at 4096 nodes; a list of more than 64 slabs keeps every record.
TEST(TimeZoneList, ListPastSixtyFourSlabsKeepsEveryRecord) {
    constexpr int kRecords = 64 * 4096;
    CTimeZoneList list;
    CTimeZoneData place;
    for (int n = 0; n < kRecords; ++n) {
        place.m_nTimeZone = n;
        list.AddHead(place);
    }
    ASSERT_EQ(list.GetCount(), static_cast<std::size_t>(kRecords));
    int expected = kRecords;
    for (const CTimeZoneData& record : list) {
        ASSERT_EQ(record.m_nTimeZone, --expected);
    }
    list.RemoveAll();
    list.AddHead(Place(7));  // a freed node serves again
    EXPECT_EQ(list.begin()->m_strCity, Place(7).m_strCity);
}
