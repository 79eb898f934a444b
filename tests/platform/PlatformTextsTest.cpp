#include "platform/PlatformTexts.h"

#include <gtest/gtest.h>

namespace tilewise {
namespace {

struct Rendering {
    std::string_view written;
    std::string_view onLinux;
};

// Every sentence that names a part of macOS, and the shortcuts of the menus and messages.
constexpr Rendering kRenderings[] = {
    {"Accessibility Access Needed…", "Window Manager Needed…"},
    {"⚠ Accessibility access needed", "⚠ Window manager needed"},
    {"✔ Accessibility access granted", "✔ Window manager found"},
    {"Grant Access…", "Show How…"},
    {"Tilewise needs Accessibility permission to move windows.",
     "Tilewise needs a running window manager to move windows."},
    {"Reserved by a macOS keyboard shortcut", "Reserved by a keyboard shortcut of the desktop"},
    {"A native grid window manager for macOS.", "A grid window arranger for Linux desktops."},
    {"Couldn't change the login item: denied Tilewise must be in /Applications to launch at "
     "login.",
     "Couldn't change the login item: denied Tilewise could not write its autostart entry in "
     "~/.config/autostart."},
    {"Approve Tilewise in System Settings › General › Login Items.",
     "Check that your desktop runs the programs in its startup applications."},
    {"With the icon hidden, open Tilewise again from Finder to show Preferences.",
     "With the icon hidden, start Tilewise again (from the application menu or with “tilewise”) "
     "to show Preferences."},
    {"⌃⌥⇧⌘A", "Ctrl+Alt+Shift+Super+A"},
    {"Left half    ⌘↩  — In use by another app or another Tilewise shortcut",
     "Left half    Super+Enter  — In use by another app or another Tilewise shortcut"},
    {"Imported 2 shortcuts: Top (⌃⌥↑), Wide (⇧F1)",
     "Imported 2 shortcuts: Top (Ctrl+Alt+Up), Wide (Shift+F1)"},
    {"⌥⎋ ⌃⇥ ⌘⌫ ⌘⌦ ⌘⇞ ⌘⇟ ⌘↖ ⌘↘ ⌘← ⌘→ ⌘↓",
     "Alt+Esc Ctrl+Tab Super+Backspace Super+Delete Super+Page Up Super+Page Down Super+Home "
     "Super+End Super+Left Super+Right Super+Down"},
    {"The window is minimized.", "The window is minimized."},
};

TEST(PlatformTextsTest, LinuxWordsWhatMacOSNamesAndKeepsEverythingElse) {
    const auto& onLinuxDesktop = PlatformTexts::forBackend("x11");
    const auto& simulated = PlatformTexts::forBackend("sim");
    for (const auto& [written, onLinux] : kRenderings) {
        EXPECT_EQ(onLinuxDesktop.render(written), onLinux);
        EXPECT_EQ(onLinuxDesktop.render(onLinuxDesktop.render(written)), onLinux)
            << "rendering twice changes it";
        EXPECT_EQ(simulated.render(written), written);
    }
}

TEST(PlatformTextsTest, ShortcutsAreModifiersThenTheKey) {
    const Modifiers all{Modifiers::all};
    EXPECT_EQ(PlatformTexts::forBackend("x11").shortcut(all, "Q"), "Ctrl+Alt+Shift+Super+Q");
    EXPECT_EQ(PlatformTexts::forBackend("x11").shortcut(Modifiers{}, "F5"), "F5");
    EXPECT_EQ(PlatformTexts::forBackend("sim").shortcut(all, "Q"), "⌃⌥⇧⌘Q");
}

}  // namespace
}  // namespace tilewise
