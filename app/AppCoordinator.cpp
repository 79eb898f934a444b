#include "app/AppCoordinator.h"

#include <algorithm>

#include "app/DivvyImportFlow.h"
#include "app/DivvyMigration.h"
#include "app/KeyboardLabels.h"
#include "app/PlacementSentences.h"
#include "core/LayoutEngine.h"
#include "platform/Log.h"

namespace tilewise {
namespace {

// Runs `body` with the coordinator while it still exists; otherwise does nothing.
template <typename Body>
auto whileAlive(const std::shared_ptr<AppCoordinator*>& self, Body body) {
    return [weak = std::weak_ptr(self), body = std::move(body)](auto&&... arguments) {
        if (const auto coordinator = weak.lock()) {
            body(**coordinator, std::forward<decltype(arguments)>(arguments)...);
        }
    };
}

}  // namespace

AppCoordinator::AppCoordinator(Platform& platform, Scheduler& mainQueue,
                               std::unique_ptr<SerialQueue> windowQueue,
                               std::filesystem::path settingsFile, AppViews& views)
    : platform_(platform),
      mainQueue_(mainQueue),
      views_(views),
      store_(std::move(settingsFile), mainQueue),
      permission_(platform.accessibility(), platform.workspace(), mainQueue),
      windows_(platform.accessibility(), platform.workspace(), mainQueue, std::move(windowQueue)),
      displays_(platform.screens()),
      hotKeys_(platform.hotKeys()),
      registrar_(hotKeys_, platform.hotKeys()),
      divvy_(platform.workspace(), mainQueue) {}

AppCoordinator::~AppCoordinator() {
    platform_.workspace().removeObserver(activationObserver_);
    permission_.unsubscribe(trustSubscription_);
    permission_.closeOnboardingWindow = nullptr;
    views_.onboarding().onOpenSettings = nullptr;
}

void AppCoordinator::start() {
    displays_.onChange = [this] { displaysChanged(); };
    permission_.onChange = [this](bool) { changed(); };
    auto& onboarding = views_.onboarding();
    trustSubscription_ =
        permission_.subscribe([&onboarding](bool trusted) { onboarding.setTrusted(trusted); });
    permission_.closeOnboardingWindow = [&onboarding] { onboarding.close(); };
    onboarding.onOpenSettings = [this] {
        permission_.promptForTrust();
        permission_.openSystemSettings();
    };

    settingsSubscription_ =
        store_.subscribe([this](const TilewiseSettings& settings) { settingsChanged(settings); });
    if (store_.loadProblem()) {
        // Shown in the menu, without a beep: nobody asked for anything yet.
        setLastProblem(store_.loadProblem());
    }

    divvy_.onChange = [this](bool running) { registerHotKeys(true, std::nullopt, running); };
    divvy_.start();
    activationObserver_ =
        platform_.workspace().observeApplicationActivation([this](const RunningApplication&) {
            if (panel_ && panel_->isOpen()) {
                panel_->applicationActivated();
            }
        });

    if (store_.isFirstRun() && DivvyMigration::hasSavedShortcuts(platform_.userDefaults())) {
        importFromDivvy(false);
    }
    if (!permission_.isTrusted()) {
        showOnboarding();
    }
}

void AppCoordinator::terminate() {
    store_.saveNow();
}

void AppCoordinator::settingsChanged(const TilewiseSettings& settings) {
    updateStatusItem(settings.showMenuBarIcon);
    if (panel_) {
        panel_->setOptions(settings.keepPanelOpen, settings.animationsEnabled);
    }
    registerHotKeys(false, settings, std::nullopt);
    refreshMenu();
}

void AppCoordinator::updateStatusItem(bool visible) {
    if (visible && !statusItem_) {
        statusItem_ = views_.makeStatusItem();
        statusItem_->onMenuWillOpen = [this] {
            permission_.refresh();
            refreshMenu();
        };
        statusItem_->onChoose = [this](const StatusMenuItem& item) { choose(item); };
        refreshMenu();
    } else if (!visible && statusItem_) {
        statusItem_.reset();
    }
}

void AppCoordinator::registerHotKeys(bool force, const std::optional<TilewiseSettings>& settings,
                                     std::optional<bool> divvyRunning) {
    const TilewiseSettings& current = settings ? *settings : store_.settings();
    const bool running =
        divvyRunning.value_or(DivvyMigration::runningInstance(platform_.workspace()).has_value());
    const auto paused = running ? DivvyMigration::activeGlobalShortcuts(platform_.userDefaults())
                                : std::unordered_set<KeyCombo>{};
    const ShortcutRegistrar::Actions actions{
        .togglePanel = whileAlive(self_, [](AppCoordinator& self) { self.togglePanel(); }),
        .applyLayout =
            whileAlive(self_, [](AppCoordinator& self, const Uuid& id) { self.applyLayout(id); })};
    const auto statuses = registrar_.registerAll(current, force, paused, actions);
    if (!statuses) {
        return;
    }
    panelShortcutStatus_ = statuses->panel;
    layoutStatus_ = statuses->layouts;
    changed();
}

void AppCoordinator::togglePanel() {
    if (!panel_) {
        return;
    }
    if (panel_->isOpen()) {
        panel_->dismiss();
    } else {
        panel_->show();
    }
}

void AppCoordinator::displaysChanged() {
    if (panel_) {
        panel_->dismiss();
    }
    cycling_.reset();
}

void AppCoordinator::applyLayout(const Uuid& id, PlacementDone done) {
    const auto& layouts = store_.settings().layouts;
    const auto layout = std::ranges::find(layouts, id, &SavedLayout::id);
    if (layout == layouts.end()) {
        return;
    }
    if (panel_ && panel_->isOpen()) {
        const auto target = panel_->target();
        const auto display = panel_->display();
        if (target && display) {
            apply(layout->selection, layout->grid, *target, *display, layout->id, std::move(done));
            if (!store_.settings().keepPanelOpen) {
                panel_->dismiss();
            }
            return;
        }
    }
    const auto underMouse = displays_.displayUnderMouse();
    windows_.captureFocusedTarget(
        whileAlive(self_, [layout = *layout, underMouse, done = std::move(done)](
                              AppCoordinator& self, WindowController::CaptureResult result) {
            self.layoutCaptured(layout, underMouse, std::move(result), done);
        }));
}

void AppCoordinator::layoutCaptured(const SavedLayout& layout,
                                    const std::optional<DisplayInfo>& underMouse,
                                    WindowController::CaptureResult result,
                                    const PlacementDone& done) {
    if (!result) {
        carryOut(PlacementFeedback::forError(result.error()), done);
        return;
    }
    const auto displays = displays_.displays();
    const auto& settings = store_.settings();
    const auto base = settings.panelPlacement == PanelPlacement::displayUnderMouse
                          ? underMouse
                          : DisplayTopology::displayContaining(result->frame, displays);
    const auto display =
        cycling_.targetDisplay(layout.id, result->key(), base, displays, settings.monitorCycling);
    if (!display) {
        carryOut(PlacementFeedback::problem(std::string{PlacementSentences::kNoDisplay}), done);
        return;
    }
    apply(layout.selection, layout.grid, *result, *display, layout.id, done);
}

void AppCoordinator::apply(const CellSelection& selection, GridSize grid,
                           const WindowTarget& target, const DisplayInfo& display,
                           std::optional<Uuid> layoutID, PlacementDone done) {
    const auto frame = LayoutEngine::frame(selection, grid, display.visibleFrame,
                                           store_.settings().margins, display.backingScale);
    if (!frame) {
        carryOut(PlacementFeedback::problem(std::string{PlacementSentences::kDoesNotFit}), done);
        return;
    }
    windows_.apply(
        *frame, target,
        whileAlive(self_, [target, display, layoutID, done = std::move(done)](
                              AppCoordinator& self, WindowController::ApplyOutcome outcome) {
            self.applied(outcome, target, display, layoutID, done);
        }));
}

void AppCoordinator::applied(const WindowController::ApplyOutcome& outcome,
                             const WindowTarget& target, const DisplayInfo& display,
                             const std::optional<Uuid>& layoutID, const PlacementDone& done) {
    if (!outcome) {
        carryOut(PlacementFeedback::forError(outcome.error()), done);
        return;
    }
    if (layoutID) {
        cycling_.record({*layoutID, target.key(), display.id, outcome->actual});
    } else {
        cycling_.reset();
    }
    carryOut(PlacementFeedback::forResult(*outcome, target), done);
}

void AppCoordinator::carryOut(const PlacementFeedback& feedback, const PlacementDone& done) {
    switch (feedback.kind) {
        case PlacementFeedback::Kind::nothing:
            break;
        case PlacementFeedback::Kind::onboarding:
            permission_.refresh();
            showOnboarding();
            break;
        case PlacementFeedback::Kind::problem:
            presentProblem(feedback.message);
            break;
        case PlacementFeedback::Kind::quietProblem:
            setLastProblem(feedback.message);
            break;
        case PlacementFeedback::Kind::clearProblem:
            setLastProblem(std::nullopt);
            break;
    }
    if (done) {
        done(feedback);
    }
}

void AppCoordinator::presentProblem(const std::string& message) {
    setLastProblem(message);
    platform_.workspace().beep();
    Log::info(LogCategory::app, message);
}

void AppCoordinator::setLastProblem(std::optional<std::string> problem) {
    if (lastProblem_ == problem) {
        return;
    }
    lastProblem_ = std::move(problem);
    changed();
}

void AppCoordinator::showOnboarding() {
    auto& onboarding = views_.onboarding();
    onboarding.setTrusted(permission_.isTrusted());
    onboarding.show();
    permission_.startPolling([&onboarding] { return onboarding.isVisible(); });
}

void AppCoordinator::importFromDivvy(bool confirm) {
    auto& layout = platform_.keyboardLayout();
    DivvyImportFlow::run(
        confirm,
        {.store = store_,
         .defaults = platform_.userDefaults(),
         .keyName = [&layout](std::uint16_t code) { return KeyboardLabels::keyName(code, layout); },
         .divvyIsRunning = [this] { return divvy_.isRunning(); },
         .alerts = views_.alerts()});
}

Subscription AppCoordinator::observe(std::function<void()> observer) {
    return changes_.subscribe([observer = std::move(observer)](bool) { observer(); });
}

std::string AppCoordinator::shortcutLabel(const KeyCombo& combo) {
    return KeyboardLabels::shortcutName(combo, platform_.keyboardLayout());
}

void AppCoordinator::setGridPanel(GridPanelFlow* panel) {
    panel_ = panel;
    if (panel_) {
        const auto& settings = store_.settings();
        panel_->setOptions(settings.keepPanelOpen, settings.animationsEnabled);
    }
    refreshMenu();
}

void AppCoordinator::setShowPreferences(std::function<void()> show) {
    showPreferences_ = std::move(show);
    refreshMenu();
}

void AppCoordinator::showPreferences() {
    if (showPreferences_) {
        showPreferences_();
    }
}

std::vector<StatusMenuItem> AppCoordinator::statusMenu() {
    return StatusMenu::build(
        {.settings = store_.settings(),
         .layoutStatus = layoutStatus_,
         .panelShortcutStatus = panelShortcutStatus_,
         .lastProblem = lastProblem_,
         .isTrusted = permission_.isTrusted(),
         .divvyHasSavedShortcuts = DivvyMigration::hasSavedShortcuts(platform_.userDefaults()),
         .canShowGrid = panel_ != nullptr,
         .canShowPreferences = static_cast<bool>(showPreferences_),
         .shortcutLabel = [this](const KeyCombo& combo) { return shortcutLabel(combo); }});
}

void AppCoordinator::choose(const StatusMenuItem& item) {
    using Action = StatusMenuItem::Action;
    switch (item.action) {
        case Action::none:
            break;
        case Action::showGrid:
            mainQueue_.post(whileAlive(self_, [](AppCoordinator& self) {
                if (self.panel_) {
                    self.panel_->show();
                }
            }));
            break;
        case Action::applyLayout:
            if (item.layoutID) {
                applyLayout(*item.layoutID);
            }
            break;
        case Action::permission:
            showOnboarding();
            break;
        case Action::importDivvy:
            importFromDivvy(true);
            break;
        case Action::about:
            views_.alerts().showAbout(std::string{kAboutCredits});
            break;
        case Action::preferences:
            showPreferences();
            break;
        case Action::quit:
            if (onQuit) {
                onQuit();
            }
            break;
    }
}

void AppCoordinator::changed() {
    refreshMenu();
    changes_.publish(true);
}

void AppCoordinator::refreshMenu() {
    if (statusItem_) {
        statusItem_->setMenu(statusMenu());
    }
}

}  // namespace tilewise
