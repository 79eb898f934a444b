#include "platform/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <utility>

namespace tilewise::Files {
namespace {

constexpr std::string_view kTemporarySuffix = ".tmp";

std::string quoted(const std::filesystem::path& path) {
    return "“" + path.string() + "”";
}

std::string failure(std::string_view action, const std::filesystem::path& path, int error) {
    return "cannot " + std::string(action) + " " + quoted(path) + ": " + std::strerror(error);
}

// Closes the descriptor on every path out of a function.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    /// Closes now, so that a failing close (NFS, full disk) is seen; errno is set on failure.
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

  private:
    int fd_;
};

// A named temporary file is removed unless it was renamed into place.
class TemporaryName {
  public:
    TemporaryName(int directory, std::string name)
        : directory_(directory), name_(std::move(name)) {}
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;
    ~TemporaryName() {
        if (linked_)
            ::unlinkat(directory_, name_.c_str(), 0);
    }
    const std::string& name() const { return name_; }
    bool isLinked() const { return linked_; }
    void linked() { linked_ = true; }
    void renamed() { linked_ = false; }

  private:
    int directory_;
    std::string name_;
    bool linked_ = false;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// ".settings.json.<pid>-<n>.tmp": the writer's process id tells a later writer whether the
// file is debris of a writer that died between naming and renaming it.
std::string temporaryPrefix(const std::string& fileName) {
    return "." + fileName + ".";
}

std::string temporaryName(const std::string& fileName) {
    static std::atomic<unsigned> counter{0};
    return temporaryPrefix(fileName) + std::to_string(::getpid()) + "-" +
           std::to_string(counter++) + std::string(kTemporarySuffix);
}

bool writerIsGone(std::string_view rest) {
    const auto dash = rest.find('-');
    if (dash == 0 || dash == std::string_view::npos || !rest.ends_with(kTemporarySuffix))
        return false;
    pid_t writer = 0;
    for (const char digit : rest.substr(0, dash)) {
        if (digit < '0' || digit > '9' || writer > 100'000'000)
            return false;
        writer = writer * 10 + (digit - '0');
    }
    return writer != ::getpid() && ::kill(writer, 0) != 0 && errno == ESRCH;
}

void removeDebris(int directory, const std::string& fileName) {
    const int listing = ::openat(directory, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* entries = listing < 0 ? nullptr : ::fdopendir(listing);
    if (entries == nullptr) {
        if (listing >= 0)
            ::close(listing);
        return;
    }
    const auto prefix = temporaryPrefix(fileName);
    while (const dirent* entry = ::readdir(entries)) {
        const std::string_view name = entry->d_name;
        if (name.starts_with(prefix) && writerIsGone(name.substr(prefix.size())))
            ::unlinkat(directory, entry->d_name, 0);
    }
    ::closedir(entries);
}

// Only a regular file, or nothing, may be replaced: renaming over a FIFO or a device node would
// remove it, and over a symbolic link would cut it from the file it names.
std::expected<void, std::string> requireReplaceable(const std::filesystem::path& path) {
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) != 0) {
        if (errno == ENOENT)
            return {};
        return std::unexpected(failure("replace", path, errno));
    }
    if (!S_ISREG(existing.st_mode))
        return std::unexpected(quoted(path) + " is not a regular file and is left as it is");
    return {};
}

// An unnamed file (O_TMPFILE) leaves nothing behind when the process dies before linking it;
// file systems without it get a named file at once.
int openTemporary(int directory, TemporaryName& temporary) {
    const int fd = ::openat(directory, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return fd;
    const int named = ::openat(directory, temporary.name().c_str(),
                               O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (named >= 0)
        temporary.linked();
    return named;
}

bool linkIn(int fd, int directory, TemporaryName& temporary) {
    const auto self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), directory, temporary.name().c_str(), AT_SYMLINK_FOLLOW) !=
        0)
        return false;
    temporary.linked();
    return true;
}

// The new file keeps the permissions of the one it replaces; 0600 otherwise.
void keepPermissions(int fd, const std::filesystem::path& replaced) {
    struct stat existing {};
    if (::stat(replaced.c_str(), &existing) == 0)
        ::fchmod(fd, existing.st_mode & 07777);
}

}  // namespace

bool ReadError::isMissing() const {
    return code == ENOENT;
}

std::expected<std::string, ReadError> readAll(const std::filesystem::path& path,
                                              std::size_t maximumSize) {
    Descriptor fd{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)};
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0)
        return std::unexpected(ReadError{errno, failure("read", path, errno)});
    if (!S_ISREG(info.st_mode))
        return std::unexpected(ReadError{0, quoted(path) + " is not a regular file"});
    const auto tooLarge =
        ReadError{0, quoted(path) + " is larger than " + std::to_string(maximumSize) + " bytes"};
    if (static_cast<std::uintmax_t>(info.st_size) > maximumSize)
        return std::unexpected(tooLarge);
    std::string bytes;
    char buffer[64 * 1024];
    while (true) {
        const auto count = ::read(fd.get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return std::unexpected(ReadError{errno, failure("read", path, errno)});
        if (count == 0)
            return bytes;
        if (bytes.size() + static_cast<std::size_t>(count) > maximumSize)
            return std::unexpected(tooLarge);
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

std::expected<void, std::string> writeAtomically(const std::filesystem::path& path,
                                                 std::string_view bytes) {
    if (auto replaceable = requireReplaceable(path); !replaceable)
        return replaceable;
    const auto directoryPath = path.has_parent_path() ? path.parent_path() : ".";
    Descriptor directory{::open(directoryPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (directory.get() < 0)
        return std::unexpected(failure("open the directory", directoryPath, errno));
    const auto fileName = path.filename().string();
    removeDebris(directory.get(), fileName);
    TemporaryName temporary{directory.get(), temporaryName(fileName)};
    Descriptor fd{openTemporary(directory.get(), temporary)};
    if (fd.get() < 0)
        return std::unexpected(failure("create a temporary file in", directoryPath, errno));
    keepPermissions(fd.get(), path);
    if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0)
        return std::unexpected(failure("write a temporary file in", directoryPath, errno));
    if (!temporary.isLinked() && !linkIn(fd.get(), directory.get(), temporary))
        return std::unexpected(failure("name a temporary file in", directoryPath, errno));
    if (!fd.close())
        return std::unexpected(failure("write a temporary file in", directoryPath, errno));
    if (::renameat(directory.get(), temporary.name().c_str(), directory.get(), fileName.c_str()) !=
        0)
        return std::unexpected(failure("replace", path, errno));
    temporary.renamed();
    if (::fsync(directory.get()) != 0)
        return std::unexpected(failure("flush the directory", directoryPath, errno));
    return {};
}

}  // namespace tilewise::Files
