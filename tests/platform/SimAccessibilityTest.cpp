#include "platform/sim/SimAccessibility.h"

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace tilewise::sim {
namespace {

class SimAccessibilityTest : public ::testing::Test {
  protected:
    WindowId addWindow(SimWindow window) {
        desktop.addApplication({.pid = kPid});
        return desktop.addWindow(kPid, std::move(window));
    }

    Rect frameOf(WindowId id) { return desktop.window(id)->frame; }

    void writeFrame(WindowId id, const Rect& frame) {
        const auto element = SimAccessibility::windowElement(id);
        ax.setAttributeValue(element, AXAttribute::size, frame.size);
        ax.setAttributeValue(element, AXAttribute::position, frame.origin);
    }

    static constexpr ProcessId kPid = 42;
    SimDesktop desktop;
    SimAccessibility ax{desktop};
};

TEST_F(SimAccessibilityTest, ReadsTheFocusedWindowAndItsFrame) {
    const WindowId id = addWindow({.frame = {10, 20, 300, 200}});
    const auto app = ax.createApplication(kPid);

    const auto focused = ax.copyAttributeValue(app, AXAttribute::focusedWindow);
    ASSERT_EQ(focused.error, kAXErrorSuccess);
    EXPECT_EQ(std::get<AXElement>(*focused.value), SimAccessibility::windowElement(id));
    const auto window = SimAccessibility::windowElement(id);
    EXPECT_EQ(std::get<Point>(*ax.copyAttributeValue(window, AXAttribute::position).value),
              Point(10, 20));
    EXPECT_EQ(std::get<Size>(*ax.copyAttributeValue(window, AXAttribute::size).value),
              Size(300, 200));
}

TEST_F(SimAccessibilityTest, SizesAreClampedAndSteppedFromTheMinimum) {
    const WindowId id = addWindow({.minimumSize = Size{200, 100},
                                   .maximumSize = Size{1000, 700},
                                   .sizeIncrement = Size{7, 13}});
    writeFrame(id, {0, 0, 150, 2000});
    EXPECT_EQ(frameOf(id).size, Size(200, 100 + 46 * 13));  // 698 is the last step under 700
    writeFrame(id, {0, 0, 410, 300});
    EXPECT_EQ(frameOf(id).size, Size(200 + 30 * 7, 100 + 15 * 13));
}

TEST_F(SimAccessibilityTest, AWindowClosingMidRequestFailsAsVanished) {
    const WindowId id = addWindow({.closesAfterWrites = 1});
    const auto window = SimAccessibility::windowElement(id);
    EXPECT_EQ(ax.setAttributeValue(window, AXAttribute::size, Size{10, 10}), kAXErrorSuccess);
    EXPECT_EQ(ax.setAttributeValue(window, AXAttribute::position, Point{}),
              kAXErrorInvalidUIElement);
    EXPECT_EQ(ax.copyAttributeValue(window, AXAttribute::size).error, kAXErrorInvalidUIElement);
    const auto windows = ax.copyAttributeValue(ax.createApplication(kPid), AXAttribute::windows);
    EXPECT_TRUE(std::get<AXElementArray>(*windows.value).empty());
}

TEST_F(SimAccessibilityTest, UnresponsiveApplicationsAndMissingTrustFailEveryCall) {
    const WindowId id = addWindow({});
    const auto window = SimAccessibility::windowElement(id);
    desktop.modifyApplication(kPid, [](SimApplication& app) { app.unresponsive = true; });
    EXPECT_EQ(ax.copyAttributeValue(window, AXAttribute::position).error, kAXErrorCannotComplete);
    EXPECT_EQ(ax.setAttributeValue(window, AXAttribute::size, Size{}), kAXErrorCannotComplete);

    desktop.setTrusted(false);
    EXPECT_FALSE(ax.isProcessTrusted());
    EXPECT_EQ(ax.copyAttributeValue(window, AXAttribute::position).error, kAXErrorAPIDisabled);
    EXPECT_FALSE(ax.isProcessTrustedWithPrompt());
    EXPECT_EQ(desktop.trustPromptCount(), 1);
}

TEST_F(SimAccessibilityTest, RecordsWritesWithTheEnhancedInterfaceStateOfTheirMoment) {
    desktop.addApplication({.pid = kPid, .enhancedUserInterface = true});
    const WindowId id = desktop.addWindow(kPid, {});
    const auto app = ax.createApplication(kPid);
    ax.setAttributeValue(app, AXAttribute::enhancedUserInterface, false);
    ax.setAttributeValue(SimAccessibility::windowElement(id), AXAttribute::size, Size{1, 1});
    EXPECT_EQ(ax.setAttributeValue(app, AXAttribute::enhancedUserInterface, std::string{"on"}),
              kAXErrorIllegalArgument);

    const auto writes = desktop.window(id)->writes;
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].enhancedUserInterface, false);
    EXPECT_EQ(desktop.application(kPid)->enhancedUserInterfaceWrites, std::vector<bool>{false});
}

TEST_F(SimAccessibilityTest, UnknownProcessesAndAttributesAnswerTheirStatusCodes) {
    addWindow({});
    EXPECT_EQ(ax.copyAttributeValue(ax.createApplication(999), AXAttribute::windows).error,
              kAXErrorInvalidUIElement);
    EXPECT_EQ(ax.copyAttributeValue(ax.createApplication(kPid), "AXTitle").error,
              kAXErrorAttributeUnsupported);
    EXPECT_NE(ax.hash(SimAccessibility::windowElement(1)),
              ax.hash(SimAccessibility::windowElement(2)));
}

}  // namespace
}  // namespace tilewise::sim
