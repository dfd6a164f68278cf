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

TEST(EntryOrder, IndexKeepsEqualTextsInArrivalOrderAcrossBatches) {
    CSortedEntryIndex index;
    // Texts longer than eight bytes that differ only past the eighth, and ones that end early.
    const std::vector<std::string> texts = {"Mission - 78572", "alamo",      "MISSION - 78572",
                                            "Edinburg",        "mission",    "Mission - 78501",
                                            "Missio",          "Mission\x01"};
    for (const std::string& text : texts) {
        index.Add(text);
    }
    auto order = [&index] {
        std::vector<std::size_t> rows;
        for (std::size_t row = 0; row < index.GetCount(); ++row) {
            rows.push_back(index.EntryAt(row));
        }
        return rows;
    };
    EXPECT_EQ(order(), (std::vector<std::size_t>{1, 3, 6, 4, 7, 5, 0, 2}));
    index.Add("ALAMO");  // a later batch sorts again, still after its equal
    index.Add("Alamo");
    EXPECT_EQ(order(), (std::vector<std::size_t>{1, 8, 9, 3, 6, 4, 7, 5, 0, 2}));
    index.Clear();
    EXPECT_EQ(index.GetCount(), 0u);
    index.Add("x");
    EXPECT_EQ(order(), (std::vector<std::size_t>{0}));  // numbering starts again once cleared
}
