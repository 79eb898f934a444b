#include "app/AppCoordinator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/PlacementSentences.h"
#include "tests/app/CoordinatorFixture.h"
#include "tests/support/Printers.h"

namespace tilewise {
namespace {

using ::testing::ElementsAre;
using Kind = HotKeyService::Status::Kind;

// The left half of a display: the cells every layout of these tests asks for.
Rect leftHalf(const Rect& display) {
    return {display.origin.x, display.origin.y, display.size.width / 2, display.size.height};
}
const Rect kFirst{0, 0, 1920, 1080};
const Rect kSecond{1920, 0, 1280, 1024};

class AppCoordinatorTest : public CoordinatorFixture {
  protected:
    std::size_t registrationPasses() const {
        std::size_t passes = 0;
        for (const auto& line : log.messages(LogCategory::app, LogLevel::info)) {
            passes += line.starts_with("registered ");
        }
        return passes;
    }
};

TEST_F(AppCoordinatorTest, StartRegistersEveryShortcutOnceAndShowsTheStatusItem) {
    launchDivvy();  // running, but without saved shortcuts: nothing is paused
    startWith({layout("Left", kCtrlOptLeft), layout("Right", kCtrlOptRight)});
    scheduler.advance(DivvyWatch::kRecheckDelay * 2);

    EXPECT_EQ(registrationPasses(), 1u);
    EXPECT_EQ(platform.hotKeysService.registrationCount(), 2u);
    EXPECT_EQ(views.statusItemsMade, 1);
    EXPECT_EQ(views.onboardingWindow.shown, 0);
}

struct CyclingCase {
    std::string name;
    bool cycling;
    std::vector<std::string> presses;  // "L" the left layout, "R" the right one, "W" another window
    Rect expected;
};

class DisplayCyclingTest : public AppCoordinatorTest,
                           public ::testing::WithParamInterface<CyclingCase> {};

TEST_P(DisplayCyclingTest, RepeatingALayoutMovesTheWindowOnOnlyForTheSameLayoutAndWindow) {
    startWith({layout("Left", kCtrlOptLeft), layout("Right", kCtrlOptRight, {1, 0, 1, 0})},
              [](auto& s) {
                  s.monitorCycling = GetParam().cycling;
                  s.panelPlacement = PanelPlacement::displayWithTargetWindow;
              });
    const auto window = frontWindow();
    for (const auto& step : GetParam().presses) {
        if (step == "W") {
            frontWindow({}, kEditorPid + 1);
            press(kCtrlOptLeft);
            platform.workspaceService.activate(kEditorPid);
        } else {
            press(step == "L" ? kCtrlOptLeft : kCtrlOptRight);
        }
    }
    EXPECT_EQ(frameOf(window), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DisplayCyclingTest,
    ::testing::Values(CyclingCase{"OnePressPlaces", true, {"L"}, leftHalf(kFirst)},
                      CyclingCase{"SecondPressMovesOn", true, {"L", "L"}, leftHalf(kSecond)},
                      CyclingCase{"ThirdPressComesBack", true, {"L", "L", "L"}, leftHalf(kFirst)},
                      CyclingCase{"CyclingOff", false, {"L", "L"}, leftHalf(kFirst)},
                      CyclingCase{"AnotherLayoutBetween", true, {"L", "R", "L"}, leftHalf(kFirst)},
                      CyclingCase{"AnotherWindowBetween", true, {"L", "W", "L"}, leftHalf(kFirst)}),
    [](const auto& info) { return info.param.name; });

TEST_F(AppCoordinatorTest, ADisplayChangeClosesThePanelAndEndsTheRepetition) {
    startWith({layout("Left", kCtrlOptLeft)}, [](auto& s) {
        s.monitorCycling = true;
        s.panelPlacement = PanelPlacement::displayWithTargetWindow;
    });
    FakeGridPanel panel;
    coordinator->setGridPanel(&panel);
    const auto window = frontWindow();
    press(kCtrlOptLeft);
    panel.open = true;

    platform.screensService.setDisplays(*sim::parseDisplays("1920x1080+0+0; 1280x1024+1920+0"));
    settle();
    press(kCtrlOptLeft);

    EXPECT_FALSE(panel.open);
    EXPECT_EQ(frameOf(window), leftHalf(kFirst));
}

struct FailureCase {
    std::string name;
    std::function<void(CoordinatorFixture&)> arrange;
    std::optional<std::string> problem;  // the expected last problem
    int beeps;
    bool onboarding;
};

class PlacementFailureTest : public AppCoordinatorTest,
                             public ::testing::WithParamInterface<FailureCase> {};

TEST_P(PlacementFailureTest, EachOutcomeIsReportedAsTheTableSays) {
    const auto left = layout("Left", kCtrlOptLeft);
    startWith({left});
    GetParam().arrange(*this);
    apply(left.id);

    EXPECT_EQ(coordinator->lastProblem(), GetParam().problem);
    EXPECT_EQ(platform.workspaceService.beepCount(), GetParam().beeps);
    EXPECT_EQ(views.onboardingWindow.visible, GetParam().onboarding);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlacementFailureTest,
    ::testing::Values(
        FailureCase{"Exact", [](auto& t) { t.frontWindow(); }, std::nullopt, 0, false},
        FailureCase{"SizeLimited",
                    [](auto& t) {
                        t.frontWindow({.maximumSize = Size{500, 500}});
                    },
                    "Editor limited the window's size.", 0, false},
        FailureCase{"NotMoved",
                    [](auto& t) {
                        t.frontWindow(
                            {.positionWritesIgnored = sim::SimWindow::kIgnoresAllPositionWrites});
                    },
                    "Editor didn't move the window as requested.", 1, false},
        FailureCase{"NoFrontmostApp", [](auto&) {},
                    WindowError{WindowError::Kind::noFrontmostApp}.userDescription(), 1, false},
        FailureCase{"Minimized", [](auto& t) { t.frontWindow({.minimized = true}); },
                    WindowError{WindowError::Kind::minimized}.userDescription(), 1, false},
        FailureCase{"PermissionMissing",
                    [](auto& t) {
                        t.frontWindow();
                        t.platform.desktop.setTrusted(false);
                    },
                    std::nullopt, 0, true},
        FailureCase{"DoesNotFit",
                    [](auto& t) {
                        t.frontWindow();
                        t.changeSettings([](auto& s) {
                            s.layouts[0].grid = {30, 1};
                            s.margins.enabled = true;
                            s.margins.horizontalSpacing = 100;
                        });
                    },
                    std::string{PlacementSentences::kDoesNotFit}, 1, false}),
    [](const auto& info) { return info.param.name; });

TEST_F(AppCoordinatorTest, UnknownLayoutsAndSupersededRequestsChangeNothing) {
    start();
    frontWindow({.maximumSize = Size{500, 500}});
    coordinator->presentProblem("earlier");
    apply(Uuid::random());
    EXPECT_EQ(coordinator->lastProblem(), "earlier");
    EXPECT_EQ(platform.workspaceService.beepCount(), 1);
}

class PanelOpenTest : public AppCoordinatorTest, public ::testing::WithParamInterface<bool> {
  protected:
    /// Opens the fake panel on the front window and the second display.
    void openPanel(FakeGridPanel& panel) {
        coordinator->setGridPanel(&panel);
        coordinator->windows().captureFocusedTarget(
            [&panel](auto result) { panel.panelTarget = result.value(); });
        settle();
        panel.panelDisplay = coordinator->displays().displays().at(1);
        panel.open = true;
    }
};

TEST_P(PanelOpenTest, ALayoutGoesToThePanelsWindowAndDisplayWithoutCycling) {
    const bool keepOpen = GetParam();
    startWith({layout("Left", kCtrlOptLeft)}, [keepOpen](auto& s) {
        s.monitorCycling = true;
        s.keepPanelOpen = keepOpen;
    });
    const auto window = frontWindow();
    FakeGridPanel panel;
    openPanel(panel);

    press(kCtrlOptLeft);
    EXPECT_EQ(frameOf(window), leftHalf(kSecond));
    EXPECT_EQ(panel.open, keepOpen);
    EXPECT_EQ(panel.keepOpen, keepOpen);
    if (keepOpen) {
        press(kCtrlOptLeft);
        EXPECT_EQ(frameOf(window), leftHalf(kSecond));
    }
    coordinator->setGridPanel(nullptr);
}

TEST_P(PanelOpenTest, ALayoutThatDoesNotFitStillClosesThePanel) {
    const bool keepOpen = GetParam();
    auto wide = layout("Wide", kCtrlOptLeft);
    wide.grid = {30, 1};
    startWith({wide}, [keepOpen](auto& s) {
        s.keepPanelOpen = keepOpen;
        s.margins = {.enabled = true, .horizontalSpacing = 100};
    });
    const auto window = frontWindow();
    const auto before = frameOf(window);
    FakeGridPanel panel;
    openPanel(panel);

    press(kCtrlOptLeft);
    EXPECT_EQ(coordinator->lastProblem(), PlacementSentences::kDoesNotFit);
    EXPECT_EQ(frameOf(window), before);
    EXPECT_EQ(panel.open, keepOpen);
    coordinator->setGridPanel(nullptr);
}

INSTANTIATE_TEST_SUITE_P(KeepOpen, PanelOpenTest, ::testing::Bool());

}  // namespace
}  // namespace tilewise
