#include "platform/x11/XdgLoginItem.h"

#include <cstdlib>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/ApplicationIdentity.h"
#include "tests/support/Files.h"

namespace tilewise {
namespace {

namespace fs = std::filesystem;
using x11::XdgLoginItem;

// The keys of a desktop entry's main group.
std::map<std::string, std::string> entryKeys(const std::string& content) {
    std::map<std::string, std::string> keys;
    std::istringstream lines{content};
    bool inEntryGroup = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with('['))
            inEntryGroup = line == "[Desktop Entry]";
        else if (const auto equals = line.find('='); inEntryGroup && equals != std::string::npos)
            keys[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return keys;
}

class XdgLoginItemTest : public ::testing::Test {
  protected:
    ~XdgLoginItemTest() override { fs::remove_all(entry.parent_path()); }

    const fs::path entry =
        fs::path{std::getenv("XDG_CONFIG_HOME")} / "autostart" / kDesktopEntryFileName;
};

TEST_F(XdgLoginItemTest, RegisteringWritesAnAutostartEntryThatRunsTheProgram) {
    EXPECT_EQ(XdgLoginItem::standardEntryFile(), entry);
    XdgLoginItem item{"/usr/bin/tilewise"};
    EXPECT_EQ(item.status(), LoginItemStatus::notRegistered);
    ASSERT_TRUE(item.registerItem().has_value());
    EXPECT_EQ(item.status(), LoginItemStatus::enabled);
    EXPECT_TRUE(readFileBytes(entry).starts_with("[Desktop Entry]\n"));
    EXPECT_EQ(entryKeys(readFileBytes(entry))["Exec"], "/usr/bin/tilewise");
    EXPECT_EQ(entryKeys(readFileBytes(entry))["Type"], "Application");

    ASSERT_TRUE(item.unregisterItem().has_value());
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_EQ(item.status(), LoginItemStatus::notRegistered);
    EXPECT_TRUE(item.unregisterItem().has_value()) << "nothing to remove is no failure";
}

TEST_F(XdgLoginItemTest, TheAutostartEntryIsAValidEntryNamedAndPicturedAsTheInstalledOne) {
    ASSERT_TRUE(XdgLoginItem{"/usr/bin/tilewise"}.registerItem().has_value());
    EXPECT_EQ(entry.filename(), fs::path{TILEWISE_DESKTOP_ENTRY}.filename());
    auto autostart = entryKeys(readFileBytes(entry));
    auto installed = entryKeys(readFileBytes(TILEWISE_DESKTOP_ENTRY));
    for (const char* key : {"Type", "Name", "Comment", "Icon", "Terminal"}) {
        EXPECT_EQ(autostart[key], installed[key]) << key;
    }
    const std::string validate = "desktop-file-validate '" + entry.string() + "'";
    EXPECT_EQ(std::system(validate.c_str()), 0) << validate;
}

TEST_F(XdgLoginItemTest, APathWithSpacesAndShellCharactersIsQuotedForTheDesktop) {
    XdgLoginItem item{"/opt/My Tools/tile$wise\\50%"};
    ASSERT_TRUE(item.registerItem().has_value());
    // Quoted as one argument ($ and \ escaped), then \ doubled and % doubled for the file.
    EXPECT_EQ(entryKeys(readFileBytes(entry))["Exec"], R"("/opt/My Tools/tile\\$wise\\\\50%%")");
}

TEST_F(XdgLoginItemTest, AnEntryTheDesktopSwitchedOffIsNotRegisteredUntilRegisteredAgain) {
    XdgLoginItem item{"/usr/bin/tilewise"};
    fs::create_directories(entry.parent_path());
    for (const char* switchOff : {"Hidden=true", "X-GNOME-Autostart-enabled = false"}) {
        ASSERT_TRUE(writeFileBytes(
            entry, std::string("[Desktop Entry]\nExec=tilewise\n") + switchOff + "\n"));
        EXPECT_EQ(item.status(), LoginItemStatus::notRegistered) << switchOff;
        ASSERT_TRUE(item.registerItem().has_value());
        EXPECT_EQ(item.status(), LoginItemStatus::enabled) << switchOff;
    }
}

TEST_F(XdgLoginItemTest, AFailureIsASentenceNamingThePlace) {
    // The autostart folder's place is taken by a file, so nothing can be written there.
    fs::create_directories(entry.parent_path().parent_path());
    ASSERT_TRUE(writeFileBytes(entry.parent_path(), "not a folder"));
    XdgLoginItem item{"/usr/bin/tilewise"};
    const auto result = item.registerItem();
    ASSERT_FALSE(result.has_value());
    EXPECT_NE(result.error().find("“" + entry.parent_path().string() + "”"), std::string::npos)
        << result.error();
    EXPECT_EQ(item.status(), LoginItemStatus::notRegistered);
    fs::remove(entry.parent_path());
}

}  // namespace
}  // namespace tilewise
