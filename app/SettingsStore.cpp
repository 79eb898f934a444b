#include "app/SettingsStore.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <utility>

#include "app/Files.h"
#include "app/SettingsPathOption.h"
#include "core/SettingsCoder.h"
#include "platform/Log.h"

namespace tilewise {
namespace {

constexpr std::string_view kBackupExtension = "invalid.json";

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
    : fileURL_(std::move(fileURL)), scheduler_(scheduler) {
    load();
}

SettingsStore::~SettingsStore() {
    cancelPendingSave();
}

void SettingsStore::load() {
    const auto bytes = Files::readAll(fileURL_);
    if (!bytes) {
        // Only a missing file is a first run. A file that exists but cannot be read would
        // otherwise be overwritten with the defaults at the next save without a word.
        std::error_code error;
        if (!std::filesystem::exists(fileURL_, error) && !error) {
            isFirstRun_ = true;
            return;
        }
        keepRejectedFile("The settings file could not be read: " + bytes.error());
        return;
    }
    auto decoded = SettingsCoder::decode(*bytes);
    if (decoded) {
        settings_ = std::move(*decoded);
        return;
    }
    keepRejectedFile(decoded.error().description());
}

void SettingsStore::keepRejectedFile(const std::string& reason) {
    auto backup = fileURL_;
    backup.replace_extension(kBackupExtension);
    std::error_code ignored;
    std::filesystem::remove(backup, ignored);
    std::error_code copyError;
    std::filesystem::copy_file(fileURL_, backup, copyError);
    const auto name = backup.filename().string();
    const std::string reset = "Settings could not be loaded and were reset. ";
    settings_ = TilewiseSettings::defaults();
    if (copyError) {
        // Saying the file was kept when it was not would leave the user without their only
        // copy once the defaults are saved over it.
        loadProblem_ = reset + "The old file could not be kept as " + name + " (" +
                       copyError.message() + "). " + reason;
        Log::error(LogCategory::settings, "settings backup failed: " + copyError.message());
    } else {
        loadProblem_ = reset + "The old file was kept as " + name + ". " + reason;
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

void SettingsStore::saveNow() {
    cancelPendingSave();
    if (const auto saved = writeSettingsFile(fileURL_, settings_); !saved)
        Log::error(LogCategory::settings, "settings save failed: " + saved.error());
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
