#pragma once

#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/Publisher.h"
#include "core/Settings.h"
#include "platform/Scheduler.h"

namespace tilewise {

/// Owns the current settings for the life of the process and keeps them on disk: loads the
/// file once, falls back to the defaults (keeping a rejected file aside), publishes every
/// assignment and writes changes back shortly after. Main thread only.
class SettingsStore {
  public:
    /// Changes closer together than this are written once, this long after the last one.
    static constexpr Scheduler::Duration kSaveDelay{300};
    /// The launch argument (followed by the path) and environment variable that move the file.
    /// The settings file: the path given as `-TilewiseSettingsPath PATH` among `arguments`,
    /// else in the environment variable of that name (a leading tilde expanded, an empty value
    /// ignored), else $XDG_CONFIG_HOME/Tilewise/settings.json.
    static std::filesystem::path defaultURL(const std::vector<std::string>& arguments);

    /// Loads `fileURL`; a missing file is a first run, a rejected one is kept aside as
    /// "<name>.invalid.json" and described by `loadProblem`. A file that was neither loaded nor
    /// completely kept aside (unreadable, not a regular file, backup failed) is never replaced:
    /// the store runs on the defaults and `loadProblem` says that nothing is saved. Writes
    /// nothing but the backup.
    SettingsStore(std::filesystem::path fileURL, Scheduler& scheduler);
    /// Does not save; a pending delayed save is dropped.
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    const TilewiseSettings& settings() const { return settings_; }
    /// Publishes `settings` to every observer; schedules a save when it differs from before.
    void setSettings(TilewiseSettings settings);
    /// Delivers the current settings at once, then every assignment.
    [[nodiscard]] Subscription subscribe(Publisher<TilewiseSettings>::Observer observer);

    /// Why the file was rejected at start-up; none after a clean load or a first run.
    const std::optional<std::string>& loadProblem() const { return loadProblem_; }
    /// True when no settings file could be read at start-up.
    bool isFirstRun() const { return isFirstRun_; }
    const std::filesystem::path& fileURL() const { return fileURL_; }

    /// Cancels a pending delayed save and writes the current settings now, even unchanged. A
    /// failure (or a refusal to replace a file that was not loaded) is logged, returned as a
    /// sentence and leaves the file as it was; nothing retries. A symbolic link to a loaded
    /// file is kept and the file it names replaced.
    std::expected<void, std::string> saveNow();

  private:
    void load();
    void leaveUnreadableFile(const std::string& reason);
    void keepRejectedFile(const std::string& bytes, const std::string& reason);
    void scheduleSave();
    void cancelPendingSave();

    TilewiseSettings settings_;
    std::optional<std::string> loadProblem_;
    std::filesystem::path fileURL_;
    /// The file a save replaces: the loaded file with links resolved, else `fileURL_`.
    std::filesystem::path saveTarget_;
    /// Why nothing may be saved, when the file at `fileURL_` must be left as it is.
    std::optional<std::string> saveRefusal_;
    Scheduler& scheduler_;
    std::optional<Scheduler::TaskId> pendingSave_;
    bool isFirstRun_ = false;
    Publisher<TilewiseSettings> publisher_;
};

}  // namespace tilewise
