// The smallest tray program Qt makes: an icon with a two-entry menu. The resident application's
// memory is compared with this one's by bench/app-figures.
#include <QApplication>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char** argv) {
    QApplication application{argc, argv};
    QApplication::setQuitOnLastWindowClosed(false);
    QPixmap pixmap{22, 22};
    pixmap.fill(Qt::darkGray);
    QMenu menu;
    menu.addAction("About");
    menu.addAction("Quit", &application, &QCoreApplication::quit);
    QSystemTrayIcon tray{QIcon{pixmap}};
    tray.setContextMenu(&menu);
    tray.show();
    return QApplication::exec();
}
