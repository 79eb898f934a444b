#pragma once

#include <expected>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/DesktopSession.h"
#include "app/OnboardingTexts.h"

namespace tilewise {

/// Runs Tilewise as the resident application until it is quit or ended by a signal: a status
/// item, the global shortcuts and the windows they open, but no main window and no taskbar
/// entry. `openDesktop` opens the backend once the widget application exists. Returns the
/// process's exit status.
int runResidentApplication(
    int argc, char** argv,
    const std::function<std::expected<std::unique_ptr<DesktopSession>, std::string>()>& openDesktop,
    const std::filesystem::path& settingsFile, const OnboardingTexts& onboardingTexts);

}  // namespace tilewise
