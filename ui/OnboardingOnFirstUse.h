#pragma once

#include <memory>

#include "app/OnboardingTexts.h"
#include "app/OnboardingView.h"
#include "ui/OnboardingWindow.h"

namespace tilewise {

/// The onboarding window, made when it is first shown and kept: most runs never show it, and
/// its text layout alone loads fonts and icon images the resident application otherwise never
/// needs.
class OnboardingOnFirstUse final : public OnboardingView {
  public:
    explicit OnboardingOnFirstUse(const OnboardingTexts& texts) : texts_(texts) {}

    void show() override;
    void close() override;
    bool isVisible() const override { return window_ != nullptr && window_->isVisible(); }
    void setTrusted(bool trusted) override;

  private:
    const OnboardingTexts& texts_;
    bool trusted_ = false;
    std::unique_ptr<OnboardingWindow> window_;
};

}  // namespace tilewise
