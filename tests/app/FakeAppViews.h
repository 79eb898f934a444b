#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/AppViews.h"
#include "app/GridPanelFlow.h"

namespace tilewise {

/// Views that remember what they were asked to show; alerts answer from a script.
class FakeAppViews final : public AppViews {
  public:
    struct StatusItem final : StatusItemView {
        explicit StatusItem(FakeAppViews& owner) : owner(owner) { owner.statusItem = this; }
        ~StatusItem() override { owner.statusItem = nullptr; }
        void setMenu(const std::vector<StatusMenuItem>& items) override { menu = items; }
        /// The titles of the entries, separators as "-".
        std::vector<std::string> titles() const;
        /// Opens the menu as a user would and chooses the entry titled `title`; false when
        /// there is none.
        bool choose(const std::string& title);

        FakeAppViews& owner;
        std::vector<StatusMenuItem> menu;
    };

    struct Onboarding final : OnboardingView {
        void show() override {
            visible = true;
            ++shown;
        }
        void close() override { visible = false; }
        bool isVisible() const override { return visible; }
        void setTrusted(bool isTrusted) override { trusted = isTrusted; }

        bool visible = false;
        int shown = 0;
        std::optional<bool> trusted;
    };

    struct Alerts final : AlertPresenter {
        std::optional<std::size_t> run(const Alert& alert) override {
            shown.push_back(alert);
            if (answers.empty())
                return std::nullopt;
            const auto answer = answers.front();
            answers.pop_front();
            return answer;
        }
        void showAbout(const std::string& text) override { credits = text; }

        std::vector<Alert> shown;
        std::deque<std::optional<std::size_t>> answers;
        std::optional<std::string> credits;
    };

    std::unique_ptr<StatusItemView> makeStatusItem() override {
        ++statusItemsMade;
        return std::make_unique<StatusItem>(*this);
    }
    OnboardingView& onboarding() override { return onboardingWindow; }
    AlertPresenter& alerts() override { return alertPresenter; }

    StatusItem* statusItem = nullptr;
    int statusItemsMade = 0;
    Onboarding onboardingWindow;
    Alerts alertPresenter;
};

/// A grid panel that is open or closed as the test says, on a window and display it is given.
class FakeGridPanel final : public GridPanelFlow {
  public:
    bool isOpen() const override { return open; }
    std::optional<WindowTarget> target() const override { return panelTarget; }
    std::optional<DisplayInfo> display() const override { return panelDisplay; }
    void show() override {
        open = true;
        ++shows;
    }
    void dismiss() override {
        open = false;
        ++dismissals;
    }
    void setOptions(bool keep, bool fade) override {
        keepOpen = keep;
        fadesOut = fade;
    }
    void applicationActivated() override {}

    bool open = false;
    std::optional<WindowTarget> panelTarget;
    std::optional<DisplayInfo> panelDisplay;
    bool keepOpen = false;
    bool fadesOut = false;
    int shows = 0;
    int dismissals = 0;
};

}  // namespace tilewise
