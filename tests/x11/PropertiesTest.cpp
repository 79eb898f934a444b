#include "platform/x11/Properties.h"

#include <X11/Xatom.h>
#include <X11/Xproto.h>
#include <unistd.h>

#include <algorithm>

#include "platform/x11/ErrorTrap.h"
#include "tests/support/LogCapture.h"
#include "tests/x11/support/X11TestSupport.h"

namespace tilewise::testing {
namespace {

using x11::ErrorTrap;
namespace Properties = x11::Properties;

class PropertiesTest : public X11Test {};

TEST_F(PropertiesTest, ReadsTheIdentityOfAClient) {
    auto window = openTestWindow({"--class", "Probe", "--title", "probe title", "--pid", "4242"});
    EXPECT_EQ(Properties::cardinal(display(), window.id, atoms().netWmPid), 4242);
    EXPECT_EQ(Properties::windowClass(display(), window.id), "Probe");
    EXPECT_EQ(Properties::text(display(), window.id, XA_WM_NAME), "probe title");
    EXPECT_EQ(Properties::atoms(display(), window.id, atoms().netWmWindowType),
              std::vector<Atom>{atoms().netWmWindowTypeNormal});
}

TEST_F(PropertiesTest, TheWindowManagerListsAClientAndItsFrameExtents) {
    auto window = openTestWindow();
    const auto clients = Properties::windows(display(), root(), atoms().netClientList);
    ASSERT_TRUE(clients.has_value());
    EXPECT_NE(std::find(clients->begin(), clients->end(), window.id), clients->end());
    const auto extents = Properties::cardinals(display(), window.id, atoms().netFrameExtents);
    ASSERT_TRUE(extents.has_value());
    EXPECT_EQ(extents->size(), 4u);
}

TEST_F(PropertiesTest, AMissingPropertyOrOneOfAnotherTypeIsAbsent) {
    auto window = openTestWindow({"--no-pid"});
    EXPECT_EQ(Properties::cardinal(display(), window.id, atoms().netWmPid), std::nullopt);
    EXPECT_EQ(Properties::windows(display(), window.id, atoms().netWmWindowType), std::nullopt);
    EXPECT_EQ(Properties::text(display(), window.id, atoms().netWmWindowType), std::nullopt);
}

TEST_F(PropertiesTest, AVanishedWindowIsAbsentAndNotFatal) {
    auto window = openTestWindow();
    window.destroy();
    EXPECT_EQ(Properties::cardinal(display(), window.id, atoms().netWmPid), std::nullopt);
    EXPECT_EQ(Properties::windowClass(display(), window.id), std::nullopt);
}

class ErrorTrapTest : public X11Test {};

TEST_F(ErrorTrapTest, ReportsTheFailedRequestOfADestroyedWindow) {
    auto window = openTestWindow();
    window.destroy();
    ErrorTrap trap(display());
    XMoveWindow(display(), window.id, 10, 10);
    const auto error = trap.check();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->errorCode, BadWindow);
    EXPECT_EQ(error->requestCode, X_ConfigureWindow);
    EXPECT_EQ(error->resourceId, window.id);
    EXPECT_EQ(trap.check(), std::nullopt) << "a checked error is reported once";
}

TEST_F(ErrorTrapTest, AnInnerTrapKeepsItsErrorsFromTheOuterOne) {
    auto window = openTestWindow();
    window.destroy();
    ErrorTrap outer(display());
    {
        ErrorTrap inner(display());
        XMapWindow(display(), window.id);
        EXPECT_TRUE(inner.check().has_value());
    }
    EXPECT_EQ(outer.check(), std::nullopt);
}

TEST_F(ErrorTrapTest, AnErrorOutsideATrapIsLoggedAndTheProcessGoesOn) {
    auto window = openTestWindow();
    window.destroy();
    LogCapture log;
    XUnmapWindow(display(), window.id);
    XSync(display(), False);
    const auto messages = log.messages(LogCategory::app, LogLevel::error);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages.front().find("BadWindow"), std::string::npos) << messages.front();
}

}  // namespace
}  // namespace tilewise::testing
