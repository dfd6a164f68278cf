#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "EntryOrder.h"

namespace {

// Thousands of texts: many equal and nearly equal ones (differing past the eighth byte, in
// case only, or in a folded letter), keys well past the first buffer.
std::vector<std::string> ManyTexts() {
    std::vector<std::string> texts;
    unsigned state = 12345;
    auto next = [&state] { return state = state * 1103515245u + 12345u, (state >> 16) & 0x7FFF; };
    for (int i = 0; i < 5000; ++i) {
        std::string text = (next() % 2 ? "Santa" : "sANTA");
        for (unsigned n = next() % 4; n > 0; --n) {
            text += next() % 3 == 0 ? '\xC9' : static_cast<char>('a' + next() % 3);
        }
        if (next() % 3 != 0) {
            text += " - 7" + std::to_string(next() % 50);
        }
        texts.push_back(text);
    }
    return texts;
}

std::vector<std::size_t> RowEntries(const CSortedEntryIndex& index) {
    std::vector<std::size_t> entries;
    for (std::size_t row = 0; row < index.GetCount(); ++row) {
        entries.push_back(index.EntryAt(row));
    }
    return entries;
}

}  // namespace

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
    auto order = [&index] { return RowEntries(index); };
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

// Checked against a stable sort (many blocks); then again after Clear, and after removing rows
// from the middle.
TEST(EntryOrder, IndexMatchesStableSortOverManyEntries) {
    const std::vector<std::string> texts = ManyTexts();
    CSortedEntryIndex index;
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        index.Clear();
        std::vector<std::size_t> expected;  // entry numbers in row order
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const auto at = std::upper_bound(expected.begin(), expected.end(), i,
                                             [&texts](std::size_t a, std::size_t b) {
                                                 return EntrySortsBefore(texts[a], texts[b]);
                                             });
            const auto row = static_cast<std::size_t>(at - expected.begin());
            expected.insert(at, i);
            ASSERT_EQ(index.Add(texts[i]), row) << i << ' ' << texts[i];
        }
        ASSERT_EQ(index.GetCount(), texts.size());
        for (std::size_t row = 0; row < expected.size(); ++row) {
            ASSERT_EQ(index.EntryAt(row), expected[row]) << row;
        }
        if (pass == 1) {
            index.RemoveRows(1000, 2500);
            expected.erase(expected.begin() + 1000, expected.begin() + 3500);
            ASSERT_EQ(index.GetCount(), expected.size());
            for (std::size_t row = 0; row < expected.size(); ++row) {
                ASSERT_EQ(index.EntryAt(row), expected[row]) << row;
            }
            EXPECT_EQ(index.RowFor(texts[expected[1200]]),
                      static_cast<std::size_t>(
                          std::upper_bound(expected.begin(), expected.end(), expected[1200],
                                           [&texts](std::size_t a, std::size_t b) {
                                               return EntrySortsBefore(texts[a], texts[b]);
                                           }) -
                          expected.begin()));
        }
    }
}

// A bulk add into an empty index and into one that has rows leaves them as adding each text in
// turn does, and the index goes on as usual afterwards.
TEST(EntryOrder, AddAllLeavesTheRowsOfAddingEachInTurn) {
    const std::vector<std::string> texts = ManyTexts();
    for (const std::size_t split : {std::size_t{0}, std::size_t{1700}}) {
        SCOPED_TRACE(split);
        CSortedEntryIndex one;
        CSortedEntryIndex bulk;
        for (const std::string& text : texts) {
            one.Add(text);
        }
        const auto middle = texts.begin() + static_cast<std::ptrdiff_t>(split);
        bulk.AddAll({texts.begin(), middle});
        bulk.AddAll({middle, texts.end()});
        ASSERT_EQ(RowEntries(bulk), RowEntries(one));
        EXPECT_EQ(bulk.Add("santa"), one.Add("santa"));
        bulk.RemoveRows(10, 3000);
        one.RemoveRows(10, 3000);
        EXPECT_EQ(RowEntries(bulk), RowEntries(one));
    }
}
