#include "core/Settings.h"

#include <utf8proc.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <unordered_map>
#include <utility>

namespace tilewise {
namespace {

template <typename... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
// Spelled out for compilers without aggregate deduction (clang before 17, used for fuzzing).
template <typename... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

std::string quoted(std::string_view name) {
    return "“" + std::string(name) + "”";
}

std::string joined(const std::vector<std::string>& names, std::string_view separator) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            text += separator;
        text += names[i];
    }
    return text;
}

std::string unsafeShortcutSentence(const SettingsIssue::UnsafeGlobalShortcut& issue) {
    const auto start = "Global shortcut for " + quoted(issue.name);
    switch (issue.problem) {
        case KeyCombo::Problem::noModifier:
            return start + " needs a modifier key.";
        case KeyCombo::Problem::shiftOnly:
            return start + " needs a modifier other than Shift.";
        case KeyCombo::Problem::reservedKey:
            return start + " uses a key that cannot be a shortcut.";
    }
    return start + ".";
}

// Byte order of UTF-8 is the order of Unicode scalar values, so comparing the NFC forms as
// bytes compares canonically equivalent names as equal. A name that is not valid UTF-8 has no
// normal form (nor does one with a NUL, which the library would cut short) and sorts by its
// bytes.
std::string canonicalSortKey(const std::string& text) {
    if (text.find('\0') != std::string::npos)
        return text;
    const std::unique_ptr<utf8proc_uint8_t, decltype(&std::free)> normalized{
        utf8proc_NFC(reinterpret_cast<const utf8proc_uint8_t*>(text.c_str())), &std::free};
    if (!normalized)
        return text;
    return reinterpret_cast<const char*>(normalized.get());
}

// The names that use each shortcut, in order of the shortcut's first use.
class ShortcutUse {
  public:
    void add(const KeyCombo& shortcut, const std::string& name) {
        const auto [found, inserted] = index_.try_emplace(shortcut, entries_.size());
        if (inserted)
            entries_.push_back({shortcut, {}});
        entries_[found->second].names.push_back(name);
    }

    std::vector<SettingsIssue> duplicates() && {
        std::vector<std::pair<std::string, SettingsIssue::DuplicateShortcut>> keyed;
        for (auto& entry : entries_) {
            if (entry.names.size() > 1)
                keyed.emplace_back(canonicalSortKey(joined(entry.names, "")), std::move(entry));
        }
        std::ranges::stable_sort(keyed, {}, &decltype(keyed)::value_type::first);
        std::vector<SettingsIssue> issues;
        for (auto& [key, duplicate] : keyed) {
            issues.push_back({std::move(duplicate)});
        }
        return issues;
    }

  private:
    std::vector<SettingsIssue::DuplicateShortcut> entries_;
    std::unordered_map<KeyCombo, std::size_t> index_;
};

void appendShortcutIssues(const TilewiseSettings& settings, std::vector<SettingsIssue>& issues) {
    ShortcutUse use;
    for (const auto& layout : settings.layouts) {
        if (!layout.enabled || !layout.shortcut)
            continue;
        use.add(*layout.shortcut, layout.name);
        if (!layout.isGlobal)
            continue;
        if (const auto problem = layout.shortcut->globalRegistrationProblem())
            issues.push_back({SettingsIssue::UnsafeGlobalShortcut{layout.name, *problem}});
    }
    if (settings.panelShortcutEnabled && settings.panelShortcut)
        use.add(*settings.panelShortcut, std::string(TilewiseSettings::kPanelShortcutName));
    std::ranges::move(std::move(use).duplicates(), std::back_inserter(issues));
}

}  // namespace

std::string_view rawValue(PanelPlacement placement) {
    switch (placement) {
        case PanelPlacement::displayUnderMouse:
            return "displayUnderMouse";
        case PanelPlacement::displayWithTargetWindow:
            return "displayWithTargetWindow";
    }
    return {};
}

std::optional<PanelPlacement> panelPlacementFromRawValue(std::string_view text) {
    for (const auto placement : kAllPanelPlacements) {
        if (rawValue(placement) == text)
            return placement;
    }
    return std::nullopt;
}

bool SettingsIssue::isFatal() const {
    return !std::holds_alternative<DuplicateShortcut>(value) &&
           !std::holds_alternative<UnsafeGlobalShortcut>(value);
}

std::string SettingsIssue::description() const {
    return std::visit(
        Overloaded{
            [](const UnsupportedSchemaVersion& issue) {
                return "Settings were written by a newer Tilewise (format version " +
                       std::to_string(issue.version) + ").";
            },
            [](const InvalidLayout& issue) {
                return "Layout " + quoted(issue.name) + " has a selection outside its grid.";
            },
            [](const DuplicateShortcut& issue) {
                return issue.shortcut.fallbackDescription() +
                       " is assigned to more than one layout: " + joined(issue.names, ", ") + ".";
            },
            [](const UnsafeGlobalShortcut& issue) { return unsafeShortcutSentence(issue); },
            [](const InvalidGrid&) {
                return "The grid must have between " + std::to_string(GridSize::minimum) + " and " +
                       std::to_string(GridSize::maximum) + " rows and columns.";
            },
            [](const InvalidMargins&) {
                return std::string("Margins must be between 0 and 500 points.");
            },
        },
        value);
}

const TilewiseSettings& TilewiseSettings::defaults() {
    static const TilewiseSettings document{};
    return document;
}

std::vector<SettingsIssue> TilewiseSettings::validate() const {
    std::vector<SettingsIssue> issues;
    if (schemaVersion > currentSchemaVersion)
        issues.push_back({SettingsIssue::UnsupportedSchemaVersion{schemaVersion}});
    if (!grid.isValid())
        issues.push_back({SettingsIssue::InvalidGrid{}});
    if (!margins.isValid())
        issues.push_back({SettingsIssue::InvalidMargins{}});
    for (const auto& layout : layouts) {
        if (!layout.selection.isValid(layout.grid))
            issues.push_back({SettingsIssue::InvalidLayout{layout.name}});
    }
    appendShortcutIssues(*this, issues);
    return issues;
}

}  // namespace tilewise

using tilewise::hashFields;

std::size_t std::hash<tilewise::SavedLayout>::operator()(
    const tilewise::SavedLayout& v) const noexcept {
    return hashFields(v.id, v.name, v.enabled, v.isGlobal, v.shortcut, v.grid, v.selection);
}

std::size_t std::hash<tilewise::TilewiseSettings>::operator()(
    const tilewise::TilewiseSettings& v) const noexcept {
    std::size_t layouts = 0;
    for (const auto& layout : v.layouts) {
        layouts = hashFields(layouts, layout);
    }
    return hashFields(v.schemaVersion, v.grid, v.margins, v.animationsEnabled, v.showResizePreview,
                      v.keepPanelOpen, v.selectOnScreen, v.panelShortcutEnabled, v.panelShortcut,
                      v.monitorCycling, v.showMenuBarIcon, v.launchAtLogin, v.panelPlacement,
                      layouts);
}
