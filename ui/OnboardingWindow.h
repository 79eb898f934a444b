#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <functional>

#include "app/OnboardingTexts.h"

namespace tilewise {

/// The onboarding window: what the permission is for, the steps to give it, and a status line
/// that follows the trust state. `onOpenSettings` runs when its button is pressed.
class OnboardingWindow final : public QWidget {
  public:
    OnboardingWindow(const OnboardingTexts& texts, std::function<void()> onOpenSettings);

    /// Shows the window in front of other applications, centred when it was hidden.
    void present();
    void setTrusted(bool trusted);

  private:
    const OnboardingTexts& texts_;
    QLabel* statusIcon_;
    QLabel* status_;
    QPushButton* button_;
};

}  // namespace tilewise
