#include "platform/x11/X11Accessibility.h"

#include <unistd.h>

#include "tests/support/Printers.h"
#include "tests/x11/support/X11TestSupport.h"

namespace tilewise::testing {
namespace {

using x11::X11Accessibility;

AXElement window(Window id) {
    return {AXElement::Kind::window, id, nullptr};
}

class X11AccessibilityTest : public X11Test {
  protected:
    X11AccessibilityTest() : accessibility(*x11::X11Connection::open(), atoms()) {}

    // Our own process stands in for the application: its element must name a live process.
    std::vector<std::string> ours(std::vector<std::string> arguments = {}) {
        arguments.insert(arguments.end(), {"--pid", std::to_string(getpid())});
        return arguments;
    }

    AXCopyResult read(const AXElement& element, std::string_view attribute) {
        return accessibility.copyAttributeValue(element, attribute);
    }

    X11Accessibility accessibility;
    AXElement application = accessibility.createApplication(getpid());
};

TEST_F(X11AccessibilityTest, TheFocusedWindowIsTheApplicationsActiveClient) {
    auto first = openTestWindow(ours());
    auto second = openTestWindow(ours());
    focus(first.id);
    EXPECT_EQ(read(application, AXAttribute::focusedWindow).value, AXValue{window(first.id)});
    const auto all = read(application, AXAttribute::windows);
    ASSERT_TRUE(all.value.has_value());
    EXPECT_THAT(std::get<AXElementArray>(*all.value),
                ::testing::UnorderedElementsAre(window(first.id), window(second.id)));
}

TEST_F(X11AccessibilityTest, WithAnotherApplicationActiveOnlyTheMainWindowIsFound) {
    auto mine = openTestWindow(ours());
    auto other = openTestWindow({"--pid", "1"});
    focus(other.id);
    EXPECT_EQ(read(application, AXAttribute::focusedWindow).value, std::nullopt);
    EXPECT_EQ(read(application, AXAttribute::mainWindow).value, AXValue{window(mine.id)});
}

TEST_F(X11AccessibilityTest, MinimizedAndFullScreenWindowsSayThatTheyAre) {
    auto minimized = openTestWindow(ours({"--state", "hidden"}));
    auto fullScreen = openTestWindow(ours({"--state", "fullscreen"}));
    auto normal = openTestWindow(ours());
    EXPECT_EQ(read(window(minimized.id), AXAttribute::minimized).value, AXValue{true});
    EXPECT_EQ(read(window(fullScreen.id), AXAttribute::fullScreen).value, AXValue{true});
    EXPECT_EQ(read(window(normal.id), AXAttribute::minimized).value, AXValue{false});
    EXPECT_EQ(read(window(normal.id), AXAttribute::fullScreen).value, AXValue{false});
    EXPECT_NE(read(application, AXAttribute::mainWindow).value, AXValue{window(minimized.id)})
        << "a minimized window is never the main window";
}

TEST_F(X11AccessibilityTest, OnlyNormalWindowsAreStandardWindows) {
    auto normal = openTestWindow(ours());
    auto dialog = openTestWindow(ours({"--type", "dialog"}));
    EXPECT_EQ(read(window(normal.id), AXAttribute::subrole).value,
              AXValue{std::string("AXStandardWindow")});
    EXPECT_EQ(read(window(dialog.id), AXAttribute::subrole).value,
              AXValue{std::string("AXDialog")});
}

TEST_F(X11AccessibilityTest, PositionAndSizeAreTheOuterFrameAndCanBeWritten) {
    auto client = openTestWindow(ours());
    const Rect frame = frameByTree(client.id);
    EXPECT_EQ(read(window(client.id), AXAttribute::position).value, AXValue{frame.origin});
    EXPECT_EQ(read(window(client.id), AXAttribute::size).value, AXValue{frame.size});
    ASSERT_EQ(accessibility.setMessagingTimeout(window(client.id), 0.5f), kAXErrorSuccess);
    EXPECT_EQ(accessibility.setAttributeValue(window(client.id), AXAttribute::size, Size{640, 480}),
              kAXErrorSuccess);
    EXPECT_EQ(
        accessibility.setAttributeValue(window(client.id), AXAttribute::position, Point{30, 40}),
        kAXErrorSuccess);
    EXPECT_EQ(frameByTree(client.id), Rect(30, 40, 640, 480));
}

TEST_F(X11AccessibilityTest, AFixedSizeWindowCanBeMovedButNotResized) {
    auto fixed = openTestWindow(ours({"--size", "300x200", "--fixed"}));
    auto free = openTestWindow(ours());
    EXPECT_EQ(accessibility.isAttributeSettable(window(fixed.id), AXAttribute::size).settable,
              false);
    EXPECT_EQ(accessibility.isAttributeSettable(window(fixed.id), AXAttribute::position).settable,
              true);
    EXPECT_EQ(accessibility.isAttributeSettable(window(free.id), AXAttribute::size).settable, true);
}

TEST_F(X11AccessibilityTest, AClosedWindowIsAnInvalidElement) {
    auto client = openTestWindow(ours());
    client.destroy();
    EXPECT_EQ(read(window(client.id), AXAttribute::position).error, kAXErrorInvalidUIElement);
    EXPECT_EQ(
        accessibility.setAttributeValue(window(client.id), AXAttribute::position, Point{0, 0}),
        kAXErrorInvalidUIElement);
    EXPECT_EQ(accessibility.setMessagingTimeout(window(client.id), 0.5f), kAXErrorInvalidUIElement);
}

TEST_F(X11AccessibilityTest, UnknownAttributesAndWrongValuesAreRefused) {
    auto client = openTestWindow(ours());
    EXPECT_EQ(read(window(client.id), "AXTitleUIElement").error, kAXErrorAttributeUnsupported);
    EXPECT_EQ(read(application, AXAttribute::enhancedUserInterface).error,
              kAXErrorAttributeUnsupported);
    EXPECT_EQ(accessibility.setAttributeValue(window(client.id), AXAttribute::size, Point{1, 2}),
              kAXErrorIllegalArgument);
    EXPECT_EQ(accessibility.setMessagingTimeout(window(client.id), -1), kAXErrorIllegalArgument);
    EXPECT_EQ(read(accessibility.createApplication(999999), AXAttribute::windows).error,
              kAXErrorInvalidUIElement);
}

}  // namespace
}  // namespace tilewise::testing
