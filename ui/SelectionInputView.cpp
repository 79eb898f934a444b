#include "ui/SelectionInputView.h"

#include <QMouseEvent>

namespace tilewise {

SelectionInputView::SelectionInputView(QWidget* parent) : QWidget(parent) {
    setObjectName("selectionInputView");
    setAccessibleName("Grid on the display");
    setCursor(Qt::CrossCursor);
}

void SelectionInputView::reset(GridSize grid, QRectF usable) {
    tracker_ = SelectionTracker{grid};
    usable_ = usable;
}

bool SelectionInputView::cancelDrag() {
    const bool wasDragging = tracker_.isDragging();
    tracker_.cancel();
    return wasDragging;
}

GridCell SelectionInputView::cellAt(QPointF point) const {
    return SelectionTracker::cell({point.x(), point.y()},
                                  Rect{usable_.x(), usable_.y(), usable_.width(), usable_.height()},
                                  tracker_.grid(), true);
}

void SelectionInputView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    tracker_.begin(cellAt(event->position()));
    if (onSelectionChanged)
        onSelectionChanged(tracker_.selection());
}

void SelectionInputView::mouseMoveEvent(QMouseEvent* event) {
    if (tracker_.move(cellAt(event->position())) && onSelectionChanged)
        onSelectionChanged(tracker_.selection());
}

void SelectionInputView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // The window system may merge the last motion into the release.
    if (tracker_.move(cellAt(event->position())) && onSelectionChanged)
        onSelectionChanged(tracker_.selection());
    if (const auto selection = tracker_.end(); selection && onCommit)
        onCommit(*selection);
}

}  // namespace tilewise
