#pragma once

#include <QWidget>

#include "app/LaunchAtLogin.h"
#include "core/Settings.h"
#include "platform/Publisher.h"

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace tilewise {

struct PreferencesContext;
class ShortcutRecorder;
class StatusText;

/// The General tab: the permission's state, launch at login, the status icon, the panel's
/// shortcut and options, and the behaviour switches.
class GeneralPane : public QWidget {
    Q_OBJECT

  public:
    explicit GeneralPane(PreferencesContext& context, QWidget* parent = nullptr);
    ~GeneralPane() override;

    /// Changes the login item and shows its real state afterwards, saved in the settings.
    void setLaunch(bool on);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* buildPermissionSection();
    QWidget* buildStartupSection();
    QWidget* buildPanelSection();
    QWidget* buildBehaviorSection();
    QCheckBox* toggle(const QString& objectName, const QString& title,
                      bool TilewiseSettings::*field);
    void refresh();
    /// `text` as the platform words it.
    QString rendered(std::string_view text) const;

    PreferencesContext& context_;
    LaunchAtLogin::SwitchState launch_;
    QLabel* trust_ = nullptr;
    QPushButton* grantAccess_ = nullptr;
    QCheckBox* launchAtLogin_ = nullptr;
    QLabel* launchError_ = nullptr;
    QLabel* hiddenIconCaption_ = nullptr;
    QWidget* panelShortcutRow_ = nullptr;
    ShortcutRecorder* panelShortcut_ = nullptr;
    StatusText* panelShortcutStatus_ = nullptr;
    QComboBox* placement_ = nullptr;
    QLabel* selectOnScreenCaption_ = nullptr;
    std::vector<std::pair<QCheckBox*, bool TilewiseSettings::*>> toggles_;
    Subscription settingsSubscription_;
    Subscription statusSubscription_;
    Subscription trustSubscription_;
};

}  // namespace tilewise
