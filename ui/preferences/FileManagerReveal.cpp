#include "ui/preferences/FileManagerReveal.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "platform/Log.h"

namespace tilewise {
namespace {

// A file manager that is started by the bus for this call may take a few seconds to answer.
constexpr int kAnswerTimeoutMs = 10'000;

void openFolder(const std::filesystem::path& file) {
    const auto folder = file.parent_path();
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder.string()))))
        Log::error(LogCategory::app, "no file manager could show the folder " + folder.string());
}

}  // namespace

// Asked without waiting, so a file manager that does not answer never holds up the window.
void revealInFileManager(const std::filesystem::path& file) {
    auto bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openFolder(file);
        return;
    }
    auto showItems = QDBusMessage::createMethodCall("org.freedesktop.FileManager1",
                                                    "/org/freedesktop/FileManager1",
                                                    "org.freedesktop.FileManager1", "ShowItems");
    showItems << QStringList{QUrl::fromLocalFile(QString::fromStdString(file.string())).toString()}
              << QString{};
    auto* answer = new QDBusPendingCallWatcher(bus.asyncCall(showItems, kAnswerTimeoutMs));
    QObject::connect(answer, &QDBusPendingCallWatcher::finished,
                     [file](QDBusPendingCallWatcher* call) {
                         if (call->isError())
                             openFolder(file);
                         call->deleteLater();
                     });
}

}  // namespace tilewise
