#pragma once

#include <string>

#include "platform/PlatformTexts.h"

namespace tilewise {

/// The sentences of the onboarding window. Where the permission comes from differs by
/// system, so each platform renders them in its own true words.
struct OnboardingTexts {
    std::string windowTitle;
    std::string heading;
    std::string explanation;
    /// Numbered steps, one per line; words between double stars are bold.
    std::string steps;
    std::string hint;
    std::string waiting;
    std::string granted;
    std::string button;

    /// The Accessibility permission of the system settings.
    static const OnboardingTexts& accessibility();
    /// The sentences as `platform` words them (on X11: windows can be arranged once an EWMH
    /// window manager runs).
    static OnboardingTexts renderedBy(const PlatformTexts& platform);
};

}  // namespace tilewise
