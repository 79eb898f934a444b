#include "app/Files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/Files.h"

namespace tilewise {
namespace {

namespace fs = std::filesystem;

class FilesTest : public testing::Test {
  protected:
    TemporaryDirectory temporary_;
    const fs::path& directory_ = temporary_.path();
};

TEST_F(FilesTest, ReadRefusesWhatIsNotASmallRegularFile) {
    const auto fifo = directory_ / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const fs::path& path : {fs::path("/dev/zero"), fifo, directory_}) {
        const auto read = Files::readAll(path);
        ASSERT_FALSE(read) << path;
        EXPECT_NE(read.error().find("not a regular file"), std::string::npos) << read.error();
    }
    const auto large = directory_ / "large.json";
    ASSERT_TRUE(writeFileBytes(large, "{}"));
    fs::resize_file(large, Files::kMaximumReadSize + 1);
    EXPECT_FALSE(Files::readAll(large));
    fs::resize_file(large, Files::kMaximumReadSize);
    EXPECT_EQ(Files::readAll(large).value_or("").size(), Files::kMaximumReadSize);
}

TEST_F(FilesTest, ReplacementKeepsThePermissionsOfTheReplacedFile) {
    const auto file = directory_ / "settings.json";
    ASSERT_TRUE(writeFileBytes(file, "old"));
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(Files::writeAtomically(file, "new"));
    EXPECT_EQ(readFileBytes(file), "new");
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(FilesTest, FailedReplacementNamesTheDirectoryAndLeavesNothingBehind) {
    const auto missing = directory_ / "absent" / "settings.json";
    const auto written = Files::writeAtomically(missing, "new");
    ASSERT_FALSE(written);
    EXPECT_NE(written.error().find((directory_ / "absent").string()), std::string::npos)
        << written.error();
    EXPECT_TRUE(fs::is_empty(directory_));
}

}  // namespace
}  // namespace tilewise
