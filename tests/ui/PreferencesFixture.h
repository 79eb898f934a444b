#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QKeyEvent>
#include <QTest>
#include <vector>

#include "app/AccessibilityPermission.h"
#include "app/PreferencesContext.h"
#include "app/SettingsStore.h"
#include "platform/ManualScheduler.h"
#include "platform/sim/SimAccessibility.h"
#include "platform/sim/SimKeyboardLayout.h"
#include "platform/sim/SimLoginItem.h"
#include "platform/sim/SimUserDefaults.h"
#include "platform/sim/SimWorkspace.h"
#include "tests/support/Files.h"

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tilewise {

/// The services behind a preferences window on the simulated desktop, with the settings file in
/// a fresh folder; counts every settings assignment and follows what the window reports.
class PreferencesFixture : public ::testing::Test {
  protected:
    PreferencesFixture();

    /// Assigns `edit` applied to the current settings, as another part of the application would.
    void changeSettings(const std::function<void(TilewiseSettings&)>& edit);
    /// Publishes new shortcut statuses, as the coordinator does after registering.
    void publishStatuses(ShortcutStatuses statuses);

    /// The widget named `objectName` inside `root`; fails the test when there is none.
    template <typename Widget>
    static Widget* find(QWidget& root, const char* objectName) {
        auto* widget = root.findChild<Widget*>(objectName);
        EXPECT_NE(widget, nullptr) << "no " << objectName;
        return widget;
    }

    /// Clicks a check box on its box, as a user does (the middle of a wide one is empty space).
    static void toggle(QAbstractButton* box);

    /// A key press as the X server reports it: the key's X keycode and the held modifiers.
    static QKeyEvent xKeyPress(quint32 xKeycode, Qt::KeyboardModifiers modifiers, int qtKey,
                               const QString& text = {});

    TemporaryDirectory directory;
    ManualScheduler scheduler;
    SettingsStore store{directory.path() / "settings.json", scheduler};
    sim::SimDesktop desktop;
    sim::SimAccessibility accessibility{desktop};
    sim::SimWorkspace workspace{desktop, scheduler};
    AccessibilityPermission permission{accessibility, workspace, scheduler};
    sim::SimLoginItem loginItem;
    sim::SimKeyboardLayout keyboardLayout;
    sim::SimUserDefaults userDefaults;
    ShortcutStatuses statuses;
    Publisher<ShortcutStatuses> statusPublisher;
    std::vector<TilewiseSettings> writes;
    std::vector<bool> gridTabChanges;
    int onboardingRequests = 0;
    int divvyImports = 0;
    int windowStateChanges = 0;
    PreferencesContext context;

  private:
    Subscription writeCounter_;
};

}  // namespace tilewise
