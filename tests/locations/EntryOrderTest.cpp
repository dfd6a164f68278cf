#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EntryOrder.h"

TEST(EntryOrder, TextsSortWithoutRegardToCaseAndKeysAgree) {
    // (a, b, a sorts before b); texts are Windows-1252 bytes.
    const struct {
        const char* a;
        const char* b;
        bool before;
    } rows[] = {
        {"alamo", "Mission", true},
        {"MISSION", "mission", false},  // equal once folded, both ways
        {"mission", "MISSION", false},
        {"Mission", "Mission - 78572", true},  // a text sorts before a longer one it begins
        {"Zapata", "\xC9lan", true},           // É folds to é, after every ASCII letter
        {"\xC9lan", "\xE9lan", false},
        {"\xE9lan", "\xC9lan", false},
        {"\x8A"
         "a",
         "\x9A"
         "b",
         true},                   // Š and š are one letter
        {"\x9F", "\xFF", false},  // Ÿ and ÿ too
        {"~", "a", false},        // '~' (0x7E) after the folded letters
        {"[", "a", true},         // '[' (0x5B) before them: A-Z fold to a-z first
        {"", "a", true},
        {"", "", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.a) + " < " + row.b);
        EXPECT_EQ(EntrySortsBefore(row.a, row.b), row.before);
        EXPECT_EQ(EntrySortKey(row.a) < EntrySortKey(row.b), row.before);
    }
}

TEST(EntryOrder, IndexKeepsEqualTextsInArrivalOrderAndForgetsRemovedRows) {
    CSortedEntryIndex index;
    auto order = [&index] {
        std::vector<std::size_t> entries;
        for (std::size_t row = 0; row < index.GetCount(); ++row) {
            entries.push_back(index.EntryAt(row));
        }
        return entries;
    };
    // Texts longer than eight bytes that differ only past the eighth, and ones that end early.
    const struct {
        const char* text;
        std::size_t row;
    } adds[] = {
        {"Mission - 78572", 0}, {"alamo", 0},           {"MISSION - 78572", 2}, {"Edinburg", 1},
        {"mission", 2},         {"Mission - 78501", 3}, {"Missio", 2},          {"Mission\x01", 4},
    };
    for (const auto& add : adds) {
        EXPECT_EQ(index.RowFor(add.text), add.row) << add.text;
        EXPECT_EQ(index.Add(add.text), add.row) << add.text;
    }
    EXPECT_EQ(order(), (std::vector<std::size_t>{1, 3, 6, 4, 7, 5, 0, 2}));

    index.RemoveRows(1, 2);  // Edinburg, Missio
    EXPECT_EQ(order(), (std::vector<std::size_t>{1, 4, 7, 5, 0, 2}));
    EXPECT_EQ(index.Add("ALAMO"), 1u);  // entry 8: numbers are not reused
    EXPECT_EQ(index.EntryAt(1), 8u);
    index.RemoveRows(5, 100);  // clipped to the rows there are
    EXPECT_EQ(order(), (std::vector<std::size_t>{1, 8, 4, 7, 5}));
    index.RemoveRows(0, 5);
    EXPECT_EQ(index.GetCount(), 0u);
    EXPECT_EQ(index.Add("x"), 0u);
    EXPECT_EQ(order(), (std::vector<std::size_t>{0}));  // numbering starts again once empty
    index.Clear();
    EXPECT_EQ(index.GetCount(), 0u);
}
