#include "app/StatusMenu.h"

#include <algorithm>

namespace tilewise::StatusMenu {
namespace {

using Action = StatusMenuItem::Action;

StatusMenuItem item(std::string_view title, Action action, std::string keyEquivalent = {}) {
    StatusMenuItem entry;
    entry.title = title;
    entry.action = action;
    entry.keyEquivalent = std::move(keyEquivalent);
    return entry;
}

// Separators only ever stand between entries: the optional entries above them may be absent.
void addSeparator(std::vector<StatusMenuItem>& menu) {
    if (!menu.empty() && !menu.back().isSeparator) {
        menu.push_back(StatusMenuItem::separator());
    }
}

bool isDeferred(const std::optional<HotKeyService::Status>& status) {
    return status && status->kind() == HotKeyService::Status::Kind::deferredForDivvy;
}

std::string showGridTitle(const StatusMenuInputs& inputs) {
    std::string title{kShowGridTitle};
    if (inputs.settings.panelShortcutEnabled && inputs.settings.panelShortcut) {
        title += "    " + inputs.shortcutLabel(*inputs.settings.panelShortcut);
    }
    return title;
}

std::vector<StatusMenuItem> statusItems(const StatusMenuInputs& inputs) {
    std::vector<StatusMenuItem> items;
    if (!inputs.isTrusted) {
        auto permission = item(kPermissionTitle, Action::permission);
        permission.showsWarning = true;
        items.push_back(std::move(permission));
    }
    const bool anyDeferred = isDeferred(inputs.panelShortcutStatus) ||
                             std::ranges::any_of(inputs.layoutStatus, [](const auto& entry) {
                                 return isDeferred(entry.second);
                             });
    if (anyDeferred) {
        items.push_back(item(kDivvyPausedTitle, Action::none));
    }
    if (inputs.lastProblem) {
        items.push_back(item(*inputs.lastProblem, Action::none));
    }
    return items;
}

}  // namespace

std::string layoutTitle(const SavedLayout& layout,
                        const std::optional<HotKeyService::Status>& status,
                        const std::function<std::string(const KeyCombo&)>& shortcutLabel) {
    std::string title = layout.name;
    if (layout.shortcut) {
        title += "    " + shortcutLabel(*layout.shortcut);
    }
    if (const auto description = status ? status->userDescription() : std::nullopt) {
        title += "  — " + *description;
    }
    if (!layout.enabled) {
        title += "  (off)";
    }
    return title;
}

std::vector<StatusMenuItem> build(const StatusMenuInputs& inputs) {
    std::vector<StatusMenuItem> menu;
    if (inputs.canShowGrid) {
        menu.push_back(item(showGridTitle(inputs), Action::showGrid));
    }
    addSeparator(menu);
    for (const auto& layout : inputs.settings.layouts) {
        const auto found = inputs.layoutStatus.find(layout.id);
        const auto status =
            found == inputs.layoutStatus.end() ? std::nullopt : std::optional{found->second};
        auto entry = item(layoutTitle(layout, status, inputs.shortcutLabel), Action::applyLayout);
        entry.layoutID = layout.id;
        menu.push_back(std::move(entry));
    }
    if (auto status = statusItems(inputs); !status.empty()) {
        addSeparator(menu);
        std::ranges::move(status, std::back_inserter(menu));
    }
    addSeparator(menu);
    if (inputs.divvyHasSavedShortcuts) {
        menu.push_back(item(kImportDivvyTitle, Action::importDivvy));
    }
    menu.push_back(item(kAboutTitle, Action::about));
    if (inputs.canShowPreferences) {
        menu.push_back(item(kPreferencesTitle, Action::preferences, ","));
    }
    menu.push_back(item(kQuitTitle, Action::quit, "q"));
    return menu;
}

}  // namespace tilewise::StatusMenu
