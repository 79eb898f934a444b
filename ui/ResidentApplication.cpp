#include "ui/ResidentApplication.h"

#include <QApplication>
#include <iostream>

#include "app/AppCoordinator.h"
#include "app/GridPanelController.h"
#include "app/InstanceServer.h"
#include "app/PanelCoordinator.h"
#include "app/PreferencesConnection.h"
#include "app/TerminationSignals.h"
#include "platform/ApplicationIdentity.h"
#include "platform/Log.h"
#include "platform/LostDisplay.h"
#include "ui/GridPanel.h"
#include "ui/PreviewOverlay.h"
#include "ui/WidgetViews.h"
#include "ui/preferences/PreferencesWindowController.h"

namespace tilewise {

int runResidentApplication(
    int argc, char** argv,
    const std::function<std::expected<std::unique_ptr<DesktopSession>, std::string>()>& openDesktop,
    const std::filesystem::path& settingsFile, const OnboardingTexts& onboardingTexts,
    const std::expected<InstanceLocation, std::string>& instance) {
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
    // Without its display it shuts down (and saves) as when asked to quit, from any thread.
    LostDisplay::setHandler([] {
        if (auto* running = QCoreApplication::instance()) {
            QMetaObject::invokeMethod(
                running, [] { QCoreApplication::exit(LostDisplay::kExitStatus); },
                Qt::QueuedConnection);
        }
    });

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
    PanelCoordinator panelFlow{coordinator, panelController, overlay};
    PreferencesConnection preferencesConnection{coordinator, panelPlatform};
    PreferencesWindowController preferences{preferencesConnection.context()};
    preferencesConnection.setWindow(&preferences);
    preferencesConnection.setShowPreview(
        [&panelFlow](std::optional<DisplayInfo> display, std::uintptr_t below) {
            panelFlow.setPreferencesPreview(display, below);
        });
    coordinator.setShowPreferences([&preferences] { preferences.show(); });
    coordinator.onQuit = [] { QCoreApplication::quit(); };
    const TerminationSignals terminationSignals{[] { QCoreApplication::quit(); }};
    QObject::connect(&application, &QCoreApplication::aboutToQuit,
                     [&coordinator] { coordinator.terminate(); });
    // Other `tilewise` processes reach this one through its socket; without one it still runs.
    std::unique_ptr<InstanceServer> server;
    auto listening = instance ? InstanceServer::listen(*instance, coordinator)
                              : std::unexpected(InstanceServer::Refusal{false, instance.error()});
    if (listening) {
        server = std::move(*listening);
    } else if (listening.error().anotherInstance) {
        // Started at the same moment as another one, which won.
        return 0;
    } else {
        Log::error(LogCategory::app, "no instance socket: " + listening.error().reason);
    }
    coordinator.start();
    return QApplication::exec();
}

}  // namespace tilewise
