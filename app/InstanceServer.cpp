#include "app/InstanceServer.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>

#include "app/InstanceProtocol.h"

namespace tilewise {
namespace {

// A client that holds a connection without finishing a request loses it after this long.
constexpr int kIdleMilliseconds = 10'000;

QString nativePath(const std::filesystem::path& path) {
    return QString::fromStdString(path);
}

}  // namespace

/// One client: its unread bytes, one request in the handler at a time, replies in order.
class InstanceServer::Connection : public std::enable_shared_from_this<Connection> {
  public:
    Connection(QLocalSocket* socket, InstanceRequestHandler& handler)
        : socket_(socket), handler_(handler) {
        idle_.setSingleShot(true);
        idle_.setInterval(kIdleMilliseconds);
    }
    ~Connection() {
        socket_->disconnect();
        socket_->abort();
        socket_->deleteLater();
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void start(std::function<void()> onClosed) {
        QObject::connect(socket_, &QLocalSocket::readyRead, [this] { read(); });
        QObject::connect(socket_, &QLocalSocket::disconnected, std::move(onClosed));
        QObject::connect(&idle_, &QTimer::timeout, [this] { close(); });
        idle_.start();
        read();
    }

  private:
    void read() {
        buffer_ += socket_->readAll();
        dispatch();
    }

    void dispatch() {
        dispatching_ = true;
        while (!busy_ && !closing_) {
            const auto end = buffer_.indexOf('\n');
            if (end < 0) {
                if (static_cast<std::size_t>(buffer_.size()) > InstanceProtocol::kMaxLineLength) {
                    // Without a line end in reach the stream cannot be resynchronised.
                    send(CommandReply::failed("tilewise: the request is too long",
                                              ExitStatus::usage));
                    close();
                }
                break;
            }
            const std::string line = buffer_.left(end).toStdString();
            buffer_.remove(0, end + 1);
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

    void send(const CommandReply& reply) {
        const auto line = InstanceProtocol::encode(reply);
        socket_->write(line.data(), static_cast<qint64>(line.size()));
        socket_->flush();
    }

    void close() {
        closing_ = true;
        socket_->disconnectFromServer();
    }

    QLocalSocket* socket_;
    InstanceRequestHandler& handler_;
    QByteArray buffer_;
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
    std::unique_ptr<InstanceServer> server{new InstanceServer(std::move(lock), handler)};
    auto& socket = *server->server_;
    // No socket options: with them Qt would move the name over a live instance's socket.
    socket.setSocketOptions(QLocalServer::NoOptions);
    const auto path = nativePath(location.socketPath());
    if (!socket.listen(path) && socket.serverError() == QAbstractSocket::AddressInUseError) {
        // The lock is ours, so the socket is a killed instance's leftover.
        QLocalServer::removeServer(path);
        socket.listen(path);
    }
    if (!socket.isListening()) {
        return std::unexpected(Refusal{false, "cannot listen on “" +
                                                  location.socketPath().string() +
                                                  "”: " + socket.errorString().toStdString()});
    }
    QObject::connect(&socket, &QLocalServer::newConnection,
                     [raw = server.get()] { raw->accept(); });
    return server;
}

InstanceServer::InstanceServer(std::unique_ptr<QLockFile> lock, InstanceRequestHandler& handler)
    : lock_(std::move(lock)), handler_(handler), server_(std::make_unique<QLocalServer>()) {}

InstanceServer::~InstanceServer() {
    server_->close();
    connections_.clear();
}

void InstanceServer::accept() {
    while (auto* socket = server_->nextPendingConnection()) {
        socket->setParent(nullptr);
        if (connections_.size() >= kMaxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto connection = std::make_shared<Connection>(socket, handler_);
        const Connection* key = connection.get();
        connections_.emplace(key, connection);
        // Erased on the next turn: the socket is still inside its own signal here.
        connection->start([this, key] {
            QTimer::singleShot(0, server_.get(), [this, key] { connections_.erase(key); });
        });
    }
}

}  // namespace tilewise
