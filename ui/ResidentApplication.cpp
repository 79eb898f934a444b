#include "ui/ResidentApplication.h"

#include <QApplication>
#include <iostream>

#include "app/AppCoordinator.h"
#include "app/InstanceServer.h"
#include "app/TerminationSignals.h"
#include "platform/Log.h"
#include "ui/WidgetViews.h"

namespace tilewise {

int runResidentApplication(int argc, char** argv, const DesktopLauncher& openDesktop,
                           std::string_view backend, const std::filesystem::path& settingsFile,
                           const OnboardingTexts& onboardingTexts) {
    QApplication application{argc, argv};
    QApplication::setApplicationName("Tilewise");
    QApplication::setApplicationVersion(TILEWISE_VERSION);
    // Its windows come and go; only quitting ends it.
    QApplication::setQuitOnLastWindowClosed(false);

    auto session = openDesktop(backend);
    if (!session) {
        std::cerr << "tilewise: " << session.error() << "\n";
        return 1;
    }
    auto& desktop = **session;
    WidgetViews views{onboardingTexts};
    AppCoordinator coordinator{desktop.platform(), desktop.mainQueue(), desktop.makeSerialQueue(),
                               settingsFile, views};
    coordinator.onQuit = [] { QCoreApplication::quit(); };
    const TerminationSignals terminationSignals{[] { QCoreApplication::quit(); }};
    QObject::connect(&application, &QCoreApplication::aboutToQuit,
                     [&coordinator] { coordinator.terminate(); });
    // Other `tilewise` processes reach this one through its socket; without one it still runs.
    std::unique_ptr<InstanceServer> server;
    const auto location = InstanceLocation::forBackend(backend);
    auto listening = location ? InstanceServer::listen(*location, coordinator)
                              : std::unexpected(InstanceServer::Refusal{false, location.error()});
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
