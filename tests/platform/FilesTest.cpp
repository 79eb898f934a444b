#include "platform/Files.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>

#include <gtest/gtest.h>

#include "tests/support/Files.h"

namespace tilewise {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLimit = 1024;

class FilesTest : public testing::Test {
  protected:
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(directory_))
            names.push_back(entry.path().filename().string());
        std::ranges::sort(names);
        return names;
    }

    TemporaryDirectory temporary_;
    const fs::path& directory_ = temporary_.path();
};

struct UnreadableCase {
    const char* name;
    std::function<fs::path(const fs::path& directory)> make;
    int code;
    const char* reason;
};

TEST_F(FilesTest, ReadRefusesWhatIsNotASmallRegularFileWithASentence) {
    const UnreadableCase cases[] = {
        {"FIFO",
         [](const fs::path& d) {
             ::mkfifo((d / "fifo").c_str(), 0600);
             return d / "fifo";
         },
         0, "is not a regular file"},
        {"device", [](const fs::path&) { return fs::path("/dev/null"); }, 0,
         "is not a regular file"},
        {"directory", [](const fs::path& d) { return d; }, 0, "is not a regular file"},
        {"too large",
         [](const fs::path& d) {
             writeFileBytes(d / "large", std::string(kLimit + 1, ' '));
             return d / "large";
         },
         0, "is larger than 1024 bytes"},
        {"missing", [](const fs::path& d) { return d / "absent"; }, ENOENT,
         "No such file or directory"},
        {"loop of links",
         [](const fs::path& d) {
             fs::create_symlink(d / "loop", d / "loop");
             return d / "loop";
         },
         ELOOP, "Too many levels of symbolic links"},
        {"below a file",
         [](const fs::path& d) {
             writeFileBytes(d / "file", "");
             return d / "file" / "settings.json";
         },
         ENOTDIR, "Not a directory"},
    };
    for (const auto& test : cases) {
        const auto path = test.make(directory_);
        const auto read = Files::readAll(path, kLimit);
        ASSERT_FALSE(read) << test.name;
        EXPECT_EQ(read.error().code, test.code) << test.name;
        EXPECT_EQ(read.error().isMissing(), test.code == ENOENT) << test.name;
        EXPECT_NE(read.error().message.find("“" + path.string() + "”"), std::string::npos)
            << read.error().message;
        EXPECT_NE(read.error().message.find(test.reason), std::string::npos)
            << read.error().message;
    }
    writeFileBytes(directory_ / "exact", std::string(kLimit, 'x'));
    EXPECT_EQ(Files::readAll(directory_ / "exact", kLimit).value_or("").size(), kLimit);
}

TEST_F(FilesTest, ReplacementKeepsThePermissionsOfTheReplacedFileAndLeavesNothingElse) {
    const auto file = directory_ / "settings.json";
    ASSERT_TRUE(writeFileBytes(file, "old"));
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(Files::writeAtomically(file, "new"));
    EXPECT_EQ(readFileBytes(file), "new");
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(entries(), std::vector<std::string>{"settings.json"});
}

TEST_F(FilesTest, OnlyARegularFileOrNothingIsReplaced) {
    const auto target = directory_ / "target";
    ASSERT_TRUE(writeFileBytes(target, "kept"));
    fs::create_symlink(target, directory_ / "link");
    fs::create_directory(directory_ / "directory");
    ASSERT_EQ(::mkfifo((directory_ / "fifo").c_str(), 0600), 0);
    for (const char* name : {"link", "directory", "fifo"}) {
        const auto written = Files::writeAtomically(directory_ / name, "new");
        ASSERT_FALSE(written) << name;
        EXPECT_NE(written.error().find("is not a regular file"), std::string::npos)
            << written.error();
    }
    EXPECT_TRUE(fs::is_symlink(directory_ / "link"));
    EXPECT_TRUE(fs::is_directory(directory_ / "directory"));
    EXPECT_TRUE(fs::is_fifo(directory_ / "fifo"));
    EXPECT_EQ(readFileBytes(target), "kept");
    EXPECT_EQ(entries(), (std::vector<std::string>{"directory", "fifo", "link", "target"}));
}

TEST_F(FilesTest, FailedReplacementNamesTheDirectoryAndLeavesNothingBehind) {
    const auto missing = directory_ / "absent" / "settings.json";
    const auto written = Files::writeAtomically(missing, "new");
    ASSERT_FALSE(written);
    EXPECT_NE(written.error().find((directory_ / "absent").string()), std::string::npos)
        << written.error();
    EXPECT_TRUE(fs::is_empty(directory_));
}

pid_t exitedProcess() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST_F(FilesTest, TemporaryFilesOfWritersThatDiedAreRemovedByTheNextWrite) {
    const auto file = directory_ / "settings.json";
    const auto dead = ".settings.json." + std::to_string(exitedProcess()) + "-3.tmp";
    const std::string alive = ".settings.json.1-0.tmp";
    const auto other = ".other.json." + std::to_string(exitedProcess()) + "-0.tmp";
    for (const auto& name : {dead, alive, other})
        ASSERT_TRUE(writeFileBytes(directory_ / name, "partial"));
    ASSERT_TRUE(Files::writeAtomically(file, "new"));
    EXPECT_EQ(entries(), (std::vector<std::string>{other, alive, "settings.json"}));
}

}  // namespace
}  // namespace tilewise
