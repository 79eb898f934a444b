#include "ui/SelectionView.h"

#include <QAccessible>
#include <QPainter>

#include "ui/SelectionViewAccessible.h"

namespace tilewise {

const QColor SelectionView::kColour = QColor::fromRgbF(0.31f, 0.44f, 0.58f, 0.75f);

SelectionView::SelectionView(QWidget* parent) : QWidget(parent) {
    // Before anything asks for the view's interface, which Qt then keeps.
    SelectionViewAccessible::install();
    setObjectName("selectionView");
    setAccessibleName("Resize preview");
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

// The fill is one colour: only what lies in one of the two rectangles and not in the other
// changes. A drag that adds a column repaints that column, not both rectangles whole.
void SelectionView::setFrame(std::optional<QRect> frame) {
    if (frame == frame_)
        return;
    const QRegion before = frame_ ? QRegion(*frame_) : QRegion();
    const QRegion after = frame ? QRegion(*frame) : QRegion();
    const bool wasShown = frame_.has_value();
    frame_ = frame;
    update(before.xored(after));
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, !frame     ? QAccessible::ObjectHide
                                     : wasShown ? QAccessible::LocationChanged
                                                : QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&event);
    }
}

void SelectionView::setOpaque(bool opaque) {
    if (opaque == opaque_)
        return;
    opaque_ = opaque;
    if (frame_)
        update(*frame_);
}

QColor SelectionView::fillColour() const {
    QColor colour = kColour;
    if (opaque_)
        colour.setAlphaF(1.0f);
    return colour;
}

QRegion SelectionView::outline() const {
    if (!frame_)
        return {};
    const QRect frame = frame_->translated(pos());
    return QRegion(frame) -
           frame.adjusted(kOutlineWidth, kOutlineWidth, -kOutlineWidth, -kOutlineWidth);
}

void SelectionView::paintEvent(QPaintEvent*) {
    if (!frame_)
        return;
    QPainter painter(this);
    painter.fillRect(*frame_, fillColour());
}

}  // namespace tilewise
