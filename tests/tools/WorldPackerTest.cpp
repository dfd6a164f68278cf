#include "WorldPacker.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "PlacesPacker.h"
#include "TempDir.h"

namespace {

const char* const kHeader =
    "name\tcountry_code\tcountry\tregion\tpopulation\tlatitude\tlongitude\tzone\n";

}  // namespace

TEST(WorldPacker, PackedListReadsBackThroughTheReader) {
    std::istringstream list(
        std::string(kHeader) +
        "Paris\tFR\tFrance\tÎle-de-France\t2138551\t48.85341\t2.3488\tEurope/"
        "Paris\r\n"
        "Funafuti\tTV\tTuvalu\t\t6025\t-8.52425\t179.19417\tPacific/Funafuti\n");
    const TempDir temp;
    WriteWorldPlaces(ReadWorldPlaces(list), temp.path());
    const CWorldPlaces world = CWorldPlaces::Load(temp.path());
    ASSERT_TRUE(world.IsKnown()) << world.Problem();
    ASSERT_EQ(world.Size(), 2u);
    EXPECT_EQ(world.At(0).zone, "Europe/Paris");  // the line's carriage return is not kept
    EXPECT_EQ(world.At(1).region, "");
    EXPECT_DOUBLE_EQ(world.At(1).latitude, -8.52425);
}

TEST(WorldPacker, BadLineIsNamed) {
    const struct {
        const char* line;
        const char* message;
    } cases[] = {
        {"Paris\tFR\tFrance\t\t2138551\t48.85\t2.35\n", "expected 8 fields, found 7"},
        {"Paris\tFR\tFrance\t\tmany\t48.85\t2.35\tEurope/Paris\n", "population \"many\""},
        {"Paris\tFR\tFrance\t\t2138551\t98.85\t2.35\tEurope/Paris\n", "off the globe"},
        {"Paris\tfr\tFrance\t\t2138551\t48.85\t2.35\tEurope/Paris\n", "country code"},
    };
    for (const auto& c : cases) {
        std::istringstream list(std::string(kHeader) +
                                "Lyon\tFR\tFrance\t\t522969\t45.74846\t4.84671\tEurope/Paris\n" +
                                c.line);
        try {
            ReadWorldPlaces(list);
            ADD_FAILURE() << c.line;
        } catch (const CPackError& error) {
            EXPECT_EQ(error.m_line, 3u) << c.line;
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
}
