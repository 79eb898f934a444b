#include "app/InstanceServer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QLocalSocket>
#include <fstream>
#include <future>
#include <thread>

#include "app/InstanceProtocol.h"
#include "cli/InstanceClient.h"
#include "tests/cli/CommandLineRun.h"
#include "tests/support/Files.h"

namespace tilewise {
namespace {

using ::testing::HasSubstr;
using namespace std::chrono_literals;

// Answers at once, or keeps the replies for the test to give when `deferred` is set.
class FakeHandler final : public InstanceRequestHandler {
  public:
    void applyLayout(const ApplyLayoutRequest& request, Reply reply) override {
        answer(request, {0, "applied " + request.layout + "\n", ""}, std::move(reply));
    }
    void placeCells(const PlaceCellsRequest& request, Reply reply) override {
        answer(request, {1, "", "placed\n"}, std::move(reply));
    }
    void showGrid(Reply reply) override { answer(ShowGridRequest{}, {}, std::move(reply)); }
    void showPreferences(Reply reply) override {
        answer(ShowPreferencesRequest{}, {}, std::move(reply));
    }

    std::vector<InstanceRequest> requests;
    std::vector<std::pair<Reply, CommandReply>> pending;
    bool deferred = false;

  private:
    void answer(InstanceRequest request, CommandReply answer, Reply reply) {
        requests.push_back(std::move(request));
        if (deferred)
            pending.emplace_back(std::move(reply), std::move(answer));
        else
            reply(answer);
    }
};

// Runs the event loop until `done` holds; the deadline only guards against a hang.
template <typename Done>
void runLoopUntil(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!done() && std::chrono::steady_clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Runs `work`, which blocks, beside the event loop the server answers on.
template <typename Work>
auto besideTheLoop(Work work) {
    auto running = std::async(std::launch::async, std::move(work));
    runLoopUntil([&] { return running.wait_for(0ms) == std::future_status::ready; });
    return running.get();
}

class InstanceServerTest : public ::testing::Test {
  protected:
    // Writes `bytes` on a fresh connection and runs the loop until `lines` reply lines came back
    // or the connection ended.
    std::vector<std::string> exchange(const std::string& bytes, std::size_t lines = 1) {
        QLocalSocket socket;
        socket.connectToServer(QString::fromStdString(location.socketPath()));
        socket.write(bytes.data(), static_cast<qint64>(bytes.size()));
        QByteArray received;
        runLoopUntil([&] {
            received += socket.readAll();
            return static_cast<std::size_t>(received.count('\n')) >= lines ||
                   socket.state() == QLocalSocket::UnconnectedState;
        });
        received += socket.readAll();
        std::vector<std::string> result;
        for (const auto& line : received.split('\n')) {
            if (!line.isEmpty())
                result.push_back(line.toStdString());
        }
        return result;
    }

    CommandReply reply(const std::string& line) {
        return InstanceProtocol::decodeReply(line).value();
    }

    int argc = 1;
    char name[9] = "tilewise";
    char* argv[2] = {name, nullptr};
    QCoreApplication application{argc, argv};
    TemporaryDirectory directory;
    InstanceLocation location{directory.path(), "test"};
    FakeHandler handler;
};

TEST_F(InstanceServerTest, EveryRequestSurvivesTheWireAndReachesTheHandler) {
    const std::vector<InstanceRequest> requests{
        ApplyLayoutRequest{"Left “half” ✓"}, PlaceCellsRequest{{3, 2}, {0, 0, 1, 1}, std::nullopt},
        PlaceCellsRequest{{6, 4}, {5, 3, 2, 1}, PanelPlacement::displayWithTargetWindow},
        ShowGridRequest{}, ShowPreferencesRequest{}};
    auto server = InstanceServer::listen(location, handler);
    ASSERT_TRUE(server.has_value()) << server.error().reason;
    for (const auto& request : requests) {
        const auto line = InstanceProtocol::encode(request);
        EXPECT_EQ(InstanceProtocol::decodeRequest(line.substr(0, line.size() - 1)), request);
        EXPECT_EQ(exchange(line).size(), 1u);
    }
    EXPECT_EQ(handler.requests, requests);
    EXPECT_EQ(reply(exchange(InstanceProtocol::encode(ApplyLayoutRequest{"L"}))[0]),
              (CommandReply{0, "applied L\n", ""}));
}

TEST_F(InstanceServerTest, HostileRequestsGetAnErrorReplyAndNeverStopTheServer) {
    struct Case {
        std::string bytes;
        std::string because;
    };
    const std::vector<Case> cases{
        {"not json\n", "not a JSON object"},
        {"[1,2]\n", "not a JSON object"},
        {"\n", "not a JSON object"},
        {"{\"request\":\"apply\"\xff}\n", "not a JSON object"},
        {"{\"request\":\"format-disk\"}\n", "unknown request"},
        {"{\"request\":7}\n", "unknown request"},
        {"{\"request\":\"apply\"}\n", "needs the name or id"},
        {"{\"request\":\"apply\",\"layout\":[\"x\"]}\n", "needs the name or id"},
        {"{\"request\":\"place\",\"grid\":[3],\"cells\":[0,0,1,1]}\n", "needs a grid"},
        {"{\"request\":\"place\",\"grid\":[3,2],\"cells\":[0,0,1.5,1]}\n", "needs a grid"},
        {"{\"request\":\"place\",\"grid\":[3,2],\"cells\":[0,0,-1,1]}\n", "needs a grid"},
        {"{\"request\":\"place\",\"grid\":[1e300,2],\"cells\":[0,0,1,1]}\n", "needs a grid"},
        {"{\"request\":\"place\",\"grid\":[3,2],\"cells\":[0,0,1,1],\"display\":\"moon\"}\n",
         "unknown display"},
        {std::string(InstanceProtocol::kMaxLineLength + 1, ' ') + "{}\n", "longer than"},
        {std::string(3 * InstanceProtocol::kMaxLineLength, 'x'), "too long"},
    };
    auto server = InstanceServer::listen(location, handler);
    ASSERT_TRUE(server.has_value()) << server.error().reason;
    for (const auto& [bytes, because] : cases) {
        const auto lines = exchange(bytes);
        ASSERT_EQ(lines.size(), 1u) << because;
        const auto answer = reply(lines[0]);
        EXPECT_EQ(answer.exitStatus, ExitStatus::usage) << because;
        EXPECT_THAT(answer.error, HasSubstr(because));
    }
    EXPECT_TRUE(handler.requests.empty());
    // A bad line does not cost the connection the requests that follow it.
    const auto lines = exchange("nonsense\n{\"request\":\"show-grid\"}\n", 2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(reply(lines[1]).exitStatus, 0);
    EXPECT_EQ(handler.requests.size(), 1u);
}

TEST_F(InstanceServerTest, RequestsOfOneConnectionAreServedOneAtATimeInOrder) {
    auto server = InstanceServer::listen(location, handler);
    ASSERT_TRUE(server.has_value()) << server.error().reason;
    handler.deferred = true;
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(location.socketPath()));
    const auto both = InstanceProtocol::encode(ApplyLayoutRequest{"A"}) +
                      InstanceProtocol::encode(ApplyLayoutRequest{"B"});
    socket.write(both.data(), static_cast<qint64>(both.size()));
    runLoopUntil([&] { return !handler.pending.empty(); });
    ASSERT_EQ(handler.pending.size(), 1u);
    handler.pending[0].first(handler.pending[0].second);
    ASSERT_EQ(handler.pending.size(), 2u);
    handler.pending[1].first(handler.pending[1].second);
    // A handler that answers twice is heard once.
    handler.pending[1].first(handler.pending[1].second);
    QByteArray received;
    runLoopUntil([&] { return (received += socket.readAll()).count('\n') >= 2; });
    EXPECT_EQ(received.toStdString(),
              InstanceProtocol::encode(CommandReply{0, "applied A\n", ""}) +
                  InstanceProtocol::encode(CommandReply{0, "applied B\n", ""}));
}

TEST_F(InstanceServerTest, ASecondInstanceIsRefusedWhileTheFirstKeepsItsSocket) {
    auto first = InstanceServer::listen(location, handler);
    ASSERT_TRUE(first.has_value()) << first.error().reason;
    FakeHandler other;
    const auto second = InstanceServer::listen(location, other);
    ASSERT_FALSE(second.has_value());
    EXPECT_TRUE(second.error().anotherInstance);
    EXPECT_EQ(exchange(InstanceProtocol::encode(ShowGridRequest{})).size(), 1u);
    EXPECT_EQ(handler.requests.size(), 1u);
    EXPECT_TRUE(other.requests.empty());
    first->reset();
    EXPECT_TRUE(InstanceServer::listen(location, other).has_value());
}

TEST_F(InstanceServerTest, AKilledInstancesLockAndSocketNeverBlockANewStart) {
    // What a killed instance leaves: a lock naming a process that is gone, a bound socket file.
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    std::ofstream{location.lockPath()} << gone << "\ntilewise\n"
                                       << QSysInfo::machineHostName().toStdString() << "\n";
    const int leftover = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, location.socketPath().c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(leftover, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(leftover);

    EXPECT_FALSE(askRunningInstance(location, ShowGridRequest{}, 1s).has_value());
    auto server = InstanceServer::listen(location, handler);
    ASSERT_TRUE(server.has_value()) << server.error().reason;
    EXPECT_EQ(exchange(InstanceProtocol::encode(ShowGridRequest{})).size(), 1u);
}

TEST_F(InstanceServerTest, TheClientGetsTheRepliesOrSaysWhyNot) {
    EXPECT_FALSE(askRunningInstance(location, ShowGridRequest{}, 1s).has_value());
    auto server = InstanceServer::listen(location, handler);
    ASSERT_TRUE(server.has_value()) << server.error().reason;
    const auto ask = [this](std::chrono::milliseconds timeout) {
        return besideTheLoop([this, timeout] {
            return askRunningInstance(location, ApplyLayoutRequest{"Left"}, timeout);
        });
    };
    EXPECT_EQ(ask(5s), (CommandReply{0, "applied Left\n", ""}));
    handler.deferred = true;
    const auto silent = ask(300ms);
    ASSERT_TRUE(silent.has_value());
    EXPECT_EQ(silent->exitStatus, ExitStatus::failure);
    EXPECT_THAT(silent->error, HasSubstr("did not answer in time"));
}

TEST_F(InstanceServerTest, CommandsGoToTheRunningInstanceUnlessTheyNameTheirOwnSettings) {
    const auto run = [](std::vector<std::string> arguments) {
        return besideTheLoop([arguments] { return runTilewise(arguments); });
    };
    // No instance: the command does the work itself, here without a desktop to do it on.
    EXPECT_THAT(run({"--platform=sim", "apply", "Left"}).err, HasSubstr("no “sim” desktop"));
    location = InstanceLocation::forBackend("sim").value();
    auto server = InstanceServer::listen(location, handler);
    ASSERT_TRUE(server.has_value()) << server.error().reason;
    const auto applied = run({"--platform=sim", "apply", "Left"});
    EXPECT_EQ(applied.status, 0);
    EXPECT_EQ(applied.out, "applied Left\n");
    const auto placed = run({"--platform=sim", "place", "--grid", "3x2", "--cells", "0,0:1,1"});
    EXPECT_EQ(placed.status, 1);
    EXPECT_EQ(placed.err, "placed\n");
    EXPECT_THAT(
        run({"--platform=sim", "apply", "Left", "-TilewiseSettingsPath", "/nonexistent"}).err,
        HasSubstr("no “sim” desktop"));
    EXPECT_EQ(handler.requests.size(), 2u);
}

}  // namespace
}  // namespace tilewise
