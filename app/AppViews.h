#pragma once

#include <memory>

#include "app/AlertPresenter.h"
#include "app/OnboardingView.h"
#include "app/StatusItemView.h"

namespace tilewise {

/// The visible surface of the application that the coordinator talks to: widgets on the
/// desktop, fakes in tests.
class AppViews {
  public:
    AppViews() = default;
    AppViews(const AppViews&) = delete;
    AppViews& operator=(const AppViews&) = delete;
    virtual ~AppViews() = default;

    /// A new status item with an empty menu.
    virtual std::unique_ptr<StatusItemView> makeStatusItem() = 0;
    /// The one onboarding window.
    virtual OnboardingView& onboarding() = 0;
    virtual AlertPresenter& alerts() = 0;
};

}  // namespace tilewise
