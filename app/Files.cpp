#include "app/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

namespace tilewise::Files {
namespace {

std::string failure(std::string_view action, const std::filesystem::path& path,
                    std::string_view reason) {
    return std::string(action) + " “" + path.string() + "”: " + std::string(reason);
}

std::string failure(std::string_view action, const std::filesystem::path& path, int error) {
    return failure(action, path, std::strerror(error));
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

// The temporary file is removed unless it was renamed into place.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    void keep() { path_.clear(); }

  private:
    std::string path_;
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

// Replacing a symbolic link would cut it loose from the file it points at (a dotfiles
// repository, say); the link's target is what gets replaced.
std::filesystem::path replacementTarget(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error))
        return path;
    const auto target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target;
}

// The new file keeps the permissions of the one it replaces; mkstemp's 0600 otherwise.
void keepPermissions(int fd, const std::filesystem::path& replaced) {
    struct stat existing {};
    if (::stat(replaced.c_str(), &existing) == 0)
        ::fchmod(fd, existing.st_mode & 07777);
}

std::expected<void, std::string> flushDirectory(const std::filesystem::path& directory) {
    Descriptor fd{::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (fd.get() < 0 || ::fsync(fd.get()) != 0)
        return std::unexpected(failure("cannot flush the directory", directory, errno));
    return {};
}

}  // namespace

std::expected<std::string, std::string> readAll(const std::filesystem::path& path) {
    // O_NONBLOCK keeps a FIFO at the path from blocking the open; it is refused below.
    Descriptor fd{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0)
        return std::unexpected(failure("cannot read", path, errno));
    if (!S_ISREG(info.st_mode))
        return std::unexpected(failure("cannot read", path, "not a regular file"));
    std::string bytes;
    char buffer[64 * 1024];
    while (true) {
        const auto count = ::read(fd.get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return std::unexpected(failure("cannot read", path, errno));
        if (count == 0)
            return bytes;
        if (bytes.size() + static_cast<std::size_t>(count) > kMaximumReadSize)
            return std::unexpected(failure("cannot read", path, EFBIG));
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

std::expected<void, std::string> writeAtomically(const std::filesystem::path& path,
                                                 std::string_view bytes) {
    const auto target = replacementTarget(path);
    const auto directory = target.has_parent_path() ? target.parent_path() : ".";
    std::string temporaryPath = (directory / ("." + target.filename().string() + ".XXXXXX"));
    Descriptor fd{::mkstemp(temporaryPath.data())};
    if (fd.get() < 0)
        return std::unexpected(failure("cannot create a temporary file in", directory, errno));
    TemporaryFile temporary{temporaryPath};
    keepPermissions(fd.get(), target);
    if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0 || !fd.close())
        return std::unexpected(failure("cannot write", temporaryPath, errno));
    if (::rename(temporaryPath.c_str(), target.c_str()) != 0)
        return std::unexpected(failure("cannot replace", target, errno));
    temporary.keep();
    return flushDirectory(directory);
}

}  // namespace tilewise::Files
