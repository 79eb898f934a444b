#include "cli/CheckSettingsCommand.h"

#include <sys/stat.h>

#include <sstream>

#include <gtest/gtest.h>

#include "tests/cli/CommandLineRun.h"
#include "tests/support/Files.h"

namespace tilewise {
namespace {

CommandRun checkSettings(const std::vector<std::string>& arguments) {
    std::vector<std::string> commandLine{"check-settings"};
    commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
    return runTilewise(commandLine);
}

std::string sample(std::string_view name) {
    return testDataPath("settings/" + std::string(name)).string();
}

TEST(CheckSettingsCommandTest, LoadableFilePrintsOkAndItsWarnings) {
    EXPECT_EQ(checkSettings({sample("full.json")}).out, "OK\n");
    const auto run = checkSettings({sample("duplicate-shortcuts.json")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "OK\n"
              "Global shortcut for “Plain” needs a modifier key.\n"
              "⌘A is assigned to more than one layout: Left, Right.\n");
    EXPECT_EQ(run.err, "");
}

TEST(CheckSettingsCommandTest, RejectedFilePrintsTheReasonAndFails) {
    const auto run = checkSettings({sample("invalid-grid-and-layout.json")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "The grid must have between 1 and 30 rows and columns.\n"
              "Layout “Too wide” has a selection outside its grid.\n");
    const auto unreadable = checkSettings({sample("unreadable-missing-rows.json")});
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_EQ(unreadable.err, "The settings file could not be read: grid.rows: key is missing\n");
}

TEST(CheckSettingsCommandTest, ContentAfterTheDocumentOrAFifoIsRefusedAtOnce) {
    const TemporaryDirectory directory;
    const auto trailing = directory.path() / "trailing.json";
    ASSERT_TRUE(writeFileBytes(trailing, std::string("{}\0garbage", 10)));
    const auto run = checkSettings({trailing.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "The settings file could not be read: byte 2 is a NUL byte, which no JSON document "
              "holds\n");
    const auto fifo = directory.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto fromFifo = checkSettings({fifo.string()});
    EXPECT_EQ(fromFifo.status, 1);
    EXPECT_NE(fromFifo.err.find("is not a regular file"), std::string::npos) << fromFifo.err;
}

TEST(CheckSettingsCommandTest, MissingFileOrArgumentFails) {
    const auto missing = checkSettings({sample("no-such-file.json")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos) << missing.err;
    EXPECT_EQ(checkSettings({}).status, 2);
    EXPECT_EQ(checkSettings({"a.json", "b.json"}).status, 2);
}

}  // namespace
}  // namespace tilewise
