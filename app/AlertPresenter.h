#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tilewise {

/// A modal message with its buttons; no buttons means the platform's single default button.
struct Alert {
    std::string message;
    std::string informativeText;
    std::vector<std::string> buttons;

    bool operator==(const Alert&) const = default;
};

/// Shows the application's modal alerts and its About box, in front of other applications.
class AlertPresenter {
  public:
    AlertPresenter() = default;
    AlertPresenter(const AlertPresenter&) = delete;
    AlertPresenter& operator=(const AlertPresenter&) = delete;
    virtual ~AlertPresenter() = default;

    /// Runs `alert` modally; the index of the button chosen, absent when it was dismissed
    /// otherwise.
    virtual std::optional<std::size_t> run(const Alert& alert) = 0;
    /// The application's About box, with `credits` below its name and version.
    virtual void showAbout(const std::string& credits) = 0;
};

}  // namespace tilewise
