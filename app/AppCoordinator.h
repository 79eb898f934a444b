#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/AccessibilityPermission.h"
#include "app/AppViews.h"
#include "app/DisplayProvider.h"
#include "app/DivvyWatch.h"
#include "app/GridPanelFlow.h"
#include "app/HotKeyService.h"
#include "app/InstanceRequestHandler.h"
#include "app/PlacementFeedback.h"
#include "app/RenderedAlerts.h"
#include "app/SettingsStore.h"
#include "app/ShortcutRegistrar.h"
#include "app/StatusMenu.h"
#include "app/WindowController.h"
#include "app/WindowPlacement.h"
#include "core/CyclingTracker.h"
#include "platform/Platform.h"
#include "platform/Publisher.h"
#include "platform/SerialQueue.h"

namespace tilewise {

/// The application object: owns every service for the life of the process and wires them
/// together. It reacts to the settings, the displays, the trust state and Divvy; registers the
/// global shortcuts; applies layouts; owns the status item; serves the requests of other
/// `tilewise` processes. Main thread only.
class AppCoordinator final : public InstanceRequestHandler {
  public:
    using LayoutStatus = std::map<Uuid, HotKeyService::Status>;
    /// Called once a placement request has ended, with how it ended.
    using PlacementDone = std::function<void(const PlacementOutcome&)>;

    static constexpr std::string_view kAboutCredits = "A native grid window manager for macOS.";

    /// Builds the services in order; nothing is observed, registered or shown yet.
    AppCoordinator(Platform& platform, Scheduler& mainQueue,
                   std::unique_ptr<SerialQueue> windowQueue, std::filesystem::path settingsFile,
                   AppViews& views);
    AppCoordinator(const AppCoordinator&) = delete;
    AppCoordinator& operator=(const AppCoordinator&) = delete;
    ~AppCoordinator() override;

    /// Subscribes to everything and registers the shortcuts; called once after launch.
    void start();
    /// Writes a pending settings change now; called when the application ends.
    void terminate();

    /// Applies a saved layout to the open panel's window, or else to the frontmost window
    /// (cycling displays on a repeat). A layout id not in the settings does nothing.
    void applyLayout(const Uuid& id, PlacementDone done = {});
    /// Places `target` on `selection` of `grid` on `display`; a layout id records the
    /// placement for display cycling, none clears the record.
    void apply(const CellSelection& selection, GridSize grid, const WindowTarget& target,
               const DisplayInfo& display, std::optional<Uuid> layoutID, PlacementDone done = {});
    /// Sets the last problem, beeps and logs the sentence.
    void presentProblem(const std::string& message);
    void showOnboarding();
    void importFromDivvy(bool confirm);

    // Published state, read by the status menu and the preferences.
    const LayoutStatus& layoutStatus() const { return layoutStatus_; }
    const std::optional<HotKeyService::Status>& panelShortcutStatus() const {
        return panelShortcutStatus_;
    }
    const std::optional<std::string>& lastProblem() const { return lastProblem_; }
    /// Called after any published state or the trust state changed.
    [[nodiscard]] Subscription observe(std::function<void()> observer);

    // What the panel flow and the preferences work with.
    SettingsStore& store() { return store_; }
    AccessibilityPermission& permission() { return permission_; }
    WindowController& windows() { return windows_; }
    DisplayProvider& displays() { return displays_; }
    HotKeyService& hotKeys() { return hotKeys_; }
    CyclingTracker& cycling() { return cycling_; }
    Platform& platform() { return platform_; }
    Scheduler& mainQueue() { return mainQueue_; }
    /// The modifier symbols and key name of a shortcut.
    std::string shortcutLabel(const KeyCombo& combo);

    /// Plugs in the grid panel: layouts go to its window while it is open, the panel shortcut
    /// and "Show Grid" open it. Null unplugs it.
    void setGridPanel(GridPanelFlow* panel);
    /// Plugs in the preferences window; "Preferences…" appears in the menu once it is set.
    void setShowPreferences(std::function<void()> show);
    void showPreferences();
    /// Called when the user chooses "Quit Tilewise".
    std::function<void()> onQuit;

    // Requests of other `tilewise` processes, answered with the command line's text.
    void applyLayout(const ApplyLayoutRequest& request, Reply reply) override;
    void placeCells(const PlaceCellsRequest& request, Reply reply) override;
    void showGrid(Reply reply) override;
    void showPreferences(Reply reply) override;

    /// The status item's entries as they would be shown now.
    std::vector<StatusMenuItem> statusMenu();
    bool hasStatusItem() const { return statusItem_ != nullptr; }

  private:
    void settingsChanged(const TilewiseSettings& settings);
    void updateStatusItem(bool visible);
    void registerHotKeys(bool force, const std::optional<TilewiseSettings>& settings,
                         std::optional<bool> divvyRunning);
    void togglePanel();
    void displaysChanged();
    WindowPlacement::Completion reporting(PlacementDone done);
    void carryOut(const PlacementFeedback& feedback);
    void setLastProblem(std::optional<std::string> problem);
    void choose(const StatusMenuItem& item);
    void changed();
    void refreshMenu();

    Platform& platform_;
    Scheduler& mainQueue_;
    AppViews& views_;
    SettingsStore store_;
    AccessibilityPermission permission_;
    WindowController windows_;
    DisplayProvider displays_;
    HotKeyService hotKeys_;
    ShortcutRegistrar registrar_;
    DivvyWatch divvy_;
    CyclingTracker cycling_;
    RenderedAlerts alerts_;
    WindowPlacement placement_;
    LayoutStatus layoutStatus_;
    std::optional<HotKeyService::Status> panelShortcutStatus_;
    std::optional<std::string> lastProblem_;
    std::unique_ptr<StatusItemView> statusItem_;
    GridPanelFlow* panel_ = nullptr;
    std::function<void()> showPreferences_;
    Subscription settingsSubscription_;
    ObserverId activationObserver_ = kNoObserver;
    Subscription trustSubscription_;
    Publisher<bool> changes_;
    // Completions and deferred work hold the coordinator through this, weakly.
    std::shared_ptr<AppCoordinator*> self_ = std::make_shared<AppCoordinator*>(this);
};

}  // namespace tilewise
