#include "app/DisplayProvider.h"

#include <gtest/gtest.h>

#include "platform/sim/SimScreens.h"
#include "tests/support/Printers.h"

namespace tilewise {
namespace {

using sim::parseDisplays;
using sim::SimScreens;

SimScreens screensFrom(std::string_view description) {
    auto displays = parseDisplays(description);
    EXPECT_TRUE(displays.has_value()) << displays.error();
    return SimScreens{displays.value_or(std::vector<sim::SimDisplay>{})};
}

TEST(DisplayProviderTest, ReportsDisplaysInTheTopLeftSpaceWithMenuBarsReserved) {
    // The primary's usable area already leaves its 24-point menu bar and a 1-point gap out;
    // the second display shows a menu bar the platform did not leave out.
    SimScreens screens = screensFrom(
        "1440x900+0+0 visible 0,25,1440,875 menubar 24; 1920x1080+1440+0 scale 2 menubar 24");
    DisplayProvider provider{screens};

    const auto displays = provider.displays();
    ASSERT_EQ(displays.size(), 2u);
    EXPECT_EQ(displays[0], (DisplayInfo{1, {0, 0, 1440, 900}, {0, 25, 1440, 875}, 1}));
    EXPECT_EQ(displays[1], (DisplayInfo{2, {1440, 0, 1920, 1080}, {1440, 25, 1920, 1055}, 2}));
}

TEST(DisplayProviderTest, WithoutAMenuBarTheUsableAreasAreThePlatforms) {
    SimScreens screens = screensFrom("1440x900+0+0 visible 0,0,1440,860; 1280x1024+1440+0");
    DisplayProvider provider{screens};
    const auto displays = provider.displays();
    ASSERT_EQ(displays.size(), 2u);
    EXPECT_EQ(displays[0].visibleFrame, Rect(0, 0, 1440, 860));
    EXPECT_EQ(displays[1].visibleFrame, displays[1].frame);
}

TEST(DisplayProviderTest, OnlyWindowsAtTheMainMenuLevelCountAsMenuBars) {
    SimScreens screens = screensFrom("1440x900+0+0");
    screens.setOtherWindows({{SimScreens::kMainMenuLevel + 1, Rect{0, 0, 1440, 40}},
                             {std::nullopt, Rect{0, 0, 1440, 40}},
                             {SimScreens::kMainMenuLevel, std::nullopt}});
    DisplayProvider provider{screens};
    EXPECT_EQ(provider.displays()[0].visibleFrame, Rect(0, 0, 1440, 900));
}

TEST(DisplayProviderTest, NoScreensMeansNoDisplaysAndNoneUnderTheMouse) {
    SimScreens screens;
    DisplayProvider provider{screens};
    EXPECT_TRUE(provider.displays().empty());
    EXPECT_FALSE(provider.displayUnderMouse().has_value());
}

TEST(DisplayProviderTest, FindsTheDisplayUnderTheMouseOrTheNearestOne) {
    SimScreens screens = screensFrom("1440x900+0+0; 1920x1080+1440-180");
    DisplayProvider provider{screens};

    screens.moveMouse({1500, -100});
    EXPECT_EQ(provider.displayUnderMouse()->id, 2u);
    screens.moveMouse({100, 800});
    EXPECT_EQ(provider.displayUnderMouse()->id, 1u);
    screens.moveMouse({-50, 450});
    EXPECT_EQ(provider.displayUnderMouse()->id, 1u);
}

TEST(DisplayProviderTest, FindsScreensByIdAndScreensWithoutNumberAsZero) {
    SimScreens screens =
        screensFrom("1440x900+0+0 id 5; 1920x1080+1440+0 noid; 800x600+0+900 noid");
    DisplayProvider provider{screens};
    const auto displays = provider.displays();
    EXPECT_EQ(displays[1].id, 0u);

    EXPECT_EQ(provider.screen(displays[0])->frame.width(), 1440);
    EXPECT_EQ(provider.screen(displays[2])->frame.width(), 1920) << "the first screen with id 0";
    EXPECT_FALSE(provider.screen(DisplayInfo{99, {}, {}, 1}).has_value());
}

TEST(DisplayProviderTest, ScreenNumbersThatAreNotUnsigned32BitCountAsZero) {
    const auto idOf = [](PropertyValue value) {
        Screen screen;
        screen.deviceDescription.emplace(kNSScreenNumber, std::move(value));
        return DisplayProvider::displayID(screen);
    };
    EXPECT_EQ(idOf(std::int64_t{69733248}), 69733248u);
    EXPECT_EQ(idOf(3.0), 3u);
    EXPECT_EQ(idOf(std::int64_t{-1}), 0u);
    EXPECT_EQ(idOf(std::int64_t{1} << 32), 0u);
    EXPECT_EQ(idOf(2.5), 0u);
    EXPECT_EQ(idOf(std::string{"7"}), 0u);
    EXPECT_EQ(DisplayProvider::displayID(Screen{}), 0u);
}

TEST(DisplayProviderTest, ASpaceSwitchClearsTheMenuBarCacheWithoutCallingBack) {
    SimScreens screens = screensFrom("1440x900+0+0 menubar 24");
    DisplayProvider provider{screens};
    int changes = 0;
    provider.onChange = [&] { ++changes; };

    provider.displays();
    provider.displays();
    EXPECT_EQ(screens.windowListQueries(), 1);
    screens.switchSpace();
    EXPECT_EQ(changes, 0);
    provider.displays();
    EXPECT_EQ(screens.windowListQueries(), 2);
}

TEST(DisplayProviderTest, AConfigurationChangeClearsTheCacheBeforeCallingBack) {
    SimScreens screens = screensFrom("1440x900+0+0 menubar 24");
    DisplayProvider provider{screens};
    provider.displays();
    std::vector<DisplayInfo> seenInCallback;
    provider.onChange = [&] { seenInCallback = provider.displays(); };

    screens.setDisplays(*parseDisplays("1920x1080+0+0 menubar 30"));
    ASSERT_EQ(seenInCallback.size(), 1u);
    EXPECT_EQ(seenInCallback[0].visibleFrame.minY(), 31) << "the new menu bar, with a 1-point gap";
    EXPECT_EQ(screens.windowListQueries(), 2);
}

TEST(DisplayProviderTest, AnUnobtainableWindowListMeansNoMenuBars) {
    SimScreens screens = screensFrom("1440x900+0+0 menubar 24");
    screens.setWindowListAvailable(false);
    DisplayProvider provider{screens};
    EXPECT_EQ(provider.displays()[0].visibleFrame, Rect(0, 0, 1440, 900));
    provider.displays();
    EXPECT_EQ(screens.windowListQueries(), 1) << "the empty list is cached too";
}

TEST(DisplayProviderTest, StopsListeningWhenDestroyed) {
    SimScreens screens = screensFrom("1440x900+0+0");
    int changes = 0;
    {
        DisplayProvider provider{screens};
        provider.onChange = [&] { ++changes; };
    }
    screens.setDisplays({});
    screens.switchSpace();
    EXPECT_EQ(changes, 0);
}

}  // namespace
}  // namespace tilewise
