#include "cli/InstanceClient.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "app/InstanceProtocol.h"
#include "app/UnixSocketAddress.h"

namespace tilewise {
namespace {

constexpr std::chrono::milliseconds kConnectTimeout{1000};

CommandReply noAnswer(const std::string& why) {
    return CommandReply::failed("tilewise: the running Tilewise " + why);
}

// Plain POSIX rather than Qt's socket: this runs in the `tilewise` command before anything
// heavier than the C++ library is loaded.
class Connection {
  public:
    explicit Connection(const std::filesystem::path& socketPath)
        : descriptor_(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)) {
        // Non-blocking: an instance that stopped accepting must not hold the command up.
        const auto address = unixSocketAddress(socketPath);
        connected_ = descriptor_ >= 0 && address &&
                     ::connect(descriptor_, reinterpret_cast<const sockaddr*>(&*address),
                               sizeof *address) == 0;
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }

    bool connected() const { return connected_; }

    bool send(std::string_view bytes) {
        while (!bytes.empty()) {
            if (!waitFor(POLLOUT, kConnectTimeout))
                return false;
            const auto sent = ::send(descriptor_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (sent < 0 && errno != EINTR && errno != EAGAIN)
                return false;
            bytes.remove_prefix(sent > 0 ? static_cast<std::size_t>(sent) : 0);
        }
        return true;
    }

    /// Bytes that arrive within `timeout`: empty once the other side closed; nothing on
    /// timeout or error.
    std::optional<std::string> receive(std::chrono::milliseconds timeout) {
        if (!waitFor(POLLIN, timeout))
            return std::nullopt;
        char buffer[4096];
        ssize_t received = 0;
        do {
            received = ::recv(descriptor_, buffer, sizeof buffer, 0);
        } while (received < 0 && errno == EINTR);
        if (received < 0)
            return std::nullopt;
        return std::string(buffer, static_cast<std::size_t>(received));
    }

  private:
    bool waitFor(short events, std::chrono::milliseconds timeout) {
        pollfd descriptor{descriptor_, events, 0};
        return ::poll(&descriptor, 1, static_cast<int>(timeout.count())) > 0;
    }

    int descriptor_;
    bool connected_ = false;
};

}  // namespace

std::optional<CommandReply> askRunningInstance(const InstanceLocation& location,
                                               const InstanceRequest& request,
                                               std::chrono::milliseconds timeout) {
    Connection connection{location.socketPath()};
    if (!connection.connected()) {
        return std::nullopt;
    }
    if (!connection.send(InstanceProtocol::encode(request))) {
        return noAnswer("did not take the request");
    }
    std::string received;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (received.find('\n') == std::string::npos) {
        if (received.size() > InstanceProtocol::kMaxLineLength) {
            return noAnswer("sent a reply that is too long");
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const auto more = left.count() > 0 ? connection.receive(left) : std::nullopt;
        if (!more) {
            return noAnswer("did not answer in time");
        }
        if (more->empty()) {
            return noAnswer("closed the connection without an answer");
        }
        received += *more;
    }
    const auto reply = InstanceProtocol::decodeReply(received.substr(0, received.find('\n')));
    if (!reply) {
        return noAnswer("sent a reply that cannot be read: " + reply.error());
    }
    return *reply;
}

}  // namespace tilewise
