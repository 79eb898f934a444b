#include "cli/ImportDivvyCommand.h"

#include <sys/stat.h>

#include <cstdlib>
#include <sstream>

#include <gtest/gtest.h>

#include "core/SettingsCoder.h"
#include "tests/cli/CommandLineRun.h"
#include "tests/support/DivvyArchive.h"
#include "tests/support/Files.h"

namespace tilewise {
namespace {

namespace fs = std::filesystem;

std::string andrewsPreferences() {
    return (test::divvySamples() / "andrewscwei-macos-config_com.mizage.direct.Divvy.plist")
        .string();
}

// A Divvy preferences file with one shortcut named `name` on a grid of `columns` columns.
std::string preferencesFile(const std::string& name, std::int64_t columns) {
    const auto bytes = test::divvyArchive({{.name = name, .columns = columns}});
    const auto file = test::toBinary(test::dictionaryOf(
        "shortcuts",
        test::Node{plist_new_data(reinterpret_cast<const char*>(bytes.data()), bytes.size())},
        "lastColumnCount", test::integer(3), "lastRowCount", test::integer(2)));
    return {file.begin(), file.end()};
}

class ImportDivvyCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        preferences = fs::path{std::getenv("XDG_CONFIG_HOME")} / "Tilewise" / "Preferences";
        fs::remove_all(preferences);
        settingsFile = fs::path{std::getenv("XDG_CONFIG_HOME")} / "import-test-settings.json";
        fs::remove(settingsFile);
    }
    void TearDown() override { fs::remove_all(preferences); }

    CommandRun importDivvy(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "import-divvy");
        arguments.insert(arguments.end(), {"-TilewiseSettingsPath", settingsFile.string()});
        return runTilewise(arguments);
    }
    std::optional<TilewiseSettings> savedSettings() const {
        const auto bytes = readFileBytes(settingsFile);
        const auto settings = SettingsCoder::decode(bytes);
        return settings ? std::optional{*settings} : std::nullopt;
    }

    fs::path preferences;
    fs::path settingsFile;
};

TEST_F(ImportDivvyCommandTest, DryRunPrintsTheNotesAndLayoutsAndWritesNothing) {
    TILEWISE_REQUIRE_DIVVY_SAMPLES();
    const auto run = importDivvy({"--dry-run", "--from", andrewsPreferences()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(
        run.out,
        "Imported 1 shortcut: First Quarter (Ctrl+Shift+1)\n\n"
        "Grid 6×6, margins off, animations on, preview on.\n\n"
        "Divvy's own panel shortcut is not imported; set one in Tilewise if you use it.\n\n"
        "Layouts after the import (nothing was written):\n"
        "  “First Quarter”: grid 8×4, columns 0–1, rows 0–3, Ctrl+Shift+1 (global, enabled)\n");
    EXPECT_FALSE(fs::exists(settingsFile));
}

TEST_F(ImportDivvyCommandTest, ABareArchiveStandsForTheWholeDomain) {
    TILEWISE_REQUIRE_DIVVY_SAMPLES();
    const auto archive =
        test::divvySamples() / "matthewmcvickar-setup" / "20140711-125949-9d17061a.archive.bplist";
    const auto run = importDivvy({"--dry-run", "--from", archive.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.starts_with("Imported 9 shortcuts: Full Screen (Alt+F10), ")) << run.out;
    EXPECT_NE(run.out.find("  “Writing”: grid 20×20, columns 5–14, rows 0–19, Ctrl+Alt+Super+F10"),
              std::string::npos)
        << run.out;
}

TEST_F(ImportDivvyCommandTest, MergesTheAppStoreEditionsPreferencesIntoTheSettingsFile) {
    fs::create_directories(preferences);
    ASSERT_TRUE(
        writeFileBytes(preferences / "com.mizage.Divvy.plist", preferencesFile("Store", 4)));
    auto mine = TilewiseSettings::defaults();
    mine.layouts.push_back({Uuid::random(), "Mine", true, true, std::nullopt, GridSize{2, 2},
                            CellSelection{0, 0, 0, 0}});
    ASSERT_TRUE(writeFileBytes(settingsFile, SettingsCoder::encode(mine).value()));
    for (int run = 0; run < 2; ++run) {
        const auto imported = importDivvy({});
        EXPECT_EQ(imported.status, 0) << imported.err;
        EXPECT_EQ(imported.out.substr(0, imported.out.find('\n')),
                  "Imported 1 shortcut: Store (no key)");
    }
    const auto settings = savedSettings();
    ASSERT_TRUE(settings.has_value());
    EXPECT_EQ(settings->grid, (GridSize{3, 2}));
    ASSERT_EQ(settings->layouts.size(), 2U) << "the second import replaced the first";
    EXPECT_EQ(settings->layouts[0], mine.layouts[0]);
    EXPECT_EQ(settings->layouts[1].name, "Store");
}

TEST_F(ImportDivvyCommandTest, AnUnreadableArchiveFailsAndLeavesTheSettingsAlone) {
    TILEWISE_REQUIRE_DIVVY_SAMPLES();
    ASSERT_EQ(importDivvy({"--from", andrewsPreferences()}).status, 0);
    const auto before = readFileBytes(settingsFile);
    fs::create_directories(preferences);
    const auto broken = preferences / "broken.plist";
    ASSERT_TRUE(writeFileBytes(broken, preferencesFile("Zero columns", 0)));
    const auto run = importDivvy({"--from", broken.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "Divvy's shortcuts could not be read (unexpectedContents). You can recreate them "
              "in Preferences › Layouts.\n");
    EXPECT_EQ(readFileBytes(settingsFile), before);
}

TEST_F(ImportDivvyCommandTest, WhatIsNoPreferencesFileIsRefusedWithASentence) {
    fs::create_directories(preferences);
    const auto text = preferences / "notes.txt";
    ASSERT_TRUE(writeFileBytes(text, "just some words"));
    const auto fifo = preferences / "fifo.plist";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const auto& [from, problem] : {std::pair{text, "is not a property list"},
                                        {preferences, "is not a regular file"},
                                        {fifo, "is not a regular file"}}) {
        const auto run = importDivvy({"--from", from.string()});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "tilewise: “" + from.string() + "” " + problem + "\n");
    }
    EXPECT_EQ(importDivvy({"--from", (preferences / "missing.plist").string()}).status, 1);
    EXPECT_FALSE(fs::exists(settingsFile));
}

TEST_F(ImportDivvyCommandTest, DryRunWritesNoBackupOfARejectedFile) {
    fs::create_directories(preferences);
    ASSERT_TRUE(
        writeFileBytes(preferences / "com.mizage.direct.Divvy.plist", preferencesFile("Left", 4)));
    ASSERT_TRUE(writeFileBytes(settingsFile, "not json"));
    const auto run = importDivvy({"--dry-run"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.starts_with("tilewise: the settings file “" + settingsFile.string() +
                                    "” cannot be used; the import starts from the defaults. "))
        << run.err;
    EXPECT_FALSE(fs::exists(settingsFile.parent_path() / "import-test-settings.invalid.json"));
    EXPECT_EQ(readFileBytes(settingsFile), "not json");
}

TEST_F(ImportDivvyCommandTest, NamesThatAreNotUtf8AreRepairedAndNoted) {
    fs::create_directories(preferences);
    // Binary property lists keep ASCII strings as raw bytes: the stray byte goes in afterwards.
    auto file = preferencesFile("Left ~ half", 4);
    file.replace(file.find("Left ~ half"), 11, "Left \xFF half");
    ASSERT_TRUE(writeFileBytes(preferences / "com.mizage.direct.Divvy.plist", file));
    const auto run = importDivvy({});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.starts_with("Imported 1 shortcut: Left \uFFFD half (no key)")) << run.out;
    EXPECT_TRUE(
        run.out.ends_with("The name of 1 shortcut held bytes that are not UTF-8; each was "
                          "replaced with “\uFFFD”.\n"))
        << run.out;
    const auto settings = savedSettings();
    ASSERT_TRUE(settings.has_value());
    EXPECT_EQ(settings->layouts.front().name, "Left \uFFFD half");
}

TEST_F(ImportDivvyCommandTest, WithoutDivvyPreferencesTheNotesSaySo) {
    const auto run = importDivvy({"--dry-run"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "Divvy has no saved shortcuts.");
}

TEST_F(ImportDivvyCommandTest, UnknownArgumentsAreAUsageError) {
    EXPECT_EQ(importDivvy({"--frobnicate"}).status, 2);
    EXPECT_EQ(importDivvy({"--from"}).status, 2);
}

}  // namespace
}  // namespace tilewise
