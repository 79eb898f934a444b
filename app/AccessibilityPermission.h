#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string_view>

#include "platform/Accessibility.h"
#include "platform/Publisher.h"
#include "platform/Scheduler.h"
#include "platform/Workspace.h"

namespace tilewise {

/// Whether the process is trusted for Accessibility, kept current by refreshing: the system
/// sends no notice, so it is re-read at the moments that matter and polled every second while
/// the onboarding window is open. Main thread only.
class AccessibilityPermission {
  public:
    static constexpr Scheduler::Duration kPollInterval{1000};
    /// The Privacy & Security › Accessibility page of the system settings.
    static constexpr std::string_view kSystemSettingsURL =
        "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility";

    AccessibilityPermission(Accessibility& accessibility, Workspace& workspace,
                            Scheduler& scheduler);
    AccessibilityPermission(const AccessibilityPermission&) = delete;
    AccessibilityPermission& operator=(const AccessibilityPermission&) = delete;
    ~AccessibilityPermission();

    bool isTrusted() const { return isTrusted_; }
    /// Re-reads the trust state. On a change: tells the subscribers and `onChange`, and once
    /// trusted stops polling and closes the onboarding window.
    void refresh();

    /// Follows `isTrusted`: `observer` is called with every new value while subscribed.
    [[nodiscard]] Subscription subscribe(std::function<void(bool)> observer);

    /// Starts (or restarts: there is never more than one) the 1-second poll. Each tick
    /// refreshes, then goes on only while `windowIsVisible` says the onboarding window shows.
    void startPolling(std::function<bool()> windowIsVisible);
    void stopPolling();
    bool isPolling() const { return timer_.has_value(); }

    /// Asks the system to show its own permission prompt; returns the trust state it gives.
    bool promptForTrust();
    /// Opens the Accessibility page of the system settings; false when nothing could.
    bool openSystemSettings();

    /// Called with the new value whenever `refresh` finds a change.
    std::function<void(bool)> onChange;
    /// Set by the onboarding window: closes it once access has been granted.
    std::function<void()> closeOnboardingWindow;

  private:
    void scheduleTick();
    void tick();

    Accessibility& accessibility_;
    Workspace& workspace_;
    Scheduler& scheduler_;
    bool isTrusted_;
    Publisher<bool> subscribers_;
    std::optional<Scheduler::TaskId> timer_;
    std::function<bool()> windowIsVisible_;
};

}  // namespace tilewise
