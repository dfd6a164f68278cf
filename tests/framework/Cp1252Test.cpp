// The Windows-1252 edge between the archives' texts and the widgets.
#include <gtest/gtest.h>

#include "Cp1252.h"

using namespace daybreak;

TEST(Cp1252, EveryByteSurvivesTheRoundTripAndUnknownCharactersBecomeQuestionMarks) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        all.push_back(static_cast<char>(byte));
    }
    EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
    EXPECT_EQ(FromCp1252("\x80\x9F\xFC"), QString::fromUtf8("€Ÿü"));
    EXPECT_EQ(ToCp1252(QString::fromUtf8("中 😀 ü")), "? ? \xFC");
}
