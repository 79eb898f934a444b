#include "app/AccessibilityPermission.h"

namespace tilewise {

AccessibilityPermission::AccessibilityPermission(Accessibility& accessibility, Workspace& workspace,
                                                 Scheduler& scheduler)
    : accessibility_(accessibility),
      workspace_(workspace),
      scheduler_(scheduler),
      isTrusted_(accessibility.isProcessTrusted()) {}

AccessibilityPermission::~AccessibilityPermission() {
    stopPolling();
}

void AccessibilityPermission::refresh() {
    const bool trusted = accessibility_.isProcessTrusted();
    if (trusted == isTrusted_) {
        return;
    }
    isTrusted_ = trusted;
    subscribers_.publish(trusted);
    if (onChange) {
        onChange(trusted);
    }
    if (trusted) {
        stopPolling();
        if (closeOnboardingWindow) {
            closeOnboardingWindow();
        }
    }
}

Subscription AccessibilityPermission::subscribe(std::function<void(bool)> observer) {
    return subscribers_.subscribe(std::move(observer));
}

void AccessibilityPermission::startPolling(std::function<bool()> windowIsVisible) {
    stopPolling();
    windowIsVisible_ = std::move(windowIsVisible);
    scheduleTick();
}

void AccessibilityPermission::stopPolling() {
    if (timer_) {
        scheduler_.cancel(*timer_);
        timer_.reset();
    }
}

void AccessibilityPermission::scheduleTick() {
    // The destructor cancels the timer, so the tick never runs on a destroyed object.
    timer_ = scheduler_.schedule(kPollInterval, [this] { tick(); });
}

void AccessibilityPermission::tick() {
    timer_.reset();
    const bool grantedBefore = isTrusted_;
    refresh();
    const bool closedByGrant = !grantedBefore && isTrusted_;
    if (!closedByGrant && windowIsVisible_ && windowIsVisible_()) {
        scheduleTick();
    }
}

bool AccessibilityPermission::promptForTrust() {
    return accessibility_.isProcessTrustedWithPrompt();
}

bool AccessibilityPermission::openSystemSettings() {
    return workspace_.openURL(kSystemSettingsURL);
}

}  // namespace tilewise
