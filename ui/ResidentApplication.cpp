#include "ui/ResidentApplication.h"

#include <QApplication>
#include <iostream>

#include "app/AppCoordinator.h"
#include "app/GridPanelController.h"
#include "app/PanelCoordinator.h"
#include "app/PreferencesConnection.h"
#include "app/TerminationSignals.h"
#include "platform/ApplicationIdentity.h"
#include "ui/GridPanel.h"
#include "ui/PreviewOverlay.h"
#include "ui/WidgetViews.h"
#include "ui/preferences/PreferencesWindowController.h"

namespace tilewise {

int runResidentApplication(
    int argc, char** argv,
    const std::function<std::expected<std::unique_ptr<DesktopSession>, std::string>()>& openDesktop,
    const std::filesystem::path& settingsFile, const OnboardingTexts& onboardingTexts) {
    QApplication application{argc, argv};
    QApplication::setApplicationName(
        QString::fromUtf8(kApplicationName.data(), kApplicationName.size()));
    QApplication::setApplicationVersion(
        QString::fromUtf8(kApplicationVersion.data(), kApplicationVersion.size()));
    // Lets the desktop match the windows and the tray icon to the installed desktop entry.
    QGuiApplication::setDesktopFileName(
        QString::fromUtf8(kApplicationId.data(), kApplicationId.size()));
    // Its windows come and go; only quitting ends it.
    QApplication::setQuitOnLastWindowClosed(false);

    auto session = openDesktop();
    if (!session) {
        std::cerr << "tilewise: " << session.error() << "\n";
        return 1;
    }
    auto& desktop = **session;
    WidgetViews views{onboardingTexts};
    AppCoordinator coordinator{desktop.platform(), desktop.mainQueue(), desktop.makeSerialQueue(),
                               settingsFile, views};
    PanelPlatform& panelPlatform = desktop.platform().panelPlatform();
    GridPanel panel{desktop.mainQueue()};
    PreviewOverlay overlay{panelPlatform};
    GridPanelController panelController{panel, desktop.mainQueue(), desktop.platform()};
    const PanelCoordinator panelFlow{coordinator, panelController, overlay};
    PreferencesConnection preferencesConnection{coordinator, desktop.platform().panelPlatform()};
    PreferencesWindowController preferences{preferencesConnection.context()};
    preferencesConnection.setWindow(&preferences);
    coordinator.setShowPreferences([&preferences] { preferences.show(); });
    coordinator.onQuit = [] { QCoreApplication::quit(); };
    const TerminationSignals terminationSignals{[] { QCoreApplication::quit(); }};
    QObject::connect(&application, &QCoreApplication::aboutToQuit,
                     [&coordinator] { coordinator.terminate(); });
    coordinator.start();
    return QApplication::exec();
}

}  // namespace tilewise
