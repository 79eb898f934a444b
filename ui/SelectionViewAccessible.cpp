#include "ui/SelectionViewAccessible.h"

#include "ui/SelectionView.h"

namespace tilewise {

namespace {

QAccessibleInterface* interfaceFor(const QString&, QObject* object) {
    // The view declares no class of its own to Qt's meta-object system, so it is told apart by
    // its type.
    if (auto* view = dynamic_cast<SelectionView*>(object))
        return new SelectionViewAccessible(*view);
    return nullptr;
}

}  // namespace

SelectionViewAccessible::SelectionViewAccessible(SelectionView& view)
    : QAccessibleWidget(&view, QAccessible::Grouping) {}

void SelectionViewAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(interfaceFor);
        return true;
    }();
    (void)installed;
}

const SelectionView& SelectionViewAccessible::view() const {
    return *static_cast<const SelectionView*>(widget());
}

QRect SelectionViewAccessible::rect() const {
    const auto frame = view().frame();
    if (!frame)
        return {};
    return frame->translated(view().mapToGlobal(QPoint(0, 0)));
}

QAccessible::State SelectionViewAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    if (!view().frame())
        state.invisible = true;
    return state;
}

}  // namespace tilewise
