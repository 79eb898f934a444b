#pragma once

#include <array>

namespace tilewise {

/// The tabs of the preferences window, in the order they are shown.
enum class PreferencesTab { general, grid, layouts, data };

inline constexpr std::array<PreferencesTab, 4> kAllPreferencesTabs{
    PreferencesTab::general, PreferencesTab::grid, PreferencesTab::layouts, PreferencesTab::data};

}  // namespace tilewise
