#include "app/DivvyMigration.h"

#include <gtest/gtest.h>

#include "app/KeyboardLabels.h"
#include "platform/ManualScheduler.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimKeyboardLayout.h"
#include "platform/sim/SimUserDefaults.h"
#include "platform/sim/SimWorkspace.h"
#include "tests/support/DivvyArchive.h"
#include "tests/support/LogCapture.h"
#include "tests/support/PlistBuilders.h"
#include "tests/support/Printers.h"

namespace tilewise {
namespace {

using DivvyImport::ImportError;
using test::ArchivedShortcut;
using test::divvyArchive;

const auto kControlOption = Modifiers::control | Modifiers::option;
const auto kCommand = Modifiers::command;
constexpr std::uint16_t kUpArrow = 126;
constexpr std::uint16_t kKeyA = 0;  // the US A position, which a French layout labels Q

std::string testKeyName(std::uint16_t keyCode) {
    return keyCode == kUpArrow ? "↑" : "K" + std::to_string(keyCode);
}

SavedLayout existingLayout(const std::string& name, std::optional<KeyCombo> shortcut) {
    return SavedLayout{.id = Uuid::random(),
                       .name = name,
                       .enabled = true,
                       .isGlobal = true,
                       .shortcut = shortcut,
                       .grid = {6, 6},
                       .selection = {0, 0, 2, 5}};
}

class DivvyMigrationTest : public ::testing::Test {
  protected:
    void setDirect(std::string_view key, PropertyValue value) {
        defaults.set(DivvyMigration::bundleID, key, std::move(value));
    }
    void setShortcuts(const std::vector<ArchivedShortcut>& shortcuts,
                      std::string_view domain = DivvyMigration::bundleID) {
        defaults.set(domain, DivvyImport::shortcutsKey, divvyArchive(shortcuts));
    }
    DivvyMigration::Result migrate(
        const TilewiseSettings& settings = TilewiseSettings::defaults()) {
        auto result = DivvyMigration::migrate(settings, defaults, testKeyName);
        EXPECT_TRUE(result.has_value());
        return result.value_or(DivvyMigration::Result{});
    }

    sim::SimUserDefaults defaults;
};

TEST_F(DivvyMigrationTest, WithoutDivvyPreferencesNothingChanges) {
    EXPECT_FALSE(DivvyMigration::hasSavedShortcuts(defaults));
    const auto result = migrate();
    EXPECT_EQ(result.settings, TilewiseSettings::defaults());
    EXPECT_EQ(result.notes, (std::vector<std::string>{
                                "Divvy has no saved shortcuts.",
                                "Grid 6×6, margins off, animations on, preview on.",
                                "Divvy's own panel shortcut is not imported; set one in Tilewise "
                                "if you use it."}));
    EXPECT_TRUE(DivvyMigration::activeGlobalShortcuts(defaults).empty());
}

TEST_F(DivvyMigrationTest, ImportedLayoutsReplaceThoseWithTheSameNameOrShortcut) {
    TilewiseSettings settings = TilewiseSettings::defaults();
    settings.layouts = {existingLayout("Left", std::nullopt),
                        existingLayout("A", KeyCombo{18, kCommand}),
                        existingLayout("Keep", std::nullopt)};
    setShortcuts({{"Left", std::nullopt}, {"B", KeyCombo{18, kCommand}}, {"Other", std::nullopt}});
    const auto result = migrate(settings);
    std::vector<std::string> names;
    for (const auto& layout : result.settings.layouts)
        names.push_back(layout.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Keep", "Left", "B", "Other"}));
    EXPECT_EQ(result.layouts, result.settings.layouts);
    EXPECT_NE(result.settings.layouts[1].id, settings.layouts[0].id);
}

TEST_F(DivvyMigrationTest, TheFirstNoteListsEveryImportedShortcut) {
    setShortcuts({{"Top", KeyCombo{kUpArrow, kControlOption}}});
    EXPECT_EQ(migrate().notes.front(), "Imported 1 shortcut: Top (⌃⌥↑)");
    setShortcuts({{"Letter", KeyCombo{kKeyA, kCommand}}});
    sim::SimKeyboardLayout french{sim::SimLayout::french};
    const auto labelled = DivvyMigration::migrate(
        TilewiseSettings::defaults(), defaults,
        [&](std::uint16_t keyCode) { return KeyboardLabels::keyName(keyCode, french); });
    ASSERT_TRUE(labelled.has_value());
    EXPECT_EQ(labelled->notes.front(), "Imported 1 shortcut: Letter (⌘Q)");
    setShortcuts({{"Top", KeyCombo{kUpArrow, kControlOption}}, {"Free", std::nullopt}});
    EXPECT_EQ(migrate().notes.front(), "Imported 2 shortcuts: Top (⌃⌥↑), Free (no key)");
    setShortcuts({});
    EXPECT_EQ(migrate().notes.front(), "Imported 0 shortcuts: ");
}

TEST_F(DivvyMigrationTest, TheGridChangesOnlyWithTwoValidCounts) {
    setDirect("lastColumnCount", std::int64_t{8});
    EXPECT_EQ(migrate().settings.grid, (GridSize{6, 6}));
    setDirect("lastRowCount", std::int64_t{4});
    EXPECT_EQ(migrate().settings.grid, (GridSize{8, 4}));
    EXPECT_EQ(migrate().notes[1], "Grid 8×4, margins off, animations on, preview on.");
    setDirect("lastColumnCount", std::int64_t{40});
    EXPECT_EQ(migrate().settings.grid, (GridSize{6, 6}));
    setDirect("lastColumnCount", 8.0);  // a real is no integer
    EXPECT_EQ(migrate().settings.grid, (GridSize{6, 6}));
}

TEST_F(DivvyMigrationTest, MarginsAreTakenWhereValidAndWindowMarginsHalved) {
    setDirect("enableMargins", true);
    setDirect("defaultScreenMarginTop", std::int64_t{20});
    setDirect("defaultScreenMarginRight", 7.5);
    setDirect("defaultWindowMarginWidth", std::int64_t{10});
    setDirect("defaultWindowMarginHeight", 3.0);
    const auto margins = migrate().settings.margins;
    EXPECT_TRUE(margins.enabled);
    EXPECT_EQ(margins.screen.top, 20);
    EXPECT_EQ(margins.screen.right, 7.5);
    EXPECT_EQ(margins.screen.left, Margins::divvyDefault.screen.left);
    EXPECT_EQ(margins.horizontalSpacing, 5);
    EXPECT_EQ(margins.verticalSpacing, 1.5);

    setDirect("defaultScreenMarginTop", std::int64_t{600});
    EXPECT_EQ(migrate().settings.margins, Margins::divvyDefault);
}

TEST_F(DivvyMigrationTest, BehaviourOptionsMapOntoTheirSettings) {
    setDirect("enableAnimations", false);
    setDirect("showResizePreview", false);
    setDirect("mustDismissPanel", true);
    setDirect("useMonitorCycling", true);
    setDirect("showMenuIcon", false);
    setDirect("windowFollowsMouse", false);
    const auto result = migrate();
    EXPECT_FALSE(result.settings.animationsEnabled);
    EXPECT_FALSE(result.settings.showResizePreview);
    EXPECT_TRUE(result.settings.keepPanelOpen);
    EXPECT_TRUE(result.settings.monitorCycling);
    EXPECT_FALSE(result.settings.showMenuBarIcon);
    EXPECT_EQ(result.settings.panelPlacement, PanelPlacement::displayWithTargetWindow);
    EXPECT_EQ(result.notes[1], "Grid 6×6, margins off, animations off, preview off.");
    setDirect("windowFollowsMouse", std::int64_t{0});  // wrong type: the placement stays
    TilewiseSettings targetWindow = TilewiseSettings::defaults();
    targetWindow.panelPlacement = PanelPlacement::displayWithTargetWindow;
    EXPECT_EQ(migrate(targetWindow).settings.panelPlacement,
              PanelPlacement::displayWithTargetWindow);
}

TEST_F(DivvyMigrationTest, AnUnusableArchiveChangesNothing) {
    setShortcuts(
        {{"Fine", KeyCombo{1, kCommand}}, {"Broken", KeyCombo{2, kCommand}, true, true, 0}});
    setDirect("lastColumnCount", std::int64_t{8});
    setDirect("lastRowCount", std::int64_t{4});
    EXPECT_TRUE(DivvyMigration::hasSavedShortcuts(defaults));
    const auto result =
        DivvyMigration::migrate(TilewiseSettings::defaults(), defaults, testKeyName);
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error(), ImportError::unexpectedContents);
    LogCapture log;
    EXPECT_TRUE(DivvyMigration::activeGlobalShortcuts(defaults).empty());
    EXPECT_EQ(log.messages(LogCategory::app, LogLevel::error),
              (std::vector<std::string>{"Divvy's shortcuts could not be read "
                                        "(unexpectedContents); none of them are paused"}));
    setDirect(DivvyImport::shortcutsKey, PropertyData{1, 2, 3});
    EXPECT_EQ(DivvyMigration::migrate(TilewiseSettings::defaults(), defaults, testKeyName).error(),
              ImportError::notAnArchive);
}

TEST_F(DivvyMigrationTest, OnlyEnabledGlobalShortcutsAreActive) {
    setShortcuts({{"On", KeyCombo{1, kCommand}},
                  {"Disabled", KeyCombo{2, kCommand}, false, true},
                  {"Local", KeyCombo{3, kCommand}, true, false},
                  {"Keyless", std::nullopt}});
    EXPECT_EQ(DivvyMigration::activeGlobalShortcuts(defaults),
              (std::unordered_set<KeyCombo>{KeyCombo{1, kCommand}}));
}

TEST_F(DivvyMigrationTest, TheAppStoreEditionsDomainIsReadWhenTheDirectOneHasNoShortcuts) {
    const auto appStore = DivvyMigration::appStoreBundleID;
    setShortcuts({{"Store", KeyCombo{4, kCommand}}}, appStore);
    defaults.set(appStore, "lastColumnCount", std::int64_t{3});
    defaults.set(appStore, "lastRowCount", std::int64_t{2});
    setDirect("lastColumnCount", std::int64_t{9});
    setDirect("lastRowCount", std::int64_t{9});
    EXPECT_TRUE(DivvyMigration::hasSavedShortcuts(defaults));
    const auto result = migrate();
    EXPECT_EQ(result.notes.front(), "Imported 1 shortcut: Store (⌘K4)");
    EXPECT_EQ(result.settings.grid, (GridSize{3, 2}));
    EXPECT_EQ(DivvyMigration::activeGlobalShortcuts(defaults).size(), 1U);

    setShortcuts({{"Direct", std::nullopt}});
    EXPECT_EQ(migrate().notes.front(), "Imported 1 shortcut: Direct (no key)");
    EXPECT_EQ(migrate().settings.grid, (GridSize{9, 9}));
}

TEST(DivvyMigrationRunningTest, FindsOnlyALiveDivvyOfEitherEdition) {
    ManualScheduler scheduler;
    sim::SimDesktop desktop;
    sim::SimWorkspace workspace{desktop, scheduler};
    EXPECT_EQ(DivvyMigration::runningInstance(workspace), std::nullopt);
    workspace.launch({.pid = 10, .bundleIdentifier = "org.example.Other"});
    workspace.launch({.pid = 11,
                      .bundleIdentifier = std::string{DivvyMigration::bundleID},
                      .isTerminated = true});
    workspace.launch({.pid = 12,
                      .bundleIdentifier = std::string{DivvyMigration::bundleID},
                      .processExists = false});
    EXPECT_EQ(DivvyMigration::runningInstance(workspace), std::nullopt);
    workspace.launch(
        {.pid = 13, .bundleIdentifier = std::string{DivvyMigration::appStoreBundleID}});
    const auto running = DivvyMigration::runningInstance(workspace);
    ASSERT_TRUE(running.has_value());
    EXPECT_EQ(running->processIdentifier, 13);
}

}  // namespace
}  // namespace tilewise
