#include "ui/GridLinesView.h"

#include <QPainter>
#include <cmath>

namespace tilewise {
namespace {

constexpr double kStarControl = 1.26;

QColor grey(double whiteLevel, double alpha = 1.0) {
    return QColor::fromRgbF(static_cast<float>(whiteLevel), static_cast<float>(whiteLevel),
                            static_cast<float>(whiteLevel), static_cast<float>(alpha));
}

}  // namespace

GridLinesView::GridLinesView(QWidget* parent) : QWidget(parent) {
    setObjectName("gridLinesView");
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void GridLinesView::update(std::vector<double> xs, std::vector<double> ys, QRectF usable) {
    xs_ = std::move(xs);
    ys_ = std::move(ys);
    usable_ = usable;
    QWidget::update();
}

void GridLinesView::setOpaque(bool opaque) {
    opaque_ = opaque;
    QWidget::update();
}

QPainterPath GridLinesView::linePath() const {
    QPainterPath path;
    for (const double x : xs_) {
        path.moveTo(x, usable_.top());
        path.lineTo(x, usable_.bottom());
    }
    for (const double y : ys_) {
        path.moveTo(usable_.left(), y);
        path.lineTo(usable_.right(), y);
    }
    return path;
}

QPainterPath GridLinesView::starPath() const {
    constexpr double r = kStarRadius;
    constexpr double c = kStarControl;
    QPainterPath path;
    for (const double x : xs_) {
        for (const double y : ys_) {
            path.moveTo(x, y - r);
            path.quadTo(x + c, y - c, x + r, y);
            path.quadTo(x + c, y + c, x, y + r);
            path.quadTo(x - c, y + c, x - r, y);
            path.quadTo(x - c, y - c, x, y - r);
            path.closeSubpath();
        }
    }
    return path;
}

QRegion GridLinesView::paintedRegion() const {
    QRegion region;
    for (const double x : xs_) {
        region +=
            QRectF(x - kEdgeWidth / 2, usable_.top(), kEdgeWidth, usable_.height()).toAlignedRect();
    }
    for (const double y : ys_) {
        region +=
            QRectF(usable_.left(), y - kEdgeWidth / 2, usable_.width(), kEdgeWidth).toAlignedRect();
    }
    for (const QPolygonF& star : starPath().toFillPolygons())
        region += QRegion(star.toPolygon());
    return region;
}

void GridLinesView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath lines = linePath();
    painter.strokePath(
        lines, QPen(opaque_ ? grey(0.2) : grey(0.0, 0.35), kEdgeWidth, Qt::SolidLine, Qt::FlatCap));
    painter.strokePath(lines, QPen(grey(0.65), kLineWidth, Qt::SolidLine, Qt::FlatCap));
    const QPainterPath stars = starPath();
    painter.fillPath(stars, grey(0.1));
    painter.strokePath(stars, QPen(grey(0.65), 1.0));
}

}  // namespace tilewise
