#include "platform/PreferenceFiles.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "tests/support/Files.h"
#include "tests/support/LogCapture.h"
#include "tests/support/PlistBuilders.h"

namespace tilewise {
namespace {

namespace fs = std::filesystem;

class PreferenceFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::path{std::getenv("XDG_CONFIG_HOME")} / "preference-files-test";
        fs::remove_all(root);
        first = root / "first";
        second = root / "second";
        fs::create_directories(first);
        fs::create_directories(second);
    }
    void TearDown() override { fs::remove_all(root); }

    static void write(const fs::path& file, const test::Node& plist) {
        const auto bytes = test::toBinary(plist);
        ASSERT_TRUE(writeFileBytes(file, std::string(bytes.begin(), bytes.end())));
    }
    fs::path root;
    fs::path first;
    fs::path second;
};

TEST_F(PreferenceFilesTest, TheFirstDirectoryHoldingTheDomainWins) {
    write(second / "org.example.App.plist", test::dictionaryOf("count", test::integer(2)));
    PreferenceFiles files{{first, second}};
    EXPECT_EQ(files.value("org.example.App", "count"), PropertyValue{std::int64_t{2}});
    write(first / "org.example.App.plist", test::dictionaryOf("count", test::integer(1)));
    EXPECT_EQ(files.value("org.example.App", "count"), PropertyValue{std::int64_t{1}});
    EXPECT_EQ(files.value("org.example.App", "missing"), std::nullopt);
    EXPECT_EQ(files.value("org.example.Other", "count"), std::nullopt);
    EXPECT_EQ(files.value("count"), std::nullopt);
}

TEST_F(PreferenceFilesTest, KeepsTheTypesAPropertyValueCanHold) {
    write(first / "typed.plist",
          test::dictionaryOf("flag", test::boolean(true), "ratio", test::real(0.5), "name",
                             test::string("Divvy"), "blob", test::Node{plist_new_data("ab", 2)},
                             "when", test::Node{plist_new_date(1000, 0)}, "list", test::arrayOf()));
    const auto domain = PreferenceFiles::readDomain(first / "typed.plist");
    ASSERT_TRUE(domain.has_value()) << domain.error();
    EXPECT_EQ(domain->at("flag"), PropertyValue{true});
    EXPECT_EQ(domain->at("ratio"), PropertyValue{0.5});
    EXPECT_EQ(domain->at("name"), PropertyValue{std::string{"Divvy"}});
    EXPECT_EQ(domain->at("blob"), (PropertyValue{PropertyData{'a', 'b'}}));
    EXPECT_FALSE(domain->contains("when"));
    EXPECT_FALSE(domain->contains("list"));
}

TEST_F(PreferenceFilesTest, AnUnreadableDomainIsAbsentAndLogged) {
    ASSERT_TRUE(writeFileBytes(first / "broken.plist", "not a property list"));
    write(first / "array.plist", test::array({}));
    PreferenceFiles files{{first}};
    LogCapture log;
    EXPECT_EQ(files.value("broken", "key"), std::nullopt);
    EXPECT_EQ(files.value("array", "key"), std::nullopt);
    EXPECT_EQ(log.entries().size(), 2U);
    const auto quoted = [](const fs::path& file) { return "“" + file.string() + "”"; };
    EXPECT_EQ(PreferenceFiles::readDomain(first / "array.plist").error(),
              quoted(first / "array.plist") + " holds no dictionary at its top");
    EXPECT_EQ(PreferenceFiles::readDomain(first / "absent.plist").error(),
              "cannot read " + quoted(first / "absent.plist") + ": No such file or directory");
    EXPECT_EQ(PreferenceFiles::readDomain(first).error(), quoted(first) + " is not a regular file");
}

TEST_F(PreferenceFilesTest, ADomainFileReplacesTheSearch) {
    write(first / "org.example.App.plist", test::dictionaryOf("count", test::integer(1)));
    write(second / "elsewhere.plist", test::dictionaryOf("count", test::integer(5)));
    PreferenceFiles files{{first}};
    files.setDomainFile("org.example.App", second / "elsewhere.plist");
    EXPECT_EQ(files.value("org.example.App", "count"), PropertyValue{std::int64_t{5}});
}

TEST_F(PreferenceFilesTest, StandardDirectoriesFollowTheEnvironment) {
    const auto directories = PreferenceFiles::standardDirectories();
    ASSERT_EQ(directories.size(), 2U);
    EXPECT_EQ(directories[0],
              fs::path{std::getenv("XDG_CONFIG_HOME")} / "Tilewise" / "Preferences");
    EXPECT_EQ(directories[1], fs::path{std::getenv("HOME")} / "Library" / "Preferences");
}

}  // namespace
}  // namespace tilewise
