#include "app/InstanceServer.h"

#include <unistd.h>

#include <QLockFile>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstring>

#include "app/InstanceProtocol.h"
#include "app/UnixSocketAddress.h"

namespace tilewise {
namespace {

// A client that holds a connection without finishing a request loses it after this long.
constexpr int kIdleMilliseconds = 10'000;

QString nativePath(const std::filesystem::path& path) {
    return QString::fromStdString(path);
}

// A listening socket bound to `path`, or why not. A socket file left there by a killed
// instance is replaced: the caller holds the lock, so no live instance can own it.
std::expected<int, std::string> bindListener(const std::filesystem::path& path) {
    const auto address = unixSocketAddress(path);
    if (!address)
        return std::unexpected("the path is too long for a socket");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener < 0)
        return std::unexpected(std::strerror(errno));
    const auto bound = [&] {
        return ::bind(listener, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0;
    };
    if ((bound() || (errno == EADDRINUSE && ::unlink(path.c_str()) == 0 && bound())) &&
        ::listen(listener, InstanceServer::kMaxConnections) == 0)
        return listener;
    const std::string reason = std::strerror(errno);
    ::close(listener);
    return std::unexpected(reason);
}

}  // namespace

/// One client: its unread bytes, one request in the handler at a time, replies in order.
class InstanceServer::Connection : public std::enable_shared_from_this<Connection> {
  public:
    Connection(int descriptor, InstanceRequestHandler& handler)
        : descriptor_(descriptor), readable_(descriptor, QSocketNotifier::Read), handler_(handler) {
        idle_.setSingleShot(true);
        idle_.setInterval(kIdleMilliseconds);
    }
    ~Connection() {
        // The notifier lets go of the descriptor before it is closed.
        readable_.setEnabled(false);
        ::close(descriptor_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void start(std::function<void()> onClosed) {
        onClosed_ = std::move(onClosed);
        QObject::connect(&readable_, &QSocketNotifier::activated, [this] { read(); });
        QObject::connect(&idle_, &QTimer::timeout, [this] { close(); });
        idle_.start();
        read();
    }

  private:
    void read() {
        char chunk[4096];
        while (!closing_) {
            const auto received = ::recv(descriptor_, chunk, sizeof chunk, MSG_DONTWAIT);
            if (received > 0) {
                buffer_.append(chunk, static_cast<std::size_t>(received));
            } else if (received == 0 || (errno != EINTR && errno != EAGAIN)) {
                close();
            } else if (errno == EAGAIN) {
                break;
            }
        }
        dispatch();
    }

    void dispatch() {
        dispatching_ = true;
        while (!busy_ && !closing_) {
            const auto end = buffer_.find('\n');
            if (end == std::string::npos) {
                if (buffer_.size() > InstanceProtocol::kMaxLineLength) {
                    // Without a line end in reach the stream cannot be resynchronised.
                    send(CommandReply::failed("tilewise: the request is too long",
                                              ExitStatus::usage));
                    close();
                }
                break;
            }
            const std::string line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            serve(line);
        }
        dispatching_ = false;
    }

    void serve(const std::string& line) {
        const auto request = InstanceProtocol::decodeRequest(line);
        if (!request) {
            send(CommandReply::failed("tilewise: bad request: " + request.error(),
                                      ExitStatus::usage));
            return;
        }
        busy_ = true;
        idle_.stop();
        auto answered = std::make_shared<bool>(false);
        handler_.handle(*request, [weak = weak_from_this(), answered](CommandReply reply) {
            const auto self = weak.lock();
            if (!self || std::exchange(*answered, true))
                return;
            self->send(reply);
            self->busy_ = false;
            self->idle_.start();
            if (!self->dispatching_)
                self->dispatch();
        });
    }

    // Replies are short and the socket's buffer is large: a client that does not read them
    // loses its connection rather than holding up the application.
    void send(const CommandReply& reply) {
        const std::string encoded = InstanceProtocol::encode(reply);
        std::string_view line = encoded;
        while (!line.empty() && !closing_) {
            const auto sent =
                ::send(descriptor_, line.data(), line.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (sent < 0 && errno != EINTR)
                close();
            line.remove_prefix(sent > 0 ? static_cast<std::size_t>(sent) : 0);
        }
    }

    void close() {
        if (std::exchange(closing_, true))
            return;
        readable_.setEnabled(false);
        idle_.stop();
        ::shutdown(descriptor_, SHUT_RDWR);
        onClosed_();
    }

    int descriptor_;
    QSocketNotifier readable_;
    InstanceRequestHandler& handler_;
    std::function<void()> onClosed_;
    std::string buffer_;
    QTimer idle_;
    bool busy_ = false;
    bool dispatching_ = false;
    bool closing_ = false;
};

std::expected<std::unique_ptr<InstanceServer>, InstanceServer::Refusal> InstanceServer::listen(
    const InstanceLocation& location, InstanceRequestHandler& handler) {
    auto lock = std::make_unique<QLockFile>(nativePath(location.lockPath()));
    // The lock lasts as long as the instance; only a dead owner makes it stale.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        const bool held = lock->error() == QLockFile::LockFailedError;
        return std::unexpected(
            Refusal{held, held ? "another instance is running"
                               : "cannot lock “" + location.lockPath().string() + "”"});
    }
    const auto listener = bindListener(location.socketPath());
    if (!listener) {
        return std::unexpected(Refusal{
            false,
            "cannot listen on “" + location.socketPath().string() + "”: " + listener.error()});
    }
    return std::unique_ptr<InstanceServer>{
        new InstanceServer(std::move(lock), *listener, location.socketPath(), handler)};
}

InstanceServer::InstanceServer(std::unique_ptr<QLockFile> lock, int listener,
                               std::filesystem::path socketPath, InstanceRequestHandler& handler)
    : lock_(std::move(lock)),
      listener_(listener),
      socketPath_(std::move(socketPath)),
      handler_(handler),
      acceptable_(std::make_unique<QSocketNotifier>(listener, QSocketNotifier::Read)) {
    QObject::connect(acceptable_.get(), &QSocketNotifier::activated, [this] { accept(); });
}

InstanceServer::~InstanceServer() {
    connections_.clear();
    acceptable_.reset();
    ::close(listener_);
    ::unlink(socketPath_.c_str());
}

void InstanceServer::accept() {
    for (;;) {
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (client < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (connections_.size() >= kMaxConnections) {
            ::close(client);
            continue;
        }
        auto connection = std::make_shared<Connection>(client, handler_);
        const Connection* key = connection.get();
        connections_.emplace(key, connection);
        // Erased on the next turn: the connection may be inside its own call here.
        connection->start([this, key] {
            QTimer::singleShot(0, acceptable_.get(), [this, key] { connections_.erase(key); });
        });
    }
}

}  // namespace tilewise
