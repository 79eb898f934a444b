#include "ui/TrayStatusItem.h"

#include <QApplication>
#include <QCursor>
#include <QStyle>

#include "platform/Log.h"
#include "ui/MenuBarIcon.h"

namespace tilewise {
namespace {

void logMissingTrayOnce() {
    static bool logged = false;
    if (!logged && !QSystemTrayIcon::isSystemTrayAvailable()) {
        logged = true;
        Log::info(LogCategory::app,
                  "no system tray available; the status item appears once a tray starts");
    }
}

// An ampersand in a layout's name is text, not a mnemonic.
QString menuText(const std::string& title) {
    return QString::fromStdString(title).replace('&', "&&");
}

}  // namespace

TrayStatusItem::TrayStatusItem() {
    menu_.setAccessibleName("Tilewise");
    tray_.setIcon(MenuBarIcon::icon());
    tray_.setToolTip(MenuBarIcon::kAccessibleName);
    tray_.setContextMenu(&menu_);
    // Some trays never announce the opening; the menu is rebuilt on every change anyway.
    QObject::connect(&menu_, &QMenu::aboutToShow, this, [this] {
        if (onMenuWillOpen) {
            onMenuWillOpen();
        }
    });
    QObject::connect(&tray_, &QSystemTrayIcon::activated, this,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         if (reason == QSystemTrayIcon::Trigger) {
                             menu_.popup(QCursor::pos());
                         }
                     });
    logMissingTrayOnce();
    tray_.show();
}

TrayStatusItem::~TrayStatusItem() {
    tray_.hide();
}

void TrayStatusItem::setMenu(const std::vector<StatusMenuItem>& items) {
    menu_.clear();
    for (const auto& item : items) {
        addItem(item);
    }
}

void TrayStatusItem::addItem(const StatusMenuItem& item) {
    if (item.isSeparator) {
        menu_.addSeparator();
        return;
    }
    QAction* action = menu_.addAction(menuText(item.title));
    if (item.action == StatusMenuItem::Action::none) {
        action->setEnabled(false);
        return;
    }
    if (item.showsWarning) {
        action->setIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning));
    }
    if (!item.keyEquivalent.empty()) {
        action->setShortcut(QKeySequence{QString::fromStdString("Ctrl+" + item.keyEquivalent)});
    }
    // Queued: the choice may rebuild this menu, which deletes the action being triggered.
    QObject::connect(
        action, &QAction::triggered, this,
        [this, item] {
            if (onChoose) {
                onChoose(item);
            }
        },
        Qt::QueuedConnection);
}

}  // namespace tilewise
