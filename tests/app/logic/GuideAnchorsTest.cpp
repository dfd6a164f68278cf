#include <gtest/gtest.h>

#include "GuideAnchors.h"

// Headings are named as the guide's own links spell them.
TEST(GuideAnchors, HeadingsAreNamedAsTheirLinksSpellThem) {
    const std::pair<const char*, const char*> cases[] = {
        {"Find Place (Ctrl+F)", "find-place-ctrlf"},
        {"The world's towns and the zone map", "the-worlds-towns-and-the-zone-map"},
        {"Rebuilding the data: `make data`", "rebuilding-the-data-make-data"},
        {"Sun, solar_noon - and  more", "sun-solar_noon---and--more"},
        {"Café Zürich", "café-zürich"},
    };
    for (const auto& [heading, anchor] : cases) {
        EXPECT_EQ(HeadingAnchor(heading), anchor) << heading;
    }
    EXPECT_EQ(HeadingAnchors({"Files", "Usage", "Files", "Files"}),
              (std::vector<std::string>{"files", "usage", "files-1", "files-2"}));
}
