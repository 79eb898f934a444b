#include "ui/preferences/FileManagerReveal.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace tilewise {

bool revealInFileManager(const std::filesystem::path& file) {
    const auto url = QUrl::fromLocalFile(QString::fromStdString(file.string()));
    auto bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        QDBusInterface fileManager("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                                   "org.freedesktop.FileManager1", bus);
        if (fileManager.isValid()) {
            const QDBusReply<void> reply =
                fileManager.call("ShowItems", QStringList{url.toString()}, QString{});
            if (reply.isValid())
                return true;
        }
    }
    const auto folder = QUrl::fromLocalFile(QString::fromStdString(file.parent_path().string()));
    return QDesktopServices::openUrl(folder);
}

}  // namespace tilewise
