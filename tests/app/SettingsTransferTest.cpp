#include "app/SettingsTransfer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/SettingsStore.h"
#include "core/SettingsCoder.h"
#include "platform/ManualScheduler.h"
#include "tests/support/Files.h"

namespace tilewise {
namespace {

class SettingsTransferTest : public ::testing::Test {
  protected:
    SettingsTransferTest() {
        auto settings = TilewiseSettings::defaults();
        settings.grid = {8, 3};
        settings.keepPanelOpen = true;
        store.setSettings(settings);
        scheduler.runUntilIdle();
    }

    std::filesystem::path file(const char* name) const { return directory.path() / name; }

    TemporaryDirectory directory;
    ManualScheduler scheduler;
    SettingsStore store{directory.path() / "settings.json", scheduler};
};

TEST_F(SettingsTransferTest, ExportedSettingsImportBackUnchanged) {
    const auto exported = file("Tilewise Settings.json");
    EXPECT_EQ(SettingsTransfer::exportSettings(store.settings(), exported),
              "Exported to Tilewise Settings.json.");
    const auto original = store.settings();
    store.setSettings(TilewiseSettings::defaults());
    EXPECT_EQ(SettingsTransfer::importSettings(store, exported),
              "Imported Tilewise Settings.json.");
    EXPECT_EQ(store.settings(), original);
    EXPECT_EQ(scheduler.pendingCount(), 0u) << "an import is saved at once";
    EXPECT_EQ(SettingsCoder::decode(readFileBytes(store.fileURL())), original);
}

TEST_F(SettingsTransferTest, AnExportThatCannotBeWrittenSaysSoAndChangesNothing) {
    const auto before = store.settings();
    const auto message =
        SettingsTransfer::exportSettings(before, file("missing-folder") / "out.json");
    EXPECT_TRUE(message.starts_with("Export failed: ")) << message;
    EXPECT_EQ(store.settings(), before);
}

struct BadImport {
    const char* name;
    std::string content;  // empty: the path is a folder
};

class SettingsTransferBadImportTest : public SettingsTransferTest,
                                      public ::testing::WithParamInterface<BadImport> {};

TEST_P(SettingsTransferBadImportTest, ReplacesNothing) {
    const auto path = file(GetParam().name);
    if (GetParam().content.empty()) {
        std::filesystem::create_directory(path);
    } else {
        ASSERT_TRUE(writeFileBytes(path, GetParam().content));
    }
    const auto before = store.settings();
    const auto fileBefore = readFileBytes(store.fileURL());
    const auto message = SettingsTransfer::importSettings(store, path);
    EXPECT_TRUE(message.starts_with("Import failed: ")) << message;
    EXPECT_GT(message.size(), std::string_view{"Import failed: "}.size());
    EXPECT_EQ(store.settings(), before);
    EXPECT_EQ(readFileBytes(store.fileURL()), fileBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsTransferBadImportTest,
    ::testing::Values(BadImport{"not-json.json", "this is not JSON"},
                      BadImport{"bad-grid.json", R"({"schemaVersion": 1, "grid": {"columns": 0,
                                                      "rows": 4}})"},
                      BadImport{"future.json", R"({"schemaVersion": 99})"},
                      BadImport{"too-large.json", std::string(17 * 1024 * 1024, ' ')},
                      BadImport{"a-folder.json", ""}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::erase_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
        return name;
    });

}  // namespace
}  // namespace tilewise
