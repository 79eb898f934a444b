#pragma once

#include <expected>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "app/InstanceLocation.h"
#include "app/InstanceRequestHandler.h"

class QLockFile;
class QSocketNotifier;

namespace tilewise {

/// The running instance's socket: reads one JSON request per line from each client, hands it
/// to the handler and writes the reply as one line. A malformed, oversized or unknown request
/// gets an error reply; nothing a client sends stops the server. Main thread only; needs a Qt
/// event loop.
class InstanceServer {
  public:
    struct Refusal {
        bool anotherInstance = false;  ///< true when a live instance holds the location
        std::string reason;
    };

    /// Takes the location: its lock first, then its socket (a socket left by a killed instance
    /// is removed, since no live one can hold the lock). The handler must outlive the server.
    static std::expected<std::unique_ptr<InstanceServer>, Refusal> listen(
        const InstanceLocation& location, InstanceRequestHandler& handler);

    InstanceServer(const InstanceServer&) = delete;
    InstanceServer& operator=(const InstanceServer&) = delete;
    ~InstanceServer();

    /// Connections open at once; more are closed at once.
    static constexpr int kMaxConnections = 16;

  private:
    class Connection;

    InstanceServer(std::unique_ptr<QLockFile> lock, int listener, std::filesystem::path socketPath,
                   InstanceRequestHandler& handler);
    void accept();

    std::unique_ptr<QLockFile> lock_;
    int listener_;
    std::filesystem::path socketPath_;
    InstanceRequestHandler& handler_;
    std::unique_ptr<QSocketNotifier> acceptable_;
    std::map<const Connection*, std::shared_ptr<Connection>> connections_;
};

}  // namespace tilewise
