#pragma once

#include "app/AppViews.h"
#include "app/OnboardingTexts.h"
#include "ui/MessageBoxAlerts.h"
#include "ui/OnboardingOnFirstUse.h"

namespace tilewise {

/// The application's widgets behind the coordinator's view interfaces.
class WidgetViews final : public AppViews {
  public:
    explicit WidgetViews(const OnboardingTexts& onboardingTexts) : onboarding_(onboardingTexts) {}

    std::unique_ptr<StatusItemView> makeStatusItem() override;
    OnboardingView& onboarding() override { return onboarding_; }
    AlertPresenter& alerts() override { return alerts_; }

  private:
    OnboardingOnFirstUse onboarding_;
    MessageBoxAlerts alerts_;
};

}  // namespace tilewise
