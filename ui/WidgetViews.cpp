#include "ui/WidgetViews.h"

#include "ui/TrayStatusItem.h"

namespace tilewise {

std::unique_ptr<StatusItemView> WidgetViews::makeStatusItem() {
    return std::make_unique<TrayStatusItem>();
}

}  // namespace tilewise
