#pragma once

#include <functional>

namespace tilewise {

/// The window that explains why Tilewise cannot arrange windows yet and how to change that.
/// It is created once and reopened as needed.
class OnboardingView {
  public:
    OnboardingView() = default;
    OnboardingView(const OnboardingView&) = delete;
    OnboardingView& operator=(const OnboardingView&) = delete;
    virtual ~OnboardingView() = default;

    /// Opens the window (or brings it forward) in front of other applications.
    virtual void show() = 0;
    virtual void close() = 0;
    virtual bool isVisible() const = 0;
    /// The status line: waiting for access, or access granted.
    virtual void setTrusted(bool trusted) = 0;

    /// Called when the user presses the window's button.
    std::function<void()> onOpenSettings;
};

}  // namespace tilewise
