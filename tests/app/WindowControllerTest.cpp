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

// A window whose frame reads answer `position` and `size` as given.
SimWindow reading(AXCopyResult position, AXCopyResult size = {kAXErrorSuccess, Size{100, 100}}) {
    return {.readOverrides = {{std::string{AXAttribute::position}, position},
                              {std::string{AXAttribute::size}, size}}};
}

// A window whose size cannot be set and whose position query answers as given.
SimWindow positionQuery(AXError status, bool settable) {
    return {.sizeSettable = false,
            .settableOverrides = {{std::string{AXAttribute::position}, {status, settable}}}};
}

// An application in front whose focused-window read answers `status`.
SimApplication focusedWindowRead(AXError status) {
    return {.pid = WindowControllerFixture::kPid,
            .localizedName = "Editor",
            .readOverrides = {{std::string{AXAttribute::focusedWindow}, {status, {}}}}};
}

struct CaptureCase {
    const char* name;
    SimWindow window;
    std::optional<WindowError> refusal;  // none: the window is captured
    SimApplication app = {.pid = WindowControllerFixture::kPid, .localizedName = "Editor"};
};

class WindowControllerCaptureTest : public WindowControllerFixture,
                                    public ::testing::WithParamInterface<CaptureCase> {};

TEST_P(WindowControllerCaptureTest, CapturesOrRefusesWithTheMatchingError) {
    frontmostWindow(GetParam().window, GetParam().app);
    const auto result = capture();
    EXPECT_EQ(result ? std::nullopt : std::optional{result.error()}, GetParam().refusal);
}

const AXCopyResult kPoint{kAXErrorSuccess, Point{0, 0}};

INSTANTIATE_TEST_SUITE_P(
    Windows, WindowControllerCaptureTest,
    ::testing::Values(
        CaptureCase("Minimized", {.minimized = true, .fullScreen = true}, Kind::minimized),
        CaptureCase("FullScreen", {.fullScreen = true}, Kind::fullScreen),
        CaptureCase("NeitherSettable", {.positionSettable = false, .sizeSettable = false},
                    Kind::notResizable),
        CaptureCase("OnlySizeSettable", {.positionSettable = false}, std::nullopt),
        CaptureCase("OnlyPositionSettable", {.sizeSettable = false}, std::nullopt),
        // A failing query counts as "cannot be set"; a vanished window closed, it did not refuse.
        CaptureCase("PositionQueryFails", positionQuery(kAXErrorFailure, true), Kind::notResizable),
        CaptureCase("ClosedDuringQuery", positionQuery(kAXErrorInvalidUIElement, false),
                    Kind::windowClosed),
        CaptureCase("SilentDuringQuery", positionQuery(kAXErrorCannotComplete, false),
                    Kind::appUnresponsive),
        CaptureCase("PositionWithoutValue", reading({kAXErrorSuccess, {}}), Kind::noWindow),
        CaptureCase("PositionAPIDisabled", reading({kAXErrorAPIDisabled, {}}),
                    Kind::permissionMissing),
        CaptureCase("PositionUnsupported", reading({kAXErrorAttributeUnsupported, {}}),
                    Kind::notResizable),
        CaptureCase("PositionCannotComplete", reading({kAXErrorCannotComplete, {}}),
                    Kind::appUnresponsive),
        CaptureCase("PositionInvalidElement", reading({kAXErrorInvalidUIElement, {}}),
                    Kind::windowClosed),
        CaptureCase("PositionFailure", reading({kAXErrorFailure, {}}),
                    WindowError::accessibility(kAXErrorFailure)),
        CaptureCase("PositionNoValue", reading({kAXErrorNoValue, {}}),
                    WindowError::accessibility(kAXErrorNoValue)),
        CaptureCase("PositionIsASize", reading({kAXErrorSuccess, Size{1, 2}}), Kind::notResizable),
        CaptureCase("SizeIsABoolean", reading(kPoint, {kAXErrorSuccess, true}), Kind::notResizable),
        CaptureCase("PositionErrorWins",
                    reading({kAXErrorCannotComplete, {}}, {kAXErrorInvalidUIElement, {}}),
                    Kind::appUnresponsive),
        // Lost trust and a silent application stop the window search at once.
        CaptureCase("FocusedWindowAPIDisabled", {}, Kind::permissionMissing,
                    focusedWindowRead(kAXErrorAPIDisabled)),
        CaptureCase("FocusedWindowCannotComplete", {}, Kind::appUnresponsive,
                    focusedWindowRead(kAXErrorCannotComplete)),
        CaptureCase("UnresponsiveApp", {}, Kind::appUnresponsive,
                    {.pid = WindowControllerFixture::kPid, .unresponsive = true})),
    [](const auto& info) { return std::string{info.param.name}; });

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
