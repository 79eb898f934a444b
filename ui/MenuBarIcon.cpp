#include "ui/MenuBarIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace tilewise::MenuBarIcon {
namespace {

constexpr double kScale = 0.85;
constexpr double kCornerRadius = 1.8;
constexpr double kCutWidth = 1.3 / kScale;
constexpr double kHaloWidth = 1.6 / kScale;
const QRectF kUpperRight{9.0, 9.25, 8.0, 6.75};

QPainterPath tiles() {
    QPainterPath path;
    for (const QRectF& tile :
         {QRectF{1.0, 2.0, 6.5, 14.0}, kUpperRight, QRectF{9.0, 2.0, 8.0, 6.75}}) {
        path.addRoundedRect(tile, kCornerRadius, kCornerRadius);
    }
    return path;
}

QPainterPath cut() {
    const QRectF& r = kUpperRight;
    const auto at = [&r](double x, double y) {
        return QPointF{r.x() + x * r.width(), r.y() + y * r.height()};
    };
    QPainterPath path{at(0.28, 0.32)};
    path.cubicTo(at(0.45, 0.55), at(0.62, 0.68), at(0.78, 0.70));
    return path;
}

// The shapes are designed with the origin at the bottom left, shrunk about the centre.
void setUpCanvas(QPainter& painter, int pixels) {
    painter.scale(pixels / kCanvas, pixels / kCanvas);
    painter.translate(0, kCanvas);
    painter.scale(1, -1);
    painter.translate(kCanvas / 2, kCanvas / 2);
    painter.scale(kScale, kScale);
    painter.translate(-kCanvas / 2, -kCanvas / 2);
}

}  // namespace

QImage image(int pixels, const QColor& ink, const QColor& halo) {
    QImage canvas{pixels, pixels, QImage::Format_ARGB32_Premultiplied};
    canvas.fill(Qt::transparent);
    QPainter painter{&canvas};
    painter.setRenderHint(QPainter::Antialiasing);
    setUpCanvas(painter, pixels);
    if (halo.alpha() > 0) {
        painter.strokePath(tiles(), QPen{halo, kHaloWidth});
    }
    painter.fillPath(tiles(), ink);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.strokePath(cut(), QPen{Qt::black, kCutWidth, Qt::SolidLine, Qt::RoundCap});
    return canvas;
}

QIcon icon() {
    QIcon icon;
    for (const int pixels : {16, 22, 24, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(
            image(pixels, QColor{0x20, 0x20, 0x20}, QColor{255, 255, 255, 230})));
    }
    return icon;
}

}  // namespace tilewise::MenuBarIcon
