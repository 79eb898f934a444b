#include "platform/x11/I3Workspaces.h"

#include <X11/Xatom.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>

#include "platform/x11/Properties.h"

namespace tilewise::x11 {
namespace {

constexpr std::string_view kMagic = "i3-ipc";
constexpr std::uint32_t kGetWorkspaces = 1;
// A running i3 answers at once; one that is stuck must not hold a placement up for long.
constexpr std::chrono::milliseconds kAnswerTimeout{250};
// Far more than any list of workspaces.
constexpr std::uint32_t kLargestAnswer = 1 << 20;

class Socket {
  public:
    explicit Socket(int descriptor) : descriptor_(descriptor) {}
    Socket(Socket&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    Socket& operator=(Socket&&) = delete;
    ~Socket() {
        if (descriptor_ >= 0)
            close(descriptor_);
    }
    int get() const { return descriptor_; }

  private:
    int descriptor_;
};

std::optional<Socket> connectTo(const std::string& path) {
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof(address.sun_path))
        return std::nullopt;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    std::optional<Socket> socket;
    socket.emplace(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (socket->get() < 0 ||
        connect(socket->get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        return std::nullopt;
    }
    return socket;
}

// Moves all of `length` bytes in the direction `transfer` goes, within the deadline.
template <typename Transfer>
bool transferAll(int descriptor, short events, char* data, std::size_t length,
                 std::chrono::steady_clock::time_point deadline, Transfer transfer) {
    while (length > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{descriptor, events, 0};
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0)
            return false;
        const ssize_t done = transfer(descriptor, data, length);
        if (done <= 0)
            return false;
        data += done;
        length -= static_cast<std::size_t>(done);
    }
    return true;
}

std::optional<std::string> askForWorkspaces(int descriptor) {
    const auto deadline = std::chrono::steady_clock::now() + kAnswerTimeout;
    std::string request(kMagic);
    const std::uint32_t header[2] = {0, kGetWorkspaces};
    request.append(reinterpret_cast<const char*>(header), sizeof(header));
    const auto send = [](int socket, char* data, std::size_t length) {
        return ::send(socket, data, length, MSG_NOSIGNAL);
    };
    const auto receive = [](int socket, char* data, std::size_t length) {
        return ::recv(socket, data, length, 0);
    };
    if (!transferAll(descriptor, POLLOUT, request.data(), request.size(), deadline, send))
        return std::nullopt;
    std::string answerHeader(kMagic.size() + sizeof(header), '\0');
    if (!transferAll(descriptor, POLLIN, answerHeader.data(), answerHeader.size(), deadline,
                     receive) ||
        !answerHeader.starts_with(kMagic)) {
        return std::nullopt;
    }
    std::uint32_t length = 0, type = 0;
    std::memcpy(&length, answerHeader.data() + kMagic.size(), sizeof(length));
    std::memcpy(&type, answerHeader.data() + kMagic.size() + sizeof(length), sizeof(type));
    if (type != kGetWorkspaces || length > kLargestAnswer)
        return std::nullopt;
    std::string answer(length, '\0');
    if (!transferAll(descriptor, POLLIN, answer.data(), answer.size(), deadline, receive))
        return std::nullopt;
    return answer;
}

std::optional<Rect> rectOf(const nlohmann::json& workspace) {
    const auto rect = workspace.find("rect");
    if (rect == workspace.end() || !rect->is_object())
        return std::nullopt;
    for (const char* key : {"x", "y", "width", "height"}) {
        if (!rect->contains(key) || !(*rect)[key].is_number_integer())
            return std::nullopt;
    }
    return Rect((*rect)["x"].get<double>(), (*rect)["y"].get<double>(),
                (*rect)["width"].get<double>(), (*rect)["height"].get<double>());
}

// Each monitor gets the visible workspace that lies on it; one without keeps its whole frame.
std::optional<std::vector<Rect>> areasOn(const nlohmann::json& workspaces,
                                         const std::vector<Monitor>& monitors) {
    if (!workspaces.is_array())
        return std::nullopt;
    std::vector<Rect> areas;
    for (const Monitor& monitor : monitors) {
        Rect area = monitor.frame;
        for (const auto& workspace : workspaces) {
            const auto rect = workspace.is_object() ? rectOf(workspace) : std::nullopt;
            const bool visible = workspace.is_object() && workspace.value("visible", false);
            if (visible && rect && rect->width() > 0 && rect->height() > 0 &&
                monitor.frame.contains(Point{rect->midX(), rect->midY()})) {
                area = rect->intersection(monitor.frame).value_or(monitor.frame);
            }
        }
        areas.push_back(area);
    }
    return areas;
}

}  // namespace

std::optional<std::vector<Rect>> i3WorkspaceAreas(const std::optional<std::string>& path,
                                                  const std::vector<Monitor>& monitors) {
    if (!path)
        return std::nullopt;
    const auto socket = connectTo(*path);
    if (!socket)
        return std::nullopt;
    const auto answer = askForWorkspaces(socket->get());
    if (!answer)
        return std::nullopt;
    const auto workspaces = nlohmann::json::parse(*answer, nullptr, false);
    if (workspaces.is_discarded())
        return std::nullopt;
    return areasOn(workspaces, monitors);
}

}  // namespace tilewise::x11
