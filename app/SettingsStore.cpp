#include "app/SettingsStore.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <utility>

#include "app/SettingsFile.h"
#include "app/SettingsPathOption.h"
#include "core/SettingsCoder.h"
#include "platform/Files.h"
#include "platform/Log.h"

namespace tilewise {
namespace {

constexpr std::string_view kBackupExtension = "invalid.json";
constexpr std::string_view kReset = "Settings could not be loaded and were reset. ";

std::string quoted(const std::filesystem::path& path) {
    return "“" + path.string() + "”";
}

std::optional<std::string> nonEmptyEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    return std::string(value);
}

std::optional<std::filesystem::path> homeDirectory(const std::string& user) {
    if (user.empty()) {
        if (auto home = nonEmptyEnvironment("HOME"))
            return std::filesystem::path(*home);
    }
    const passwd* entry = user.empty() ? ::getpwuid(::getuid()) : ::getpwnam(user.c_str());
    if (entry == nullptr || entry->pw_dir == nullptr)
        return std::nullopt;
    return std::filesystem::path(entry->pw_dir);
}

// "~" and "~/x" name the user's home, "~name/x" another user's, as a shell would.
std::filesystem::path expandingTilde(const std::string& path) {
    if (!path.starts_with('~'))
        return path;
    const auto slash = path.find('/');
    const auto home = homeDirectory(path.substr(1, slash == std::string::npos ? slash : slash - 1));
    if (!home)
        return path;
    return slash == std::string::npos ? *home : *home / path.substr(slash + 1);
}

std::optional<std::string> overriddenPath(const std::vector<std::string>& arguments) {
    if (auto given = SettingsPathOption::value(arguments))
        return given;
    return nonEmptyEnvironment(std::string(SettingsPathOption::kKey).c_str());
}

// XDG base directories: a relative value is invalid and to be ignored.
std::filesystem::path configurationHome() {
    if (const auto config = nonEmptyEnvironment("XDG_CONFIG_HOME")) {
        if (std::filesystem::path(*config).is_absolute())
            return *config;
    }
    return homeDirectory("").value_or("/") / ".config";
}

std::expected<void, std::string> writeSettingsFile(const std::filesystem::path& file,
                                                   const TilewiseSettings& settings) {
    if (file.has_parent_path()) {
        std::error_code error;
        std::filesystem::create_directories(file.parent_path(), error);
        if (error)
            return std::unexpected("cannot create “" + file.parent_path().string() +
                                   "”: " + error.message());
    }
    const auto bytes = SettingsCoder::encode(settings);
    if (!bytes)
        return std::unexpected(bytes.error().description());
    return Files::writeAtomically(file, *bytes);
}

}  // namespace

std::filesystem::path SettingsStore::defaultURL(const std::vector<std::string>& arguments) {
    if (const auto path = overriddenPath(arguments)) {
        std::error_code error;
        const auto expanded = expandingTilde(*path);
        const auto absolute = std::filesystem::absolute(expanded, error);
        return error ? expanded : absolute;
    }
    return configurationHome() / "Tilewise" / "settings.json";
}

SettingsStore::SettingsStore(std::filesystem::path fileURL, Scheduler& scheduler)
    : fileURL_(std::move(fileURL)), saveTarget_(fileURL_), scheduler_(scheduler) {
    load();
}

SettingsStore::~SettingsStore() {
    cancelPendingSave();
}

void SettingsStore::load() {
    auto loaded = SettingsFile::read(fileURL_);
    if (loaded) {
        settings_ = std::move(loaded->settings);
        saveTarget_ = std::move(loaded->file);
        return;
    }
    switch (loaded.error().kind) {
        case SettingsFile::Failure::Kind::missing:
            isFirstRun_ = true;
            return;
        case SettingsFile::Failure::Kind::unreadable:
            leaveUnreadableFile(loaded.error().description);
            return;
        case SettingsFile::Failure::Kind::undecodable:
            keepRejectedFile(loaded.error().bytes, loaded.error().description);
            return;
    }
}

// Without a copy of the file, the defaults saved over it would lose the user's only copy.
void SettingsStore::leaveUnreadableFile(const std::string& reason) {
    settings_ = TilewiseSettings::defaults();
    loadProblem_ =
        std::string(kReset) + "The file is left as it is and changes are not saved. " + reason;
    saveRefusal_ = quoted(fileURL_) + " is left as it is because it could not be read";
    Log::error(LogCategory::settings, "settings load failed: " + reason);
}

void SettingsStore::keepRejectedFile(const std::string& bytes, const std::string& reason) {
    auto backup = fileURL_;
    backup.replace_extension(kBackupExtension);
    const auto name = backup.filename().string();
    settings_ = TilewiseSettings::defaults();
    // Written like the settings, so that the previous backup stays until a whole new one is in
    // place.
    if (const auto kept = Files::writeAtomically(backup, bytes); !kept) {
        loadProblem_ = std::string(kReset) + "The old file could not be kept as " + name + " (" +
                       kept.error() + "); it is left as it is and changes are not saved. " + reason;
        saveRefusal_ =
            quoted(fileURL_) + " is left as it is because it could not be kept as " + name;
        Log::error(LogCategory::settings, "settings backup failed: " + kept.error());
    } else {
        loadProblem_ = std::string(kReset) + "The old file was kept as " + name + ". " + reason;
    }
    Log::error(LogCategory::settings, "settings load failed: " + reason);
}

void SettingsStore::setSettings(TilewiseSettings settings) {
    const bool changed = settings != settings_;
    settings_ = std::move(settings);
    if (changed)
        scheduleSave();
    // A copy, so that an observer assigning again does not change what later ones receive.
    const auto published = settings_;
    publisher_.publish(published);
}

Subscription SettingsStore::subscribe(Publisher<TilewiseSettings>::Observer observer) {
    observer(settings_);
    return publisher_.subscribe(std::move(observer));
}

std::expected<void, std::string> SettingsStore::saveNow() {
    cancelPendingSave();
    const auto saved = saveRefusal_ ? std::expected<void, std::string>{std::unexpect, *saveRefusal_}
                                    : writeSettingsFile(saveTarget_, settings_);
    if (!saved)
        Log::error(LogCategory::settings, "settings save failed: " + saved.error());
    return saved;
}

void SettingsStore::scheduleSave() {
    cancelPendingSave();
    // The destructor cancels this task, so it never runs on a destroyed store.
    pendingSave_ = scheduler_.schedule(kSaveDelay, [this] {
        pendingSave_.reset();
        saveNow();
    });
}

void SettingsStore::cancelPendingSave() {
    if (const auto task = std::exchange(pendingSave_, std::nullopt))
        scheduler_.cancel(*task);
}

}  // namespace tilewise
