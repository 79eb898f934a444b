#pragma once

#include "app/AlertPresenter.h"

namespace tilewise {

/// Alerts as modal message boxes, and the About box.
class MessageBoxAlerts final : public AlertPresenter {
  public:
    std::optional<std::size_t> run(const Alert& alert) override;
    void showAbout(const std::string& credits) override;
};

}  // namespace tilewise
