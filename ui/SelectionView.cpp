#include "ui/SelectionView.h"

#include <QPainter>

namespace tilewise {

const QColor SelectionView::kColour = QColor::fromRgbF(0.31f, 0.44f, 0.58f, 0.75f);

SelectionView::SelectionView(QWidget* parent) : QWidget(parent) {
    setObjectName("selectionView");
    setAccessibleName("Resize preview");
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SelectionView::setOpaque(bool opaque) {
    opaque_ = opaque;
    update();
}

QColor SelectionView::fillColour() const {
    QColor colour = kColour;
    if (opaque_)
        colour.setAlphaF(1.0f);
    return colour;
}

QRegion SelectionView::outline() const {
    const QRect frame = geometry();
    return QRegion(frame) -
           frame.adjusted(kOutlineWidth, kOutlineWidth, -kOutlineWidth, -kOutlineWidth);
}

void SelectionView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), fillColour());
}

}  // namespace tilewise
