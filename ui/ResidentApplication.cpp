#include "ui/ResidentApplication.h"

#include <QApplication>
#include <iostream>

#include "app/AppCoordinator.h"
#include "app/TerminationSignals.h"
#include "platform/ApplicationIdentity.h"
#include "ui/WidgetViews.h"

namespace tilewise {

int runResidentApplication(int argc, char** argv, const DesktopLauncher& openDesktop,
                           std::string_view backend, const std::filesystem::path& settingsFile,
                           const OnboardingTexts& onboardingTexts) {
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
    coordinator.start();
    return QApplication::exec();
}

}  // namespace tilewise
