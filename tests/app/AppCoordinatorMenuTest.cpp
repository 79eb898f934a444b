#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/DivvyImportFlow.h"
#include "tests/app/CoordinatorFixture.h"

namespace tilewise {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;
using Kind = HotKeyService::Status::Kind;

// The simulated keyboard's labels and the modifier symbols: "⌃⌥←".
const std::string kLeftLabel = "⌃⌥←";

class AppCoordinatorMenuTest : public CoordinatorFixture {
  protected:
    std::vector<std::string> titles() {
        EXPECT_NE(views.statusItem, nullptr);
        return views.statusItem ? views.statusItem->titles() : std::vector<std::string>{};
    }
};

TEST_F(AppCoordinatorMenuTest, TheMenuListsLayoutsStatusesAndTheFixedItemsInOrder) {
    startWith({layout("Left", kCtrlOptLeft), layout("Bare", KeyCombo{0, Modifiers{}}),
               layout("Off", std::nullopt, {0, 0, 0, 0}, false)});

    EXPECT_THAT(titles(), ElementsAre("Left    " + kLeftLabel,
                                      "Bare    A  — Global shortcuts need a modifier key",
                                      "Off  (off)", "-", "About Tilewise", "Quit Tilewise"));
}

TEST_F(AppCoordinatorMenuTest, ShowGridAndPreferencesAppearOncePluggedIn) {
    startWith({}, [](auto& s) { s.panelShortcut = kCtrlOptG; });
    FakeGridPanel panel;
    coordinator->setGridPanel(&panel);
    int preferencesShown = 0;
    coordinator->setShowPreferences([&] { ++preferencesShown; });
    EXPECT_THAT(titles(),
                ElementsAre("Show Grid", "-", "About Tilewise", "Preferences…", "Quit Tilewise"));

    changeSettings([](auto& s) { s.panelShortcutEnabled = true; });
    EXPECT_EQ(titles().front(), "Show Grid    ⌃⌥G");
    views.statusItem->choose("Preferences…");
    views.statusItem->choose("Show Grid    ⌃⌥G");
    EXPECT_EQ(panel.shows, 0) << "Show Grid waits for the next turn of the main loop";
    settle();
    EXPECT_EQ(panel.shows, 1);
    EXPECT_EQ(preferencesShown, 1);
    press(kCtrlOptG);
    EXPECT_EQ(panel.dismissals, 1) << "the panel shortcut toggles the open panel";
    coordinator->setGridPanel(nullptr);
}

TEST_F(AppCoordinatorMenuTest, ALastProblemIsShownInactiveUntilTheNextExactPlacement) {
    startWith({layout("Left", kCtrlOptLeft)});
    const auto window = frontWindow({.maximumSize = Size{500, 500}});
    views.statusItem->choose("Left    " + kLeftLabel);
    settle();
    const auto& menu = views.statusItem->menu;
    ASSERT_GE(menu.size(), 3u);
    EXPECT_EQ(menu[2].title, "Editor limited the window's size.");
    EXPECT_EQ(menu[2].action, StatusMenuItem::Action::none);

    platform.desktop.modifyWindow(window, [](auto& w) { w.maximumSize.reset(); });
    views.statusItem->choose("Left    " + kLeftLabel);
    settle();
    EXPECT_THAT(titles(), Not(Contains("Editor limited the window's size.")));
    EXPECT_EQ(coordinator->lastProblem(), std::nullopt);
    EXPECT_EQ(platform.workspaceService.beepCount(), 0) << "a limited size is no failure";
}

TEST_F(AppCoordinatorMenuTest, ADisabledLayoutCanStillBeAppliedFromTheMenu) {
    startWith({layout("Off", std::nullopt, {1, 0, 1, 0}, false)});
    const auto window = frontWindow();
    ASSERT_TRUE(views.statusItem->choose("Off  (off)"));
    settle();
    EXPECT_EQ(platform.desktop.window(window)->frame, (Rect{960, 0, 960, 1080}));
}

TEST_F(AppCoordinatorMenuTest, TheIconSwitchRemovesTheItemAndMakesAFreshOne) {
    start();
    changeSettings([](auto& s) { s.showMenuBarIcon = false; });
    EXPECT_EQ(views.statusItem, nullptr);
    changeSettings([](auto& s) { s.showMenuBarIcon = true; });
    EXPECT_EQ(views.statusItemsMade, 2);
    EXPECT_THAT(titles(), ElementsAre("About Tilewise", "Quit Tilewise"));
}

TEST_F(AppCoordinatorMenuTest, PanelOptionsFollowTheSettingsWithoutRegisteringAgain) {
    startWith({layout("Left", kCtrlOptLeft)});
    FakeGridPanel panel;
    coordinator->setGridPanel(&panel);
    const auto passes = log.messages(LogCategory::app, LogLevel::info).size();
    changeSettings([](auto& s) {
        s.keepPanelOpen = true;
        s.animationsEnabled = false;
        s.layouts[0].name = "Renamed";
    });
    EXPECT_TRUE(panel.keepOpen);
    EXPECT_FALSE(panel.fadesOut);
    EXPECT_EQ(log.messages(LogCategory::app, LogLevel::info).size(), passes);
    EXPECT_EQ(titles().at(2), "Renamed    " + kLeftLabel);
    coordinator->setGridPanel(nullptr);
}

TEST_F(AppCoordinatorMenuTest, DivvyPausesItsShortcutsWhileItRunsAndTheMenuSaysSo) {
    divvyHasShortcuts({{.name = "Divvy left", .shortcut = kCtrlOptLeft}});
    const auto left = layout("Left", kCtrlOptLeft);
    startWith({left});
    ASSERT_EQ(statusOf(left), Kind::registered);

    launchDivvy();
    settle();
    EXPECT_EQ(statusOf(left), Kind::deferredForDivvy);
    EXPECT_THAT(titles(), ElementsAre("Left    " + kLeftLabel + "  — Paused while Divvy is running",
                                      "-", "Divvy is running: matching shortcuts paused", "-",
                                      "Import Divvy Settings…", "About Tilewise", "Quit Tilewise"));

    platform.workspaceService.terminate(kDivvyPid);
    settle();
    EXPECT_EQ(statusOf(left), Kind::registered);
    EXPECT_TRUE(platform.hotKeysService.isRegistered(
        {kCtrlOptLeft.keyCode, kCtrlOptLeft.modifiers.carbonFlags()}));
}

TEST_F(AppCoordinatorMenuTest, TheFirstRunImportsDivvyWithoutAskingBeforeTheOnboarding) {
    divvyHasShortcuts({{.name = "Divvy left", .shortcut = kCtrlOptLeft}});
    platform.desktop.setTrusted(false);
    start(std::nullopt);

    ASSERT_EQ(views.alertPresenter.shown.size(), 1u);
    EXPECT_EQ(views.alertPresenter.shown[0].message, DivvyImportFlow::kResultMessage);
    EXPECT_EQ(coordinator->store().settings().layouts.at(0).name, "Divvy left");
    EXPECT_TRUE(std::filesystem::exists(settingsFile())) << "the import is saved at once";
    EXPECT_TRUE(views.onboardingWindow.visible);
}

TEST_F(AppCoordinatorMenuTest, CancellingTheImportChangesNothing) {
    divvyHasShortcuts({{.name = "Divvy left", .shortcut = kCtrlOptLeft}});
    start();
    views.alertPresenter.answers = {1};
    ASSERT_TRUE(views.statusItem->choose("Import Divvy Settings…"));
    EXPECT_EQ(views.alertPresenter.shown.size(), 1u);
    EXPECT_TRUE(coordinator->store().settings().layouts.empty());

    views.alertPresenter.answers = {0};
    views.statusItem->choose("Import Divvy Settings…");
    ASSERT_EQ(views.alertPresenter.shown.size(), 3u);
    EXPECT_EQ(views.alertPresenter.shown[2].message, DivvyImportFlow::kResultMessage);
    EXPECT_EQ(coordinator->store().settings().layouts.size(), 1u);
}

TEST_F(AppCoordinatorMenuTest, OnboardingFollowsTrustAndClosesOnceGranted) {
    platform.desktop.setTrusted(false);
    start();
    EXPECT_TRUE(views.onboardingWindow.visible);
    EXPECT_EQ(views.onboardingWindow.trusted, false);
    EXPECT_THAT(titles(), Contains("Accessibility Access Needed…"));

    platform.desktop.setTrusted(true);
    scheduler.advance(AccessibilityPermission::kPollInterval);
    EXPECT_FALSE(views.onboardingWindow.visible);
    EXPECT_EQ(views.onboardingWindow.trusted, true);
    EXPECT_THAT(titles(), Not(Contains("Accessibility Access Needed…")));
}

TEST_F(AppCoordinatorMenuTest, ABrokenSettingsFileStartsWithDefaultsAndShowsWhy) {
    writeFileBytes(settingsFile(), "{ not json");
    start(std::nullopt);
    ASSERT_TRUE(coordinator->lastProblem());
    EXPECT_EQ(titles().at(0), *coordinator->lastProblem());
    EXPECT_TRUE(std::filesystem::exists(directory.path() / "settings.invalid.json"));
    EXPECT_EQ(platform.workspaceService.beepCount(), 0);
}

TEST_F(AppCoordinatorMenuTest, AboutAndQuitReachTheirViews) {
    start();
    bool quit = false;
    coordinator->onQuit = [&] { quit = true; };
    views.statusItem->choose("About Tilewise");
    views.statusItem->choose("Quit Tilewise");
    EXPECT_EQ(views.alertPresenter.credits, AppCoordinator::kAboutCredits);
    EXPECT_TRUE(quit);
}

TEST_F(AppCoordinatorMenuTest, TerminatingWritesAPendingChange) {
    start();
    changeSettings([](auto& s) { s.keepPanelOpen = true; });
    coordinator->terminate();
    const auto saved = SettingsCoder::decode(readFileBytes(settingsFile()));
    ASSERT_TRUE(saved);
    EXPECT_TRUE(saved->keepPanelOpen);
}

}  // namespace
}  // namespace tilewise
