#include "platform/sim/SimDisplays.h"

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace tilewise::sim {
namespace {

TEST(SimDisplaysTest, ReadsFramesUsableAreasAndOptions) {
    const auto displays = parseDisplays(
        "1440x900+0+0 visible 0,25,1440,875 menubar 25; 1920x1080+1440-100 scale 2 id 7");
    ASSERT_TRUE(displays.has_value()) << displays.error();
    ASSERT_EQ(displays->size(), 2u);

    const SimDisplay& first = displays->at(0);
    EXPECT_EQ(first.id, 1u);
    EXPECT_EQ(first.frame, Rect(0, 0, 1440, 900));
    EXPECT_EQ(first.visibleFrame, Rect(0, 25, 1440, 875));
    EXPECT_EQ(first.menuBarHeight, 25.0);

    const SimDisplay& second = displays->at(1);
    EXPECT_EQ(second.id, 7u);
    EXPECT_EQ(second.frame, Rect(1440, -100, 1920, 1080));
    EXPECT_EQ(second.visibleFrame, second.frame);
    EXPECT_EQ(second.backingScale, 2.0);
    EXPECT_FALSE(second.menuBarHeight.has_value());
}

TEST(SimDisplaysTest, AcceptsCommaSeparatedOrNoDisplaysAndScreensWithoutNumber) {
    const auto displays = parseDisplays("1920x1080+0+0,1280x1024+1920+0 noid");
    ASSERT_TRUE(displays.has_value()) << displays.error();
    ASSERT_EQ(displays->size(), 2u);
    EXPECT_EQ(displays->at(1).frame, Rect(1920, 0, 1280, 1024));
    EXPECT_FALSE(displays->at(1).id.has_value());
    EXPECT_TRUE(parseDisplays("  ").value().empty());
}

TEST(SimDisplaysTest, NamesTheMalformedPart) {
    for (const auto* text :
         {"visible 0,0,1,1", "1440x900+0+0 visible 0,25,1440", "1440x900+0+0 scale 0",
          "1440x900+0+0 id -3", "1440x900+0+0 scale", "1440x900+0+0 colour red", "1440x900"}) {
        const auto displays = parseDisplays(text);
        ASSERT_FALSE(displays.has_value()) << text;
        EXPECT_FALSE(displays.error().empty()) << text;
    }
}

}  // namespace
}  // namespace tilewise::sim
