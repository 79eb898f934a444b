#include "cli/InstanceClient.h"

#include <QLocalSocket>

#include "app/InstanceProtocol.h"

namespace tilewise {
namespace {

constexpr int kConnectMilliseconds = 1000;

CommandReply noAnswer(const std::string& why) {
    return CommandReply::failed("tilewise: the running Tilewise " + why);
}

}  // namespace

std::optional<CommandReply> askRunningInstance(const InstanceLocation& location,
                                               const InstanceRequest& request,
                                               std::chrono::milliseconds timeout) {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(location.socketPath()));
    if (!socket.waitForConnected(kConnectMilliseconds)) {
        return std::nullopt;
    }
    const auto line = InstanceProtocol::encode(request);
    socket.write(line.data(), static_cast<qint64>(line.size()));
    if (!socket.waitForBytesWritten(kConnectMilliseconds)) {
        return noAnswer("did not take the request");
    }
    QByteArray received;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!received.contains('\n')) {
        if (static_cast<std::size_t>(received.size()) > InstanceProtocol::kMaxLineLength) {
            return noAnswer("sent a reply that is too long");
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !socket.waitForReadyRead(static_cast<int>(left.count()))) {
            return noAnswer(socket.state() == QLocalSocket::ConnectedState
                                ? "did not answer in time"
                                : "closed the connection without an answer");
        }
        received += socket.readAll();
    }
    const auto reply =
        InstanceProtocol::decodeReply(received.left(received.indexOf('\n')).toStdString());
    if (!reply) {
        return noAnswer("sent a reply that cannot be read: " + reply.error());
    }
    return *reply;
}

}  // namespace tilewise
