#include "cli/InstanceFront.h"

#include <algorithm>
#include <chrono>

#include "app/InstanceLocation.h"
#include "app/SettingsPathOption.h"
#include "cli/BackendOption.h"
#include "cli/InstanceClient.h"
#include "cli/RequestCommands.h"
#include "platform/PlatformTexts.h"

namespace tilewise {
namespace {

constexpr std::chrono::milliseconds kShowTimeout{5'000};
// Long enough for an application that answers slowly on every attempt of a placement.
constexpr std::chrono::milliseconds kPlacementTimeout{15'000};

struct Question {
    std::string_view backend;
    InstanceRequest request;
    std::chrono::milliseconds timeout;
};

std::optional<Question> questionOf(const std::vector<std::string>& arguments) {
    if (const auto backend = BackendOption::residentBackend(arguments))
        return Question{*backend, ShowPreferencesRequest{}, kShowTimeout};
    const auto choice = BackendOption::leading(arguments);
    const std::vector<std::string> rest{arguments.begin() + static_cast<long>(choice.arguments),
                                        arguments.end()};
    if (rest.empty() || SettingsPathOption::value(rest))
        return std::nullopt;
    const auto& commands = requestCommands();
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [&](const Subcommand& c) { return c.name == rest.front(); });
    if (command == commands.end())
        return std::nullopt;
    // A usage error is said by the command line itself.
    auto request = command->request({rest.begin() + 1, rest.end()});
    if (!request)
        return std::nullopt;
    return Question{choice.backend, std::move(*request), kPlacementTimeout};
}

}  // namespace

std::optional<int> answerThroughRunningInstance(const std::vector<std::string>& arguments,
                                                std::ostream& out, std::ostream& err) {
    const auto question = questionOf(arguments);
    if (!question)
        return std::nullopt;
    const auto location = InstanceLocation::forBackend(question->backend);
    if (!location)
        return std::nullopt;
    const auto reply = askRunningInstance(*location, question->request, question->timeout);
    if (!reply)
        return std::nullopt;
    const auto& texts = PlatformTexts::forBackend(question->backend);
    out << texts.render(reply->output);
    err << texts.render(reply->error);
    return reply->exitStatus;
}

}  // namespace tilewise
