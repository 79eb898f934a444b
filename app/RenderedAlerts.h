#pragma once

#include "app/AlertPresenter.h"
#include "platform/PlatformTexts.h"

namespace tilewise {

/// Shows alerts through another presenter with every text rendered in the platform's words.
class RenderedAlerts final : public AlertPresenter {
  public:
    RenderedAlerts(AlertPresenter& presenter, const PlatformTexts& texts)
        : presenter_(presenter), texts_(texts) {}

    std::optional<std::size_t> run(const Alert& alert) override {
        Alert rendered{texts_.render(alert.message), texts_.render(alert.informativeText), {}};
        for (const auto& button : alert.buttons) {
            rendered.buttons.push_back(texts_.render(button));
        }
        return presenter_.run(rendered);
    }
    void showAbout(const std::string& credits) override {
        presenter_.showAbout(texts_.render(credits));
    }

  private:
    AlertPresenter& presenter_;
    const PlatformTexts& texts_;
};

}  // namespace tilewise
