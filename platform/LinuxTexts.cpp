#include "platform/LinuxTexts.h"

#include <array>
#include <utility>

namespace tilewise {
namespace {

using Rewording = std::pair<std::string_view, std::string_view>;

// Whole sentences first, longest first: each names a part of macOS; the Linux truth replaces it.
// On X11 "trusted" means that an EWMH window manager runs, so the onboarding asks for one.
constexpr std::array kSentences{
    Rewording{"1. Click **Open System Settings**.\n"
              "2. Turn on **Tilewise** under Privacy & Security › Accessibility.\n"
              "3. Return here. This window closes when access is granted.",
              "1. Start a window manager that follows the **EWMH** standard (Openbox, Xfwm, "
              "KWin, i3 and most others do).\n"
              "2. Keep this window open: Tilewise looks for it every second.\n"
              "3. This window closes when windows can be arranged."},
    Rewording{"Tilewise moves and resizes other apps' windows through macOS Accessibility. It "
              "does not read window contents, record the screen, or monitor typing.",
              "Tilewise moves and resizes other apps' windows by asking the window manager. It "
              "does not read window contents, record the screen, or monitor typing."},
    Rewording{"If Tilewise is already listed but moving windows fails (for example after "
              "rebuilding the app), remove it with the − button and add it again.",
              "If a window manager already runs but this window stays open, it does not "
              "announce itself the EWMH way; Tilewise cannot arrange windows with it."},
    Rewording{"Accessibility access granted", "Window manager found"},
    Rewording{"Accessibility access needed", "Window manager needed"},
    Rewording{"Grant Access…", "Show How…"},
    Rewording{"Tilewise Accessibility Access", "Tilewise Window Manager"},
    Rewording{"Waiting for access", "Waiting for a window manager"},
    Rewording{"Access granted", "Window manager found"},
    Rewording{"Open System Settings", "Check Again"},
    Rewording{"Accessibility Access Needed…", "Window Manager Needed…"},
    Rewording{"Tilewise needs Accessibility permission to move windows.",
              "Tilewise needs a running window manager to move windows."},
    Rewording{"Reserved by a macOS keyboard shortcut",
              "Reserved by a keyboard shortcut of the desktop"},
    Rewording{"A native grid window manager for macOS.",
              "A grid window arranger for Linux desktops."},
    Rewording{"Tilewise must be in /Applications to launch at login.",
              "Tilewise could not write its autostart entry in ~/.config/autostart."},
    Rewording{"Approve Tilewise in System Settings › General › Login Items.",
              "Check that your desktop runs the programs in its startup applications."},
    Rewording{"With the icon hidden, open Tilewise again from Finder to show Preferences.",
              "With the icon hidden, start Tilewise again (from the application menu or with "
              "“tilewise”) to show Preferences."},
};

// Then the glyphs of shortcuts: a modifier glyph always precedes its key's label.
constexpr std::array kGlyphs{
    Rewording{"⌃", "Ctrl+"},     Rewording{"⌥", "Alt+"},      Rewording{"⇧", "Shift+"},
    Rewording{"⌘", "Super+"},    Rewording{"↩", "Enter"},     Rewording{"⇥", "Tab"},
    Rewording{"⌫", "Backspace"}, Rewording{"⎋", "Esc"},       Rewording{"⌦", "Delete"},
    Rewording{"⇞", "Page Up"},   Rewording{"⇟", "Page Down"}, Rewording{"↖", "Home"},
    Rewording{"↘", "End"},       Rewording{"←", "Left"},      Rewording{"→", "Right"},
    Rewording{"↓", "Down"},      Rewording{"↑", "Up"},
};

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

}  // namespace

std::string LinuxTexts::render(std::string_view text) const {
    std::string rendered{text};
    for (const auto& [from, to] : kSentences) {
        replaceAll(rendered, from, to);
    }
    for (const auto& [from, to] : kGlyphs) {
        replaceAll(rendered, from, to);
    }
    return rendered;
}

const PlatformTexts& PlatformTexts::forBackend(std::string_view backend) {
    static const PlatformTexts asWritten;
    static const LinuxTexts linuxDesktop;
    return backend == "x11" ? static_cast<const PlatformTexts&>(linuxDesktop) : asWritten;
}

}  // namespace tilewise
