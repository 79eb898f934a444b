#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "app/OnboardingTexts.h"
#include "app/OnboardingView.h"

namespace tilewise {

/// The onboarding window: what the permission is for, the steps to give it, and a status line
/// that follows the trust state.
class OnboardingWindow final : public QWidget, public OnboardingView {
  public:
    explicit OnboardingWindow(const OnboardingTexts& texts);

    void show() override;
    void close() override { QWidget::close(); }
    bool isVisible() const override { return QWidget::isVisible(); }
    void setTrusted(bool trusted) override;

  private:
    const OnboardingTexts& texts_;
    QLabel* statusIcon_;
    QLabel* status_;
    QPushButton* button_;
};

}  // namespace tilewise
