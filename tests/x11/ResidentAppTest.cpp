// The resident application as a user runs it: the real executable with a settings file, a
// real window manager, and keys typed through XTEST.
#include <X11/keysym.h>

#include <sys/wait.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "core/SettingsCoder.h"
#include "platform/ApplicationIdentity.h"
#include "platform/x11/ErrorTrap.h"
#include "tests/support/Files.h"
#include "tests/support/Printers.h"
#include "tests/x11/support/X11TestSupport.h"

namespace tilewise::testing {
namespace {

using namespace std::chrono_literals;

// Openbox keeps Ctrl+Alt+arrows for switching desktops.
constexpr std::uint16_t kKeyH = 4;
const Modifiers kControlOption{Modifiers::control, Modifiers::option};

// Polls `done` until it holds or the server timeout passes; the application works in its own
// process, so there is no event of ours to wait for.
bool eventually(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + kServerTimeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

class ResidentAppTest : public X11Test {
  protected:
    /// A settings file with one global layout on Ctrl+Alt+H: the left half of a 2×1 grid.
    void writeSettings(bool cycling = false) {
        auto settings = TilewiseSettings::defaults();
        settings.monitorCycling = cycling;
        settings.panelPlacement = PanelPlacement::displayWithTargetWindow;
        settings.layouts = {{Uuid::random(), "Left", true, true, KeyCombo{kKeyH, kControlOption},
                             GridSize{2, 1}, CellSelection{0, 0, 0, 0}}};
        ASSERT_TRUE(writeFileBytes(settingsFile(), *SettingsCoder::encode(settings)));
    }

    std::filesystem::path settingsFile() const { return directory.path() / "settings.json"; }

    ChildProcess startApplication() {
        return ChildProcess({TILEWISE_EXECUTABLE, "-TilewiseSettingsPath", settingsFile()},
                            ChildProcess::Ending::terminate);
    }

    /// Waits until another client (the application) holds Ctrl+Alt+H: our own grab of it
    /// is refused then.
    bool waitUntilShortcutIsGrabbed() {
        const KeyCode key = XKeysymToKeycode(display(), XK_h);
        return eventually([&] {
            x11::ErrorTrap trap(display());
            XGrabKey(display(), key, ControlMask | Mod1Mask, root(), False, GrabModeAsync,
                     GrabModeAsync);
            if (trap.check()) {
                return true;
            }
            XUngrabKey(display(), key, ControlMask | Mod1Mask, root());
            XSync(display(), False);
            return false;
        });
    }

    void pressShortcut() { ASSERT_EQ(runProgram({"xdotool", "key", "ctrl+alt+h"}), 0); }

    Rect leftHalf(const Rect& area) const {
        return Rect(area.minX(), area.minY(), area.width() / 2, area.height());
    }
    Rect screen() {
        return Rect(0, 0, DisplayWidth(display(), DefaultScreen(display())),
                    DisplayHeight(display(), DefaultScreen(display())));
    }

    TemporaryDirectory directory;
};

TEST_F(ResidentAppTest, AGlobalShortcutPlacesTheFocusedWindowExactly) {
    writeSettings();
    auto window = openTestWindow();
    focus(window.id);
    auto application = startApplication();
    ASSERT_TRUE(waitUntilShortcutIsGrabbed());

    pressShortcut();
    EXPECT_TRUE(eventually([&] { return frameByTree(window.id) == leftHalf(screen()); }))
        << "the window is at " << ::testing::PrintToString(frameByTree(window.id));
}

// A second start opens the first one's preferences, where turning on "Launch at login" writes
// the autostart entry at once and the setting 0.3 s later: SIGTERM in between must not lose it.
TEST_F(ResidentAppTest, ASecondStartShowsPreferencesAndSigtermSavesTheirPendingChange) {
    writeSettings();
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const std::string restoredConfigHome = configHome != nullptr ? configHome : "";
    setenv("XDG_CONFIG_HOME", directory.path().c_str(), 1);
    auto application = startApplication();
    ASSERT_TRUE(waitUntilShortcutIsGrabbed());

    EXPECT_EQ(runProgram({TILEWISE_EXECUTABLE}), 0);
    EXPECT_EQ(waitpid(application.pid(), nullptr, WNOHANG), 0)
        << "the second start ended the first";
    ASSERT_TRUE(eventually([] {
        return runProgram({"sh", "-c",
                           "xdotool getactivewindow getwindowname 2>/dev/null | "
                           "grep -qx 'Tilewise Preferences'"}) == 0;
    })) << "the second start did not bring up the preferences";
    // The tab bar has the focus; "Launch at login" comes next.
    ASSERT_EQ(runProgram({"xdotool", "key", "Tab", "space"}), 0);
    const auto entry = directory.path() / "autostart" / kDesktopEntryFileName;
    ASSERT_TRUE(eventually([&] { return std::filesystem::exists(entry); }));
    const bool pending = !SettingsCoder::decode(readFileBytes(settingsFile()))->launchAtLogin;
    kill(application.pid(), SIGTERM);
    const int status = application.terminate();
    setenv("XDG_CONFIG_HOME", restoredConfigHome.c_str(), 1);

    EXPECT_TRUE(pending) << "the change was saved before SIGTERM could test it";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
    const auto saved = SettingsCoder::decode(readFileBytes(settingsFile()));
    ASSERT_TRUE(saved) << "the settings file is not readable after SIGTERM";
    EXPECT_TRUE(saved->launchAtLogin) << "the pending change was lost on SIGTERM";
}

class TwoHeadsResidentAppTest : public ResidentAppTest {
  protected:
    Rect head(int index) {
        const double width = screen().width() / 2;
        return Rect(index * width, 0, width, screen().height());
    }
};

// `tilewise apply` goes through the running instance: only there is the record of the last
// placement that makes a repeat, by shortcut or by command, move on to the other head.
TEST_F(TwoHeadsResidentAppTest, ShortcutAndApplyCommandCycleToTheOtherHeadTogether) {
    writeSettings(true);
    auto window = openTestWindow();
    focus(window.id);
    auto application = startApplication();
    ASSERT_TRUE(waitUntilShortcutIsGrabbed());

    for (const bool byCommand : {false, true, false, true}) {
        const int expectedHead = byCommand ? 1 : 0;
        if (byCommand) {
            EXPECT_EQ(runProgram({TILEWISE_EXECUTABLE, "apply", "Left"}), 0);
        } else {
            pressShortcut();
        }
        EXPECT_TRUE(eventually([&] {
            return frameByTree(window.id) == leftHalf(head(expectedHead));
        })) << "expected head "
            << expectedHead << (byCommand ? " after the command" : " after the shortcut")
            << ", the window is at " << ::testing::PrintToString(frameByTree(window.id));
    }
}

class NoManagerResidentAppTest : public ResidentAppTest {
  protected:
    /// Whether a mapped window of that title exists, wherever a manager has put it.
    static bool onboardingShows() {
        return runProgram({"xdotool", "search", "--onlyvisible", "--name",
                           "^Tilewise Window Manager$"}) == 0;
    }
};

TEST_F(NoManagerResidentAppTest, OnboardingShowsWithoutAManagerAndClosesOnceOneStarts) {
    writeSettings();
    auto application = startApplication();
    ASSERT_TRUE(eventually(onboardingShows)) << "no onboarding window without a window manager";

    {
        ChildProcess manager({"openbox"}, ChildProcess::Ending::terminate);
        ASSERT_TRUE(eventually([] { return !onboardingShows(); }))
            << "the onboarding window stayed open after the window manager started";
        ASSERT_TRUE(waitUntilShortcutIsGrabbed());
    }
    // Without the manager again, a layout's shortcut brings the window back instead of failing.
    pressShortcut();
    EXPECT_TRUE(eventually(onboardingShows)) << "no onboarding after the manager went away";
}

}  // namespace
}  // namespace tilewise::testing
