#pragma once

#include <functional>
#include <vector>

#include "app/StatusMenu.h"

namespace tilewise {

/// The status item on the desktop's panel and its menu. It exists while the user wants the
/// icon; destroying it removes the item.
class StatusItemView {
  public:
    StatusItemView() = default;
    StatusItemView(const StatusItemView&) = delete;
    StatusItemView& operator=(const StatusItemView&) = delete;
    virtual ~StatusItemView() = default;

    /// Replaces every entry of the menu.
    virtual void setMenu(const std::vector<StatusMenuItem>& items) = 0;

    /// Called just before the menu opens, so that it can be rebuilt (not every tray host
    /// announces the opening: the menu is also rebuilt whenever one of its inputs changes).
    std::function<void()> onMenuWillOpen;
    /// Called with the entry the user chose.
    std::function<void(const StatusMenuItem&)> onChoose;
};

}  // namespace tilewise
