#include "ui/OnboardingOnFirstUse.h"

namespace tilewise {

void OnboardingOnFirstUse::show() {
    if (window_ == nullptr) {
        window_ = std::make_unique<OnboardingWindow>(texts_, [this] {
            if (onOpenSettings) {
                onOpenSettings();
            }
        });
        window_->setTrusted(trusted_);
    }
    window_->present();
}

void OnboardingOnFirstUse::close() {
    if (window_ != nullptr) {
        window_->close();
    }
}

void OnboardingOnFirstUse::setTrusted(bool trusted) {
    trusted_ = trusted;
    if (window_ != nullptr) {
        window_->setTrusted(trusted);
    }
}

}  // namespace tilewise
