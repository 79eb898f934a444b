#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include "app/StatusItemView.h"

namespace tilewise {

/// The status item as a system tray icon with its menu. Without a tray on the desktop it
/// stays ready and appears once one starts.
class TrayStatusItem final : public QObject, public StatusItemView {
  public:
    TrayStatusItem();
    ~TrayStatusItem() override;

    void setMenu(const std::vector<StatusMenuItem>& items) override;

  private:
    void addItem(const StatusMenuItem& item);

    QMenu menu_;
    QSystemTrayIcon tray_;
};

}  // namespace tilewise
