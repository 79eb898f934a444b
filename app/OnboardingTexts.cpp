#include "app/OnboardingTexts.h"

namespace tilewise {

const OnboardingTexts& OnboardingTexts::accessibility() {
    static const OnboardingTexts texts{
        .windowTitle = "Tilewise Accessibility Access",
        .heading = "Allow Tilewise to arrange windows",
        .explanation =
            "Tilewise moves and resizes other apps' windows through macOS "
            "Accessibility. It does not read window contents, record the screen, or "
            "monitor typing.",
        .steps =
            "1. Click **Open System Settings**.\n"
            "2. Turn on **Tilewise** under Privacy & Security › Accessibility.\n"
            "3. Return here. This window closes when access is granted.",
        .hint =
            "If Tilewise is already listed but moving windows fails (for example after "
            "rebuilding the app), remove it with the − button and add it again.",
        .waiting = "Waiting for access",
        .granted = "Access granted",
        .button = "Open System Settings"};
    return texts;
}

const OnboardingTexts& OnboardingTexts::windowManager() {
    static const OnboardingTexts texts{
        .windowTitle = "Tilewise Window Manager",
        .heading = "Allow Tilewise to arrange windows",
        .explanation =
            "Tilewise moves and resizes other apps' windows by asking the window "
            "manager. It does not read window contents, record the screen, or "
            "monitor typing.",
        .steps =
            "1. Start a window manager that follows the **EWMH** standard (Openbox, Xfwm, "
            "KWin, i3 and most others do).\n"
            "2. Keep this window open: Tilewise looks for it every second.\n"
            "3. This window closes when windows can be arranged.",
        .hint =
            "If a window manager already runs but this window stays open, it does not "
            "announce itself the EWMH way; Tilewise cannot arrange windows with it.",
        .waiting = "Waiting for a window manager",
        .granted = "Window manager found",
        .button = "Check Again"};
    return texts;
}

}  // namespace tilewise
