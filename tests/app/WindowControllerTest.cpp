#include "app/WindowController.h"

#include "tests/app/WindowControllerFixture.h"
#include "tests/support/Printers.h"

namespace tilewise {
namespace {

using sim::SimAccessibility;
using sim::SimApplication;
using sim::SimWindow;
using Kind = WindowError::Kind;

class WindowControllerTest : public WindowControllerFixture {};

TEST_F(WindowControllerTest, RefusalsBeforeAnyQueueWorkCompleteBeforeTheCallReturns) {
    const auto refusal = [&] {
        std::optional<WindowController::CaptureResult> result;
        controller->captureFocusedTarget([&](auto outcome) { result = std::move(outcome); });
        EXPECT_EQ(queue->pendingCount(), 0u);
        EXPECT_TRUE(result.has_value());
        return result ? result->error().kind() : Kind::noWindow;
    };
    EXPECT_EQ(refusal(), Kind::noFrontmostApp);

    workspace.launch({.pid = desktop.ownPid()});
    workspace.activate(desktop.ownPid());
    EXPECT_EQ(refusal(), Kind::tilewiseItself);

    desktop.setTrusted(false);
    EXPECT_EQ(refusal(), Kind::permissionMissing);
}

TEST_F(WindowControllerTest, CapturesTheFocusedWindowAndCompletesOnTheMainThread) {
    auto icon = std::make_shared<const Image>(Image{1, 1, {0xFF00FF00}});
    frontmostWindow({.frame = {10, 20, 300, 200}});
    const sim::WindowId focused = desktop.addWindow(kPid, {.frame = {40, 50, 640, 480}});
    desktop.modifyApplication(kPid, [&](SimApplication& app) {
        app.focusedWindow = focused;
        app.icon = icon;
    });

    std::optional<WindowController::CaptureResult> result;
    controller->captureFocusedTarget([&](auto outcome) { result = std::move(outcome); });
    queue->drain();
    EXPECT_FALSE(result.has_value()) << "completed off the main thread";
    scheduler.runUntilIdle();

    ASSERT_TRUE(result.has_value() && result->has_value());
    const WindowTarget& target = **result;
    EXPECT_EQ(target.pid, kPid);
    EXPECT_EQ(target.element, SimAccessibility::windowElement(focused));
    EXPECT_EQ(target.appName, "Editor");
    EXPECT_EQ(target.appIcon, icon);
    EXPECT_EQ(target.frame, Rect(40, 50, 640, 480));
    EXPECT_EQ(target.key(),
              std::to_string(kPid) + ":" + std::to_string(accessibility.hash(target.element)));
    EXPECT_EQ(desktop.application(kPid)->messagingTimeout, WindowController::kMessagingTimeout);
    EXPECT_EQ(desktop.window(focused)->messagingTimeout, WindowController::kMessagingTimeout);
}

TEST_F(WindowControllerTest, AnApplicationWithoutANameIsCalledApp) {
    frontmostWindow({}, {.pid = kPid});
    EXPECT_EQ(captureTarget().appName, "app");
}

TEST_F(WindowControllerTest, CapturingTheSameWindowTwiceGivesEqualTargetsAndKeys) {
    frontmostWindow();
    const WindowTarget once = captureTarget();
    const WindowTarget again = captureTarget();
    EXPECT_EQ(once, again);
    EXPECT_EQ(std::hash<WindowTarget>{}(once), std::hash<WindowTarget>{}(again));

    const sim::WindowId other = desktop.addWindow(kPid, {});
    desktop.modifyApplication(kPid, [&](SimApplication& app) { app.focusedWindow = other; });
    EXPECT_NE(captureTarget().key(), once.key());
}

TEST_F(WindowControllerTest, FallsBackFromTheFocusedToTheMainWindow) {
    const sim::WindowId first = frontmostWindow();
    const sim::WindowId main = desktop.addWindow(kPid, {});
    desktop.modifyApplication(kPid, [&](SimApplication& app) {
        app.mainWindow = main;
        app.readOverrides[std::string{AXAttribute::focusedWindow}] = {kAXErrorInvalidUIElement, {}};
    });
    EXPECT_EQ(captureTarget().element, SimAccessibility::windowElement(main));

    // A value of another type counts as no answer, too.
    desktop.modifyApplication(kPid, [&](SimApplication& app) {
        app.mainWindow = first;
        app.readOverrides[std::string{AXAttribute::focusedWindow}] = {kAXErrorSuccess,
                                                                      std::string{"window"}};
    });
    EXPECT_EQ(captureTarget().element, SimAccessibility::windowElement(first));
}

TEST_F(WindowControllerTest, FallsBackToTheFirstStandardWindowOfTheList) {
    frontmostWindow({.subrole = "AXDialog"});
    desktop.addWindow(kPid, {.subrole = std::nullopt});
    const sim::WindowId standard = desktop.addWindow(kPid, {});
    desktop.addWindow(kPid, {});
    desktop.modifyApplication(kPid, [](SimApplication& app) {
        app.focusedWindow.reset();
        app.mainWindow.reset();
    });
    EXPECT_EQ(captureTarget().element, SimAccessibility::windowElement(standard));

    desktop.modifyWindow(standard, [](SimWindow& window) { window.subrole = "AXFloatingWindow"; });
    desktop.closeWindow(standard + 1);
    EXPECT_EQ(capture().error(), Kind::noWindow);

    desktop.modifyApplication(kPid, [](SimApplication& app) {
        app.readOverrides[std::string{AXAttribute::windows}] = {kAXErrorFailure, {}};
    });
    EXPECT_EQ(capture().error(), Kind::noWindow);
}

TEST_F(WindowControllerTest, TrustAndSilenceStopTheWindowSearchAtOnce) {
    frontmostWindow();
    for (const auto& [status, expected] :
         {std::pair{kAXErrorAPIDisabled, Kind::permissionMissing},
          std::pair{kAXErrorCannotComplete, Kind::appUnresponsive}}) {
        desktop.modifyApplication(kPid, [status](SimApplication& app) {
            app.readOverrides[std::string{AXAttribute::focusedWindow}] = {status, {}};
        });
        EXPECT_EQ(capture().error(), expected);
    }
    desktop.modifyApplication(kPid, [](SimApplication& app) { app.unresponsive = true; });
    EXPECT_EQ(capture().error(), Kind::appUnresponsive);
}

TEST_F(WindowControllerTest, RefusesMinimizedFullScreenAndImmovableWindows) {
    const sim::WindowId id = frontmostWindow({.minimized = true, .fullScreen = true});
    EXPECT_EQ(capture().error(), Kind::minimized);
    desktop.modifyWindow(id, [](SimWindow& window) { window.minimized = false; });
    EXPECT_EQ(capture().error(), Kind::fullScreen);
    desktop.modifyWindow(id, [](SimWindow& window) {
        window.fullScreen = false;
        window.positionSettable = false;
        window.sizeSettable = false;
    });
    EXPECT_EQ(capture().error(), Kind::notResizable);
}

TEST_F(WindowControllerTest, AcceptsAWindowWhenEitherPositionOrSizeCanBeSet) {
    const sim::WindowId id = frontmostWindow({.positionSettable = false});
    EXPECT_TRUE(capture().has_value());
    desktop.modifyWindow(id, [](SimWindow& window) {
        window.positionSettable = true;
        window.sizeSettable = false;
    });
    EXPECT_TRUE(capture().has_value());
    // A failing query counts as "cannot be set", so only the other attribute can save it.
    desktop.modifyWindow(id, [](SimWindow& window) {
        window.settableOverrides[std::string{AXAttribute::position}] = {kAXErrorFailure, true};
    });
    EXPECT_EQ(capture().error(), Kind::notResizable);
    // A window that vanished between the reads and the query closed; it did not refuse.
    desktop.modifyWindow(id, [](SimWindow& window) {
        window.settableOverrides[std::string{AXAttribute::position}] = {kAXErrorInvalidUIElement,
                                                                        false};
    });
    EXPECT_EQ(capture().error(), Kind::windowClosed);
}

struct ReadMapping {
    const char* name;
    AXError status;
    WindowError expected;
};

class WindowControllerReadMappingTest : public WindowControllerFixture,
                                        public ::testing::WithParamInterface<ReadMapping> {};

TEST_P(WindowControllerReadMappingTest, MapsFrameReadStatusesToErrors) {
    frontmostWindow(
        {.readOverrides = {{std::string{AXAttribute::position}, {GetParam().status, {}}}}});
    EXPECT_EQ(capture().error(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, WindowControllerReadMappingTest,
    ::testing::Values(
        ReadMapping{"SuccessWithoutValue", kAXErrorSuccess, Kind::noWindow},
        ReadMapping{"APIDisabled", kAXErrorAPIDisabled, Kind::permissionMissing},
        ReadMapping{"AttributeUnsupported", kAXErrorAttributeUnsupported, Kind::notResizable},
        ReadMapping{"CannotComplete", kAXErrorCannotComplete, Kind::appUnresponsive},
        ReadMapping{"InvalidUIElement", kAXErrorInvalidUIElement, Kind::windowClosed},
        ReadMapping{"Failure", kAXErrorFailure, WindowError::accessibility(kAXErrorFailure)},
        ReadMapping{"NoValue", kAXErrorNoValue, WindowError::accessibility(kAXErrorNoValue)}),
    [](const auto& info) { return std::string{info.param.name}; });

TEST_F(WindowControllerTest, FrameReadsNeedPointAndSizeValuesAndThePositionErrorWins) {
    const sim::WindowId id = frontmostWindow(
        {.readOverrides = {{std::string{AXAttribute::position}, {kAXErrorSuccess, Size{1, 2}}}}});
    EXPECT_EQ(capture().error(), Kind::notResizable);

    desktop.modifyWindow(id, [](SimWindow& window) {
        window.readOverrides = {{std::string{AXAttribute::size}, {kAXErrorSuccess, true}}};
    });
    EXPECT_EQ(capture().error(), Kind::notResizable);

    desktop.modifyWindow(id, [](SimWindow& window) {
        window.readOverrides = {{std::string{AXAttribute::position}, {kAXErrorCannotComplete, {}}},
                                {std::string{AXAttribute::size}, {kAXErrorInvalidUIElement, {}}}};
    });
    EXPECT_EQ(capture().error(), Kind::appUnresponsive);
}

TEST(WindowErrorTest, EverySentence) {
    const std::vector<std::pair<WindowError, std::string>> sentences{
        {WindowError::accessibility(kAXErrorFailure),
         "The app rejected the request (AXError -25200)."},
        {Kind::permissionMissing, "Tilewise needs Accessibility permission to move windows."},
        {Kind::noFrontmostApp, "No active app to arrange."},
        {Kind::tilewiseItself, "Tilewise doesn't arrange its own windows."},
        {Kind::noWindow, "The active app has no window that can be arranged."},
        {Kind::minimized, "The window is minimized."},
        {Kind::fullScreen, "The window is in full screen. Exit full screen first."},
        {Kind::notResizable, "This window can't be moved or resized."},
        {Kind::appUnresponsive, "The app didn't respond in time."},
        {Kind::windowClosed, "The window closed."},
        {Kind::superseded, "Replaced by a newer request."},
    };
    for (const auto& [error, sentence] : sentences) {
        EXPECT_EQ(error.userDescription(), sentence);
    }
    EXPECT_NE(WindowError::accessibility(-1), WindowError::accessibility(-2));
}

}  // namespace
}  // namespace tilewise
