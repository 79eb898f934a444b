#include "platform/sim/SimScreens.h"

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace tilewise::sim {
namespace {

TEST(SimScreensTest, ReportsScreensAndPointerInTheBottomLeftSpace) {
    SimScreens screens{*parseDisplays("1440x900+0+0 visible 0,25,1440,800; 1920x1080+1440-180")};
    const auto all = screens.screens();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].frame, Rect(0, 0, 1440, 900));
    EXPECT_EQ(all[0].visibleFrame, Rect(0, 900 - 25 - 800, 1440, 800));
    EXPECT_EQ(all[1].frame, Rect(1440, 900 - (-180 + 1080), 1920, 1080));
    EXPECT_EQ(all[1].deviceDescription.at(std::string{kNSScreenNumber}),
              PropertyValue{std::int64_t{2}});

    screens.moveMouse({100, 50});
    EXPECT_EQ(screens.mouseLocation(), Point(100, 900 - 50));
}

TEST(SimScreensTest, MenuBarsAreWindowsAtTheMainMenuLevel) {
    SimScreens screens{*parseDisplays("1440x900+0+0 menubar 25; 1920x1080+1440+0")};
    screens.setOtherWindows({{0, Rect{1, 2, 3, 4}}});
    const auto windows = screens.onScreenWindowList();
    ASSERT_TRUE(windows.has_value());
    ASSERT_EQ(windows->size(), 2u);
    EXPECT_EQ(windows->at(0).layer, screens.mainMenuWindowLevel());
    EXPECT_EQ(windows->at(0).bounds, Rect(0, 0, 1440, 25));
    EXPECT_EQ(windows->at(1).layer, 0);

    screens.setWindowListAvailable(false);
    EXPECT_FALSE(screens.onScreenWindowList().has_value());
    EXPECT_EQ(screens.windowListQueries(), 2);
}

TEST(SimScreensTest, TellsObserversUntilRemoved) {
    SimScreens screens;
    int parameterChanges = 0;
    int spaceChanges = 0;
    const auto parameters = screens.observeScreenParameters([&] { ++parameterChanges; });
    screens.observeActiveSpace([&] { ++spaceChanges; });

    screens.setDisplays(*parseDisplays("800x600+0+0"));
    screens.switchSpace();
    screens.removeObserver(parameters);
    screens.setDisplays({});
    EXPECT_EQ(parameterChanges, 1);
    EXPECT_EQ(spaceChanges, 1);
}

}  // namespace
}  // namespace tilewise::sim
