#include "app/SettingsStore.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "core/SettingsCoder.h"
#include "platform/ManualScheduler.h"
#include "tests/support/Files.h"
#include "tests/support/LogCapture.h"
#include "tests/support/Printers.h"

namespace tilewise {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class SettingsStoreTest : public testing::Test {
  protected:
    void writeSettingsFile(std::string_view bytes) {
        fs::create_directories(file_.parent_path());
        ASSERT_TRUE(writeFileBytes(file_, bytes));
    }
    fs::path backup() const { return file_.parent_path() / "settings.invalid.json"; }

    static TilewiseSettings withGrid(std::int64_t columns) {
        auto settings = TilewiseSettings::defaults();
        settings.grid = {columns, 3};
        return settings;
    }
    static std::string encoded(const TilewiseSettings& settings) {
        return SettingsCoder::encode(settings).value();
    }
    void expectOneSaveError(std::string_view fragment) const {
        const auto errors = log_.messages(LogCategory::settings, LogLevel::error);
        ASSERT_EQ(errors.size(), 1U);
        EXPECT_TRUE(errors[0].starts_with("settings save failed: ")) << errors[0];
        EXPECT_NE(errors[0].find(fragment), std::string::npos) << errors[0];
    }
    std::ptrdiff_t filesInTheDirectory() const {
        return std::distance(fs::directory_iterator(file_.parent_path()), fs::directory_iterator());
    }

    TemporaryDirectory temporary_;
    const fs::path& directory_ = temporary_.path();
    fs::path file_ = directory_ / "Tilewise" / "settings.json";
    ManualScheduler scheduler_;
    LogCapture log_;
};

TEST_F(SettingsStoreTest, MissingFileIsAFirstRunThatWritesNothing) {
    SettingsStore store{file_, scheduler_};
    EXPECT_EQ(store.settings(), TilewiseSettings::defaults());
    EXPECT_TRUE(store.isFirstRun());
    EXPECT_EQ(store.loadProblem(), std::nullopt);
    scheduler_.runUntilIdle();
    EXPECT_FALSE(fs::exists(file_.parent_path()));
}

TEST_F(SettingsStoreTest, ValidFileIsLoaded) {
    writeSettingsFile(encoded(withGrid(9)));
    SettingsStore store{file_, scheduler_};
    EXPECT_EQ(store.settings(), withGrid(9));
    EXPECT_FALSE(store.isFirstRun());
    EXPECT_EQ(store.loadProblem(), std::nullopt);
}

TEST_F(SettingsStoreTest, RejectedFileIsKeptAsideAndExplained) {
    const std::string newer = R"({"schemaVersion": 2})";
    writeSettingsFile(newer);
    SettingsStore store{file_, scheduler_};
    EXPECT_EQ(store.settings(), TilewiseSettings::defaults());
    EXPECT_FALSE(store.isFirstRun());
    EXPECT_EQ(readFileBytes(backup()), newer);
    EXPECT_EQ(readFileBytes(file_), newer);
    const std::string sentence = "Settings were written by a newer Tilewise (format version 2).";
    EXPECT_EQ(store.loadProblem(),
              "Settings could not be loaded and were reset. The old file was "
              "kept as settings.invalid.json. " +
                  sentence);
    EXPECT_EQ(log_.messages(LogCategory::settings, LogLevel::error),
              std::vector<std::string>{"settings load failed: " + sentence});
}

TEST_F(SettingsStoreTest, SecondBadLoadReplacesTheEarlierBackup) {
    writeSettingsFile("first broken file");
    { SettingsStore store{file_, scheduler_}; }
    writeSettingsFile(R"({"grid": {"columns": 0, "rows": 1}})");
    SettingsStore store{file_, scheduler_};
    EXPECT_EQ(readFileBytes(backup()), R"({"grid": {"columns": 0, "rows": 1}})");
}

TEST_F(SettingsStoreTest, BackupNameReplacesOnlyTheLastExtension) {
    for (const auto* name : {"prefs", "my.settings.json"}) {
        const auto file = directory_ / name;
        ASSERT_TRUE(writeFileBytes(file, "not json"));
        SettingsStore store{file, scheduler_};
        const auto expected =
            std::string(name) == "prefs" ? "prefs.invalid.json" : "my.settings.invalid.json";
        EXPECT_EQ(readFileBytes(directory_ / expected), "not json") << name;
    }
}

// Root reads any file, so a file of mode 000 is loaded as another user to mean what it says.
class AsAnotherUser {
  public:
    explicit AsAnotherUser(bool needed) : active_(needed && ::geteuid() == 0) {
        if (active_ && ::seteuid(kNobody) != 0)
            active_ = false;
    }
    ~AsAnotherUser() {
        if (active_)
            (void)::seteuid(0);
    }

  private:
    static constexpr uid_t kNobody = 65534;
    bool active_;
};

// What is at a path, following one symbolic link, so that any change to it shows.
std::string snapshot(const fs::path& path) {
    const auto status = fs::symlink_status(path);
    if (fs::is_symlink(status)) {
        const auto target = fs::read_symlink(path);
        const bool regular = fs::is_regular_file(fs::symlink_status(target));
        return "link to " + target.string() + (regular ? " holding " + readFileBytes(target) : "");
    }
    if (fs::is_regular_file(status))
        return "file " + readFileBytes(path);
    return fs::is_directory(status) ? "directory" : fs::is_fifo(status) ? "fifo" : "other";
}

struct NotLoadedCase {
    const char* name;
    std::function<void(const fs::path& file, const fs::path& backup)> make;
    bool unreadableByOwnerOnly = false;
};

TEST_F(SettingsStoreTest, FileThatWasNeitherLoadedNorKeptAsideIsNeverReplaced) {
    const NotLoadedCase cases[] = {
        {"mode 000",
         [](const fs::path& file, const fs::path&) {
             writeFileBytes(file, encoded(withGrid(2)));
             fs::permissions(file, fs::perms::none);
         },
         true},
        {"directory", [](const fs::path& file, const fs::path&) { fs::create_directory(file); }},
        {"FIFO", [](const fs::path& file, const fs::path&) { ::mkfifo(file.c_str(), 0600); }},
        {"loop of links",
         [](const fs::path& file, const fs::path&) { fs::create_symlink(file, file); }},
        {"too large",
         [](const fs::path& file, const fs::path&) {
             writeFileBytes(file, "{}");
             fs::resize_file(file, SettingsCoder::kMaximumDocumentSize + 1);
         }},
        {"backup path is a directory",
         [](const fs::path& file, const fs::path& backup) {
             writeFileBytes(file, "not json");
             fs::create_directory(backup);
         }},
        {"link to a rejected file",
         [](const fs::path& file, const fs::path&) {
             writeFileBytes(file.parent_path() / "elsewhere.json", "not json");
             fs::create_symlink(file.parent_path() / "elsewhere.json", file);
         }},
    };
    for (const auto& test : cases) {
        fs::remove_all(file_.parent_path());
        fs::create_directories(file_.parent_path());
        fs::permissions(directory_, fs::perms::all);
        fs::permissions(file_.parent_path(), fs::perms::all);
        test.make(file_, backup());
        const auto before = snapshot(file_);
        std::optional<SettingsStore> store;
        {
            const AsAnotherUser user{test.unreadableByOwnerOnly};
            store.emplace(file_, scheduler_);
        }
        EXPECT_EQ(store->settings(), TilewiseSettings::defaults()) << test.name;
        EXPECT_FALSE(store->isFirstRun()) << test.name;
        EXPECT_TRUE(store->loadProblem().value_or("").starts_with(
            "Settings could not be loaded and were reset."))
            << test.name;
        store->setSettings(withGrid(9));
        EXPECT_FALSE(store->saveNow()) << test.name;
        scheduler_.runUntilIdle();
        EXPECT_EQ(snapshot(file_), before) << test.name;
    }
}

TEST_F(SettingsStoreTest, UnreadableFileSaysThatNothingIsSaved) {
    fs::create_directories(file_);
    SettingsStore store{file_, scheduler_};
    EXPECT_EQ(store.loadProblem(),
              "Settings could not be loaded and were reset. The file is left as it is and "
              "changes are not saved. The settings file could not be read: “" +
                  file_.string() + "” is not a regular file");
    EXPECT_EQ(store.saveNow().error(),
              "“" + file_.string() + "” is left as it is because it could not be read");
    EXPECT_FALSE(fs::exists(backup()));
}

TEST_F(SettingsStoreTest, ChangesInABurstAreWrittenOnceAfterTheLastOrAtOnceWhenAsked) {
    SettingsStore store{file_, scheduler_};
    store.setSettings(withGrid(4));
    scheduler_.advance(100ms);
    store.setSettings(withGrid(5));
    scheduler_.advance(SettingsStore::kSaveDelay - 1ms);
    EXPECT_FALSE(fs::exists(file_));
    scheduler_.advance(1ms);
    EXPECT_EQ(readFileBytes(file_), encoded(withGrid(5)));
    store.setSettings(withGrid(7));
    store.saveNow();
    EXPECT_EQ(readFileBytes(file_), encoded(withGrid(7)));
    fs::remove(file_);
    scheduler_.runUntilIdle();
    EXPECT_FALSE(fs::exists(file_)) << "written twice";
}

TEST_F(SettingsStoreTest, EqualAssignmentIsPublishedButNotWritten) {
    SettingsStore store{file_, scheduler_};
    int deliveries = 0;
    const auto subscription = store.subscribe([&](const TilewiseSettings&) { ++deliveries; });
    store.setSettings(TilewiseSettings::defaults());
    EXPECT_EQ(deliveries, 2);
    EXPECT_EQ(scheduler_.pendingCount(), 0U);
    scheduler_.runUntilIdle();
    EXPECT_FALSE(fs::exists(file_));
}

TEST_F(SettingsStoreTest, SaveNowWritesUnchangedSettingsAndCreatesDirectories) {
    file_ = directory_ / "deeper" / "still" / "settings.json";
    SettingsStore store{file_, scheduler_};
    store.saveNow();
    EXPECT_EQ(readFileBytes(file_), encoded(TilewiseSettings::defaults()));
}

TEST_F(SettingsStoreTest, ReleasedStoreDropsItsPendingSave) {
    {
        SettingsStore store{file_, scheduler_};
        store.setSettings(withGrid(8));
    }
    scheduler_.runUntilIdle();
    EXPECT_FALSE(fs::exists(file_));
}

TEST_F(SettingsStoreTest, ObserversGetTheCurrentValueThenEveryAssignment) {
    writeSettingsFile(encoded(withGrid(2)));
    SettingsStore store{file_, scheduler_};
    std::vector<std::int64_t> seen;
    auto subscription =
        store.subscribe([&](const TilewiseSettings& s) { seen.push_back(s.grid.columns); });
    store.setSettings(withGrid(3));
    store.setSettings(withGrid(3));
    subscription.cancel();
    store.setSettings(withGrid(4));
    EXPECT_EQ(seen, (std::vector<std::int64_t>{2, 3, 3}));
}

TEST_F(SettingsStoreTest, UnencodableSettingsLeaveTheFileAndMemoryAsTheyWere) {
    writeSettingsFile(encoded(withGrid(2)));
    const auto before = readFileBytes(file_);
    SettingsStore store{file_, scheduler_};
    auto broken = withGrid(3);
    broken.margins.verticalSpacing = std::numeric_limits<double>::infinity();
    store.setSettings(broken);
    scheduler_.runUntilIdle();
    EXPECT_EQ(readFileBytes(file_), before);
    EXPECT_EQ(store.settings(), broken);
    expectOneSaveError("");
}

// Limits the size of files this process may write, as a full disk would.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

  private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(SettingsStoreTest, FailedWriteKeepsTheOldFileByteForByte) {
    writeSettingsFile(encoded(withGrid(2)));
    const auto before = readFileBytes(file_);
    SettingsStore store{file_, scheduler_};
    store.setSettings(withGrid(12));
    {
        const FileSizeLimit full{16};
        store.saveNow();
    }
    EXPECT_EQ(readFileBytes(file_), before);
    EXPECT_EQ(store.settings(), withGrid(12));
    EXPECT_EQ(filesInTheDirectory(), 1) << "temporary file left behind";
    expectOneSaveError("File too large");
}

TEST_F(SettingsStoreTest, DirectoryThatCannotBeCreatedIsLogged) {
    SettingsStore store{file_, scheduler_};
    ASSERT_TRUE(writeFileBytes(file_.parent_path(), "a file where the directory should be"));
    EXPECT_FALSE(store.saveNow());
    expectOneSaveError("failed: cannot create");
}

TEST_F(SettingsStoreTest, BackupIsWholeOrThePreviousOneStays) {
    const std::string rejected(4096, '#');
    writeSettingsFile(rejected);
    ASSERT_TRUE(writeFileBytes(backup(), "previous backup"));
    std::optional<SettingsStore> store;
    {
        const FileSizeLimit full{16};
        store.emplace(file_, scheduler_);
    }
    EXPECT_EQ(readFileBytes(backup()), "previous backup");
    EXPECT_TRUE(store->loadProblem().value_or("").starts_with(
        "Settings could not be loaded and were reset. The old file could not be kept as "
        "settings.invalid.json"))
        << store->loadProblem().value_or("");
    EXPECT_FALSE(store->saveNow());
    EXPECT_EQ(readFileBytes(file_), rejected);
    EXPECT_EQ(filesInTheDirectory(), 2) << "temporary file left behind";
    SettingsStore again{file_, scheduler_};
    EXPECT_EQ(readFileBytes(backup()), rejected);
}

TilewiseSettings withLayouts(std::size_t count, std::int64_t columns) {
    auto settings = TilewiseSettings::defaults();
    for (std::size_t i = 0; i < count; ++i) {
        settings.layouts.push_back({Uuid::random(), "Layout " + std::to_string(i), true, false,
                                    std::nullopt, GridSize{columns, 2}, CellSelection{0, 0, 0, 1}});
    }
    return settings;
}

// The short form of scripts/kill-save-loop: a save killed at any moment leaves the old or the new
// file, whole, and nothing beside it.
TEST_F(SettingsStoreTest, KilledSavesLeaveAWholeFileAndNoTemporaryFiles) {
    writeSettingsFile(encoded(withLayouts(2000, 2)));
    std::mt19937 random{7};
    for (int kill = 0; kill < 25; ++kill) {
        const pid_t saver = ::fork();
        if (saver == 0) {
            SettingsStore store{file_, scheduler_};
            for (std::int64_t columns = 3;; columns = 5 - columns) {
                store.setSettings(withLayouts(2000, columns));
                (void)store.saveNow();
            }
        }
        ::usleep(std::uniform_int_distribution<useconds_t>{1'000, 20'000}(random));
        ::kill(saver, SIGKILL);
        ::waitpid(saver, nullptr, 0);
        ASSERT_TRUE(SettingsCoder::decode(readFileBytes(file_))) << "after kill " << kill;
        ASSERT_EQ(filesInTheDirectory(), 1) << "temporary file left after kill " << kill;
    }
}

TEST_F(SettingsStoreTest, SymbolicLinkIsKeptAndItsTargetReplaced) {
    const auto target = directory_ / "dotfiles" / "tilewise.json";
    fs::create_directories(target.parent_path());
    ASSERT_TRUE(writeFileBytes(target, encoded(withGrid(2))));
    fs::create_directories(file_.parent_path());
    fs::create_symlink(target, file_);
    SettingsStore store{file_, scheduler_};
    store.setSettings(withGrid(6));
    store.saveNow();
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_EQ(readFileBytes(target), encoded(withGrid(6)));
}

// Sets or clears one environment variable for the life of the object.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            previous_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnvironment() { previous_ ? ::setenv(name_, previous_->c_str(), 1) : ::unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> previous_;
};

fs::path home() {
    return std::getenv("HOME");
}

TEST(SettingsStorePathTest, DefaultsToTheConfigurationDirectory) {
    const fs::path config = std::getenv("XDG_CONFIG_HOME");
    EXPECT_EQ(SettingsStore::defaultURL({"tilewise"}), config / "Tilewise" / "settings.json");
    const ScopedEnvironment empty{"TilewiseSettingsPath", ""};
    EXPECT_EQ(SettingsStore::defaultURL({}), config / "Tilewise" / "settings.json");
    for (const char* unusable : {"", "relative/config"}) {
        const ScopedEnvironment unset{"XDG_CONFIG_HOME", unusable};
        EXPECT_EQ(SettingsStore::defaultURL({}), home() / ".config" / "Tilewise" / "settings.json");
    }
}

TEST(SettingsStorePathTest, LaunchArgumentThenEnvironmentOverrideThePath) {
    const ScopedEnvironment variable{"TilewiseSettingsPath", "/from/environment.json"};
    EXPECT_EQ(
        SettingsStore::defaultURL({"tilewise", "-TilewiseSettingsPath", "/from/argument.json"}),
        "/from/argument.json");
    EXPECT_EQ(SettingsStore::defaultURL({"tilewise", "-TilewiseSettingsPath", ""}),
              "/from/environment.json");
    EXPECT_EQ(SettingsStore::defaultURL({"tilewise", "-TilewiseSettingsPath"}),
              "/from/environment.json");
}

TEST(SettingsStorePathTest, LeadingTildeIsTheHomeDirectory) {
    EXPECT_EQ(SettingsStore::defaultURL({"-TilewiseSettingsPath", "~/sync/tilewise.json"}),
              home() / "sync" / "tilewise.json");
    const ScopedEnvironment variable{"TilewiseSettingsPath", "~"};
    EXPECT_EQ(SettingsStore::defaultURL({}), home());
}

}  // namespace
}  // namespace tilewise
