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

OnboardingTexts OnboardingTexts::renderedBy(const PlatformTexts& platform) {
    const auto& written = accessibility();
    return {.windowTitle = platform.render(written.windowTitle),
            .heading = platform.render(written.heading),
            .explanation = platform.render(written.explanation),
            .steps = platform.render(written.steps),
            .hint = platform.render(written.hint),
            .waiting = platform.render(written.waiting),
            .granted = platform.render(written.granted),
            .button = platform.render(written.button)};
}

}  // namespace tilewise
