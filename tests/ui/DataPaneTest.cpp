#include "ui/preferences/DataPane.h"

#include <QLabel>
#include <QPushButton>

#include "core/DivvyImport.h"
#include "core/SettingsCoder.h"
#include "tests/ui/PreferencesFixture.h"

namespace tilewise {
namespace {

class DataPaneTest : public PreferencesFixture {
  protected:
    DataPaneTest() {
        changeSettings([](TilewiseSettings& settings) { settings.grid = {9, 2}; });
        pane = std::make_unique<DataPane>(context);
        pane->setDialogs({
            .chooseExportFile = [this] { return exportChoice; },
            .chooseImportFile = [this] { return importChoice; },
        });
        pane->show();
        writes.clear();
    }

    void click(const char* name) {
        QTest::mouseClick(find<QPushButton>(*pane, name), Qt::LeftButton);
    }

    std::optional<std::filesystem::path> exportChoice;
    std::optional<std::filesystem::path> importChoice;
    std::unique_ptr<DataPane> pane;
};

TEST_F(DataPaneTest, ExportThenImportRoundTripsTheSettings) {
    exportChoice = directory.path() / "Tilewise Settings.json";
    click("exportSettings");
    EXPECT_EQ(pane->message(), "Exported to Tilewise Settings.json.");
    const auto exported = store.settings();
    changeSettings([](TilewiseSettings& settings) { settings.grid = {3, 3}; });
    importChoice = exportChoice;
    click("importSettings");
    EXPECT_EQ(pane->message(), "Imported Tilewise Settings.json.");
    EXPECT_EQ(store.settings(), exported);
    EXPECT_EQ(SettingsCoder::decode(readFileBytes(store.fileURL())), exported) << "saved at once";
}

TEST_F(DataPaneTest, AnInvalidImportSaysWhyAndLeavesTheSettingsUntouched) {
    importChoice = directory.path() / "broken.json";
    ASSERT_TRUE(writeFileBytes(*importChoice, R"({"schemaVersion": 1, "grid": {"columns": 99,
                                                  "rows": 2}})"));
    const auto before = store.settings();
    click("importSettings");
    EXPECT_TRUE(pane->message().startsWith("Import failed: ")) << pane->message().toStdString();
    EXPECT_GT(pane->message().size(), QString("Import failed: ").size());
    EXPECT_EQ(store.settings(), before);
    EXPECT_TRUE(writes.empty());
}

TEST_F(DataPaneTest, CancellingEitherDialogChangesNothing) {
    exportChoice = directory.path() / "first.json";
    click("exportSettings");
    const auto message = pane->message();
    exportChoice.reset();
    click("exportSettings");
    click("importSettings");
    EXPECT_EQ(pane->message(), message);
    EXPECT_TRUE(writes.empty());
}

TEST_F(DataPaneTest, TheDivvyButtonIsEnabledOnlyWhileDivvyHasSavedShortcuts) {
    auto* divvy = find<QPushButton>(*pane, "importFromDivvy");
    EXPECT_FALSE(divvy->isEnabled());
    userDefaults.set(DivvyImport::defaultsDomain, DivvyImport::shortcutsKey, PropertyData{1, 2, 3});
    changeSettings([](TilewiseSettings& settings) { settings.keepPanelOpen = true; });
    EXPECT_TRUE(divvy->isEnabled());
    click("importFromDivvy");
    EXPECT_EQ(divvyImports, 1);
}

TEST_F(DataPaneTest, TheStoresLoadProblemComesFirst) {
    EXPECT_TRUE(find<QLabel>(*pane, "loadProblem")->isHidden());
    const auto file = directory.path() / "rejected" / "settings.json";
    std::filesystem::create_directories(file.parent_path());
    ASSERT_TRUE(writeFileBytes(file, "{ not json"));
    SettingsStore rejected(file, scheduler);
    ASSERT_TRUE(rejected.loadProblem().has_value());
    PreferencesContext rejectedContext{.store = rejected,
                                       .permission = permission,
                                       .loginItem = loginItem,
                                       .keyboardLayout = keyboardLayout,
                                       .texts = PlatformTexts::forBackend("sim"),
                                       .userDefaults = userDefaults};
    DataPane shown(rejectedContext);
    auto* problem = find<QLabel>(shown, "loadProblem");
    EXPECT_FALSE(problem->isHidden());
    EXPECT_EQ(problem->text().toStdString(), *rejected.loadProblem());
}

}  // namespace
}  // namespace tilewise
