#include "tests/app/FakeAppViews.h"

#include <algorithm>

namespace tilewise {

std::vector<std::string> FakeAppViews::StatusItem::titles() const {
    std::vector<std::string> titles;
    for (const auto& item : menu) {
        titles.push_back(item.isSeparator ? "-" : item.title);
    }
    return titles;
}

bool FakeAppViews::StatusItem::choose(const std::string& title) {
    if (onMenuWillOpen)
        onMenuWillOpen();
    const auto found = std::ranges::find(menu, title, &StatusMenuItem::title);
    if (found == menu.end() || !onChoose)
        return false;
    onChoose(*found);
    return true;
}

}  // namespace tilewise
