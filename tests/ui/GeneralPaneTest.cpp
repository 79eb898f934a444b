#include "ui/preferences/GeneralPane.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "tests/ui/PreferencesFixture.h"
#include "ui/preferences/RecorderButton.h"
#include "ui/preferences/StatusText.h"

namespace tilewise {
namespace {

class GeneralPaneTest : public PreferencesFixture {
  protected:
    void open() {
        pane = std::make_unique<GeneralPane>(context);
        pane->show();
        writes.clear();
    }
    QCheckBox* box(const char* name) { return find<QCheckBox>(*pane, name); }
    QLabel* label(const char* name) { return find<QLabel>(*pane, name); }

    std::unique_ptr<GeneralPane> pane;
};

struct ToggleCase {
    const char* objectName;
    bool TilewiseSettings::*field;
};

class GeneralPaneToggleTest : public GeneralPaneTest,
                              public ::testing::WithParamInterface<ToggleCase> {};

TEST_P(GeneralPaneToggleTest, EachToggleWritesItsSettingAndFollowsIt) {
    open();
    auto* control = box(GetParam().objectName);
    const bool before = store.settings().*GetParam().field;
    EXPECT_EQ(control->isChecked(), before);
    toggle(control);
    EXPECT_EQ(store.settings().*GetParam().field, !before);
    EXPECT_EQ(writes.size(), 1u);
    changeSettings([&](TilewiseSettings& settings) { settings.*GetParam().field = before; });
    EXPECT_EQ(control->isChecked(), before);
    control->toggle();  // the accessibility tree's Toggle action
    EXPECT_EQ(store.settings().*GetParam().field, !before);
}

INSTANTIATE_TEST_SUITE_P(
    Toggles, GeneralPaneToggleTest,
    ::testing::Values(ToggleCase{"showMenuBarIcon", &TilewiseSettings::showMenuBarIcon},
                      ToggleCase{"panelShortcutEnabled", &TilewiseSettings::panelShortcutEnabled},
                      ToggleCase{"keepPanelOpen", &TilewiseSettings::keepPanelOpen},
                      ToggleCase{"selectOnScreen", &TilewiseSettings::selectOnScreen},
                      ToggleCase{"animationsEnabled", &TilewiseSettings::animationsEnabled},
                      ToggleCase{"showResizePreview", &TilewiseSettings::showResizePreview},
                      ToggleCase{"monitorCycling", &TilewiseSettings::monitorCycling}),
    [](const auto& info) { return std::string{info.param.objectName}; });

TEST_F(GeneralPaneTest, ThePanelShortcutRowIsDisabledWithItsToggleAndShowsItsStatus) {
    changeSettings([](TilewiseSettings& settings) {
        settings.panelShortcutEnabled = true;
        settings.panelShortcut = KeyCombo{49, Modifiers::option};
    });
    publishStatuses({.panelShortcutStatus = HotKeyService::Status::Kind::conflict});
    open();
    auto* recorder = find<RecorderButton>(*pane, "recorderButton");
    auto* status = find<StatusText>(*pane, "panelShortcutStatus");
    EXPECT_TRUE(recorder->isEnabled());
    EXPECT_EQ(status->text(), "In use by another app or another Tilewise shortcut");
    toggle(box("panelShortcutEnabled"));
    EXPECT_FALSE(recorder->isEnabled());
    EXPECT_FALSE(status->text().isEmpty()) << "until the coordinator clears the status";
    publishStatuses({});
    EXPECT_TRUE(status->text().isEmpty());
}

TEST_F(GeneralPaneTest, CaptionsFollowTheirSwitchesAtOnce) {
    changeSettings([](TilewiseSettings& settings) { settings.selectOnScreen = false; });
    open();
    EXPECT_TRUE(label("selectOnScreenCaption")->isHidden());
    toggle(box("selectOnScreen"));
    EXPECT_FALSE(label("selectOnScreenCaption")->isHidden());
    EXPECT_TRUE(label("hiddenIconCaption")->isHidden());
    toggle(box("showMenuBarIcon"));
    EXPECT_FALSE(label("hiddenIconCaption")->isHidden());
}

TEST_F(GeneralPaneTest, ThePlacementPickerWritesTheChoice) {
    open();
    auto* picker = find<QComboBox>(*pane, "panelPlacement");
    ASSERT_EQ(picker->count(), 2);
    EXPECT_EQ(picker->itemText(0), "Display under the pointer (like Divvy)");
    EXPECT_EQ(picker->itemText(1), "Display with the window");
    picker->setCurrentIndex(1);
    emit picker->activated(1);
    EXPECT_EQ(store.settings().panelPlacement, PanelPlacement::displayWithTargetWindow);
}

TEST_F(GeneralPaneTest, TheTrustRowOffersAccessOnlyWhileNotTrusted) {
    desktop.setTrusted(false);
    permission.refresh();
    open();
    auto* grant = find<QPushButton>(*pane, "grantAccess");
    EXPECT_FALSE(grant->isHidden());
    EXPECT_TRUE(label("trustState")->text().contains("Accessibility access needed"));
    QTest::mouseClick(grant, Qt::LeftButton);
    EXPECT_EQ(onboardingRequests, 1);
    desktop.setTrusted(true);
    permission.refresh();
    EXPECT_TRUE(grant->isHidden());
    EXPECT_TRUE(label("trustState")->text().contains("Accessibility access granted"));
}

TEST_F(GeneralPaneTest, LaunchAtLoginShowsTheRealStateOfTheLoginItem) {
    loginItem.setRequiresApproval(true);
    open();
    toggle(box("launchAtLogin"));
    EXPECT_FALSE(box("launchAtLogin")->isChecked()) << "awaiting approval is not enabled";
    EXPECT_EQ(label("launchError")->text(), QString::fromUtf8(LaunchAtLogin::kApprovalSentence));
    EXPECT_FALSE(store.settings().launchAtLogin);

    loginItem.setRequiresApproval(false);
    loginItem.failNextChange("Read-only file system");
    toggle(box("launchAtLogin"));
    EXPECT_FALSE(box("launchAtLogin")->isChecked());
    EXPECT_TRUE(label("launchError")
                    ->text()
                    .startsWith("Couldn't change the login item: Read-only file system "));

    toggle(box("launchAtLogin"));
    EXPECT_TRUE(box("launchAtLogin")->isChecked());
    EXPECT_TRUE(label("launchError")->isHidden());
    EXPECT_TRUE(store.settings().launchAtLogin);
}

}  // namespace
}  // namespace tilewise
