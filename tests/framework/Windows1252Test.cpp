#include <gtest/gtest.h>

#include <string>

#include "Windows1252.h"

TEST(Windows1252, EveryByteSurvivesTheRoundTripThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    std::string utf8 = Windows1252ToUtf8(all);
    EXPECT_EQ(Utf8ToWindows1252(utf8), all);

    EXPECT_EQ(Windows1252ToUtf8("Espa\xF1ola \x80"), "Espa\u00f1ola \u20ac");
    EXPECT_EQ(Windows1252ToUtf8("\x93quoted\x94\x85"), "\u201cquoted\u201d\u2026");
    EXPECT_EQ(Windows1252ToUtf8("\x81"), "\u0081");
}

TEST(Windows1252, Utf8WithoutAWindows1252FormIsRefused) {
    struct Row {
        const char* name;
        std::string utf8;
        std::size_t offset;
        char32_t codePoint;
    };
    const Row rows[] = {
        {"CJK", "ab\u4e2d", 2, 0x4E2D},        {"C1 control with a mapped byte", "\u0080", 0, 0x80},
        {"astral", "x\U0001F600", 1, 0x1F600}, {"lone continuation", "a\x80", 1, 0xFFFD},
        {"overlong", "\xC0\xAF", 0, 0xFFFD},   {"surrogate", "\xED\xA0\x80", 0, 0xFFFD},
        {"cut off", "ok\xE2\x82", 2, 0xFFFD},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        try {
            Utf8ToWindows1252(row.utf8);
            ADD_FAILURE() << "accepted";
        } catch (const CEncodingError& e) {
            EXPECT_EQ(e.m_offset, row.offset);
            EXPECT_EQ(e.m_codePoint, row.codePoint);
        }
    }
    try {
        Utf8ToWindows1252("ab\u4e2d");
        ADD_FAILURE() << "accepted";
    } catch (const CException& e) {
        EXPECT_EQ(e.GetErrorMessage(), "character U+4E2D at byte 2 has no Windows-1252 form");
    }
}

TEST(Windows1252, WideTextLosesOnlyWhatTheCodePageLacks) {
    EXPECT_EQ(Utf16ToWindows1252(u"San Germ\u00e1n \u20ac\u2122"), "San Germ\xE1n \x80\x99");
    EXPECT_EQ(Utf16ToWindows1252(u"\u4e2d\u0080\U0001F600x"), "???x");
}

TEST(Windows1252, PrintableTextEscapesEveryControlAndNothingElse) {
    struct Row {
        std::string narrow;
        std::string controls;
        std::string field;
    };
    const Row rows[] = {
        {"A\xF1"
         "asco - 00610",
         "A\u00f1asco - 00610", "A\u00f1asco - 00610"},
        {"Back\\slash", "Back\\slash", "Back\\\\slash"},
        {"\x1b[31mRed\a", "\\x1B[31mRed\\x07", "\\x1B[31mRed\\x07"},
        {std::string("Tab\tCR\rLF\nNUL\0", 14), "Tab\\x09CR\\x0DLF\\x0ANUL\\x00",
         "Tab\\tCR\\rLF\\nNUL\\x00"},
        // DEL and the five bytes that stand for C1 controls; the other 80..9F bytes are letters.
        {"\x7F\x81\x8D\x8F\x90\x9D", "\\x7F\\x81\\x8D\\x8F\\x90\\x9D",
         "\\x7F\\x81\\x8D\\x8F\\x90\\x9D"},
        {"\x80\x9F", "\u20ac\u0178", "\u20ac\u0178"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.controls);
        EXPECT_EQ(Windows1252ToPrintable(row.narrow), row.controls);
        EXPECT_EQ(Windows1252ToPrintable(row.narrow, EscapeStyle::Field), row.field);
    }
}

// A user's text (an argument, a file name) prints with its characters, any script included,
// and its control characters and stray bytes escaped, never raw.
TEST(Utf8ToPrintable, KeepsCharactersAndEscapesControls) {
    const struct {
        std::string text;
        std::string printed;
    } rows[] = {
        {"/tmp/plain", "/tmp/plain"},
        {"A\xC3\xB1"
         "asco",
         "A\xC3\xB1"
         "asco"},
        {"/home/\xE7\x94\xA8\xE6\x88\xB7", "/home/\xE7\x94\xA8\xE6\x88\xB7"},
        {"a\x1B[2Jb\x07\x7F", "a\\x1B[2Jb\\x07\\x7F"},
        {"c1\xC2\x85", "c1\\x85"},
        {"bad\xFF\xC3", "bad\\xFF\\xC3"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Utf8ToPrintable(row.text), row.printed);
    }
}
