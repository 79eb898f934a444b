#include "ui/GridLinesView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>
#include <cmath>
#include <span>

namespace tilewise {
namespace {

constexpr double kStarControl = 1.26;
// How far the star reaches off both lines at once: its widest point lies 2.4 points off each
// line on the diagonal, and its outline adds half a point.
constexpr double kStarBody = 3.0;
// Half the side of a star's picture: the star, its outline and a pixel of smoothing.
constexpr double kStampHalf = GridLinesView::kStarRadius + 2.0;

QColor grey(double whiteLevel, double alpha = 1.0) {
    return QColor::fromRgbF(static_cast<float>(whiteLevel), static_cast<float>(whiteLevel),
                            static_cast<float>(whiteLevel), static_cast<float>(alpha));
}

const QColor kRim = grey(0.0, 0.35);
const QColor kOpaqueRim = grey(0.2);
const QColor kLine = grey(0.65);
const QColor kStarFill = grey(0.1);

// Adding rectangles one at a time costs in proportion to all the region holds already;
// merging halves keeps a region of many crossing pieces quick to build.
QRegion unionOf(std::span<const QRect> rects) {
    if (rects.empty())
        return {};
    if (rects.size() == 1)
        return QRegion(rects.front());
    const std::size_t half = rects.size() / 2;
    return unionOf(rects.first(half)).united(unionOf(rects.subspan(half)));
}

// One line's cross-section, rim and line, as a row of device pixels around the line's middle,
// which lies `phase` quarter pixels into pixel `half`: each pixel takes each colour's alpha
// scaled by the share of it that the colour's band covers, as antialiased painting would.
QImage crossSection(int phase, int half, double ratio, const QColor& rim) {
    QImage row(2 * half + 1, 1, QImage::Format_ARGB32_Premultiplied);
    row.fill(Qt::transparent);
    QPainter painter(&row);
    const double middle = half + phase / 4.0;
    for (const auto& [width, colour] :
         {std::pair{GridLinesView::kEdgeWidth, rim}, std::pair{GridLinesView::kLineWidth, kLine}}) {
        const double from = middle - width * ratio / 2;
        const double to = middle + width * ratio / 2;
        for (double pixel = std::floor(from); pixel < to; ++pixel) {
            QColor shade = colour;
            shade.setAlphaF(static_cast<float>(colour.alphaF() *
                                               (std::min(to, pixel + 1) - std::max(from, pixel))));
            painter.fillRect(QRectF(pixel, 0, 1, 1), shade);
        }
    }
    return row;
}

// A position in device pixels as its whole pixel and the quarter pixels beyond it.
std::pair<double, int> splitIntoQuarters(double position) {
    const double quarters = std::round(position * 4);
    const double whole = std::floor(quarters / 4);
    return {whole, static_cast<int>(quarters - whole * 4)};
}

}  // namespace

GridLinesView::GridLinesView(QWidget* parent) : QWidget(parent) {
    setObjectName("gridLinesView");
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void GridLinesView::update(std::vector<double> xs, std::vector<double> ys, QRectF usable) {
    if (xs == xs_ && ys == ys_ && usable == usable_)
        return;
    xs_ = std::move(xs);
    ys_ = std::move(ys);
    if (usable.size() != usable_.size())
        stamps_.clear();
    usable_ = usable;
    painted_.reset();
    const Bands before = drawn_;
    drawn_ = drawnBands();
    // The bands along the vertical lines go last: the picture is whole once they are on the
    // screen.
    invalidate(before.rows + drawn_.rows);
    invalidate(before.columns + drawn_.columns);
}

// Built when asked for: only a window that nothing shows through is shaped to it, and a region
// of a piece between every two crossings takes a while to build.
const QRegion& GridLinesView::paintedRegion() const {
    if (painted_)
        return *painted_;
    std::vector<QRect> pieces;
    for (const double x : xs_) {
        pieces.push_back(QRectF(x - kEdgeWidth / 2, usable_.top(), kEdgeWidth, usable_.height())
                             .toAlignedRect());
    }
    for (const double y : ys_) {
        pieces.push_back(QRectF(usable_.left(), y - kEdgeWidth / 2, usable_.width(), kEdgeWidth)
                             .toAlignedRect());
        for (const double x : xs_) {
            pieces.push_back(
                QRectF(x - kStarBody, y - kStarBody, 2 * kStarBody, 2 * kStarBody).toAlignedRect());
        }
    }
    painted_ = unionOf(pieces);
    return *painted_;
}

void GridLinesView::setOpaque(bool opaque) {
    if (opaque == opaque_)
        return;
    stamps_.clear();
    opaque_ = opaque;
    QWidget::update();
}

// Exactly what the line and star pictures cover, in few rectangles: the bands of one
// direction lie side by side, so each direction holds a rectangle per line, where both
// together would break into a piece between every two crossings. The stars lie in the bands
// of the vertical lines.
GridLinesView::Bands GridLinesView::drawnBands() const {
    const double ratio = devicePixelRatioF();
    // Across a line, the pixels its rim touches: around its middle, placed at a quarter pixel as
    // it is drawn.
    const auto across = [&](double position) {
        const double middle = std::round(position * ratio * 4) / 4;
        const double from = std::floor(middle - kEdgeWidth * ratio / 2);
        const double to = std::ceil(middle + kEdgeWidth * ratio / 2);
        return std::pair{from / ratio, (to - from) / ratio};
    };
    // A star's picture, which holds the rim of its vertical line.
    const double starHalf = std::ceil(kStampHalf * ratio);
    const double starReach = ys_.empty() ? 0 : starHalf / ratio;
    Bands bands;
    for (const double x : xs_) {
        auto [left, width] = across(x);
        if (!ys_.empty()) {
            left = (splitIntoQuarters(x * ratio).first - starHalf) / ratio;
            width = 2 * starReach;
        }
        bands.columns +=
            QRectF(left, usable_.top() - starReach, width, usable_.height() + 2 * starReach)
                .toAlignedRect();
    }
    for (const double y : ys_) {
        const auto [top, height] = across(y);
        bands.rows += QRectF(usable_.left(), top, usable_.width(), height).toAlignedRect();
    }
    return bands;
}

// A translucent window on the screen has each change painted and handed over at once, a
// direction at a time: the window system takes a picture for each rectangle, and one region of
// both directions would hold hundreds. An opaque window is shaped after its lines change, and
// painted after that.
void GridLinesView::invalidate(const QRegion& region) {
    const QWindow* shown = window()->windowHandle();
    if (!opaque_ && shown != nullptr && shown->isExposed())
        repaint(region);
    else
        QWidget::update(region);
}

// Every line of a direction, and every star, is the same picture but for where its middle
// falls inside a pixel; each is drawn once per quarter-pixel offset and copied into place.
// Painting hundreds of smoothed shapes across a large window is what costs.
void GridLinesView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (opaque_) {
        // Nothing shows through the window: all it shows takes the rim's colour.
        for (const QRect& piece : paintedRegion() & event->region())
            painter.fillRect(piece, kOpaqueRim);
    }
    // A band at a time: a picture clipped to many bands across it is blended span by span.
    for (const QRect& band : event->region()) {
        painter.setClipRect(band);
        paintLines(painter, band);
        paintStars(painter, band);
    }
}

void GridLinesView::paintLines(QPainter& painter, const QRect& dirty) {
    const double ratio = painter.device()->devicePixelRatioF();
    const double half = std::ceil(kEdgeWidth * ratio / 2) + 1;
    const double reach = half / ratio;
    for (const double x : xs_) {
        if (x + reach < dirty.left() || x - reach > dirty.right() + 1)
            continue;
        const auto [column, phase] = splitIntoQuarters(x * ratio);
        painter.drawImage(QPointF((column - half) / ratio, usable_.top()),
                          stamp(Stamp::verticalLine, phase, 0, ratio));
    }
    for (const double y : ys_) {
        if (y + reach < dirty.top() || y - reach > dirty.bottom() + 1)
            continue;
        const auto [row, phase] = splitIntoQuarters(y * ratio);
        painter.drawImage(QPointF(usable_.left(), (row - half) / ratio),
                          stamp(Stamp::horizontalLine, 0, phase, ratio));
    }
}

void GridLinesView::paintStars(QPainter& painter, const QRect& dirty) {
    const double ratio = painter.device()->devicePixelRatioF();
    const double half = std::ceil(kStampHalf * ratio);
    const QRectF reach = QRectF(dirty).adjusted(-kStampHalf, -kStampHalf, kStampHalf, kStampHalf);
    for (const double y : ys_) {
        if (y < reach.top() || y > reach.bottom())
            continue;
        const auto [row, rowPhase] = splitIntoQuarters(y * ratio);
        for (const double x : xs_) {
            if (x < reach.left() || x > reach.right())
                continue;
            const auto [column, columnPhase] = splitIntoQuarters(x * ratio);
            painter.drawImage(QPointF((column - half) / ratio, (row - half) / ratio),
                              stamp(Stamp::star, columnPhase, rowPhase, ratio));
        }
    }
}

const QImage& GridLinesView::stamp(Stamp kind, int columnPhase, int rowPhase, double ratio) {
    if (ratio != stampRatio_) {
        stamps_.clear();
        stampRatio_ = ratio;
    }
    auto [found, added] = stamps_.try_emplace({kind, columnPhase, rowPhase});
    if (!added)
        return found->second;
    const int half = static_cast<int>(std::ceil(kEdgeWidth * ratio / 2)) + 1;
    const QColor& rim = opaque_ ? kOpaqueRim : kRim;
    QImage& image = found->second;
    if (kind == Stamp::verticalLine) {
        image = crossSection(columnPhase, half, ratio, rim)
                    .scaled(2 * half + 1, qRound(usable_.height() * ratio));
    } else if (kind == Stamp::horizontalLine) {
        image = crossSection(rowPhase, half, ratio, rim)
                    .transformed(QTransform().rotate(90))
                    .scaled(qRound(usable_.width() * ratio), 2 * half + 1);
    } else {
        image = drawStar(columnPhase, rowPhase, ratio);
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

QImage GridLinesView::drawStar(int columnPhase, int rowPhase, double ratio) const {
    const double half = std::ceil(kStampHalf * ratio);
    QImage image(static_cast<int>(2 * half), static_cast<int>(2 * half),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    const double x = (half + columnPhase / 4.0) / ratio;
    const double y = (half + rowPhase / 4.0) / ratio;
    constexpr double r = kStarRadius;
    constexpr double c = kStarControl;
    QPainterPath star;
    star.moveTo(x, y - r);
    star.quadTo(x + c, y - c, x + r, y);
    star.quadTo(x + c, y + c, x, y + r);
    star.quadTo(x - c, y + c, x - r, y);
    star.quadTo(x - c, y - c, x, y - r);
    star.closeSubpath();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(star, kStarFill);
    painter.strokePath(star, QPen(kLine, 1.0));
    return image;
}

}  // namespace tilewise
