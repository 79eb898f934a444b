#pragma once

#include <memory>

#include <gtest/gtest.h>

#include "app/AppCoordinator.h"
#include "app/DivvyMigration.h"
#include "core/SettingsCoder.h"
#include "platform/ManualScheduler.h"
#include "platform/ManualSerialQueue.h"
#include "platform/sim/SimPlatform.h"
#include "tests/app/FakeAppViews.h"
#include "tests/support/DivvyArchive.h"
#include "tests/support/Files.h"
#include "tests/support/LogCapture.h"

namespace tilewise {

/// The coordinator on a simulated desktop of two displays side by side, with fake views; the
/// test runs the main thread, the window queue and the clock.
class CoordinatorFixture : public ::testing::Test {
  public:
    static constexpr ProcessId kEditorPid = 501;
    static constexpr ProcessId kDivvyPid = 777;
    static inline const KeyCombo kCtrlOptLeft{123,
                                              Modifiers{Modifiers::control, Modifiers::option}};
    static inline const KeyCombo kCtrlOptRight{124,
                                               Modifiers{Modifiers::control, Modifiers::option}};
    static inline const KeyCombo kCtrlOptG{5, Modifiers{Modifiers::control, Modifiers::option}};

    CoordinatorFixture()
        : platform(scheduler, *sim::parseDisplays("1920x1080+0+0; 1280x1024+1920+0")) {}

    ~CoordinatorFixture() override { coordinator.reset(); }

    static SavedLayout layout(std::string name, std::optional<KeyCombo> shortcut,
                              CellSelection cells = {0, 0, 0, 0}, bool enabled = true,
                              bool global = true) {
        return {.id = Uuid::random(),
                .name = std::move(name),
                .enabled = enabled,
                .isGlobal = global,
                .shortcut = shortcut,
                .grid = {2, 1},
                .selection = cells};
    }

    /// Writes `settings` as the settings file (none: a first run), then starts.
    void start(std::optional<TilewiseSettings> settings = TilewiseSettings::defaults()) {
        if (settings) {
            writeFileBytes(settingsFile(), *SettingsCoder::encode(*settings));
        }
        auto queue = std::make_unique<ManualSerialQueue>();
        windowQueue = queue.get();
        coordinator = std::make_unique<AppCoordinator>(platform, scheduler, std::move(queue),
                                                       settingsFile(), views);
        coordinator->start();
    }

    /// Starts on default settings holding `layouts`, changed by `change` first.
    void startWith(std::vector<SavedLayout> layouts,
                   const std::function<void(TilewiseSettings&)>& change = {}) {
        auto settings = TilewiseSettings::defaults();
        settings.layouts = std::move(layouts);
        if (change)
            change(settings);
        start(settings);
    }

    std::filesystem::path settingsFile() const { return directory.path() / "settings.json"; }

    void changeSettings(const std::function<void(TilewiseSettings&)>& change) {
        auto settings = coordinator->store().settings();
        change(settings);
        coordinator->store().setSettings(settings);
    }

    /// An application in front with one window of the given kind.
    sim::WindowId frontWindow(sim::SimWindow window = {}, ProcessId pid = kEditorPid) {
        if (!platform.desktop.application(pid)) {
            platform.workspaceService.launch({.pid = pid, .localizedName = "Editor"});
        }
        platform.workspaceService.activate(pid);
        const auto id = platform.desktop.addWindow(pid, std::move(window));
        platform.desktop.modifyApplication(pid, [id](sim::SimApplication& app) {
            app.focusedWindow = id;
            app.mainWindow = id;
        });
        return id;
    }

    /// Runs the window queue and the main thread until both are quiet, without moving the clock.
    void settle() {
        do {
            windowQueue->drain();
            scheduler.runDue();
        } while (windowQueue->pendingCount() > 0);
    }

    void press(const KeyCombo& combo) {
        const sim::SimHotKeys::Combination keys{combo.keyCode, combo.modifiers.carbonFlags()};
        platform.hotKeysService.press(keys);
        platform.hotKeysService.release(keys);
        settle();
    }

    void apply(const Uuid& id) {
        coordinator->applyLayout(id);
        settle();
    }

    Rect frameOf(sim::WindowId window) const { return platform.desktop.window(window)->frame; }

    void divvyHasShortcuts(const std::vector<test::ArchivedShortcut>& shortcuts) {
        const auto archive = test::divvyArchive(shortcuts);
        platform.defaults.set(DivvyMigration::bundleID, DivvyImport::shortcutsKey, archive);
    }

    void launchDivvy() {
        platform.workspaceService.launch({.pid = kDivvyPid,
                                          .bundleIdentifier = std::string{DivvyMigration::bundleID},
                                          .localizedName = "Divvy"});
    }

    HotKeyService::Status statusOf(const SavedLayout& saved) const {
        return coordinator->layoutStatus().at(saved.id);
    }

    LogCapture log;
    TemporaryDirectory directory;
    ManualScheduler scheduler;
    sim::SimPlatform platform;
    FakeAppViews views;
    ManualSerialQueue* windowQueue = nullptr;
    std::unique_ptr<AppCoordinator> coordinator;
};

}  // namespace tilewise
