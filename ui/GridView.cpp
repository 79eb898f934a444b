#include "ui/GridView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace tilewise {
namespace {

constexpr double kCornerRadius = 2.0;
constexpr double kSelectedAlpha = 0.85;
constexpr double kHoverAlpha = 0.28;
constexpr double kCellAlpha = 0.14;

QColor withAlpha(QColor colour, double alpha) {
    colour.setAlphaF(static_cast<float>(alpha));
    return colour;
}

}  // namespace

GridView::GridView(QWidget* parent) : QWidget(parent) {
    setObjectName("gridView");
    setAccessibleName("Grid");
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void GridView::setGrid(GridSize grid) {
    tracker_ = SelectionTracker{grid};
    update();
}

void GridView::cancelDrag() {
    tracker_.cancel();
    update();
}

QRectF GridView::cellRect(GridCell cell) const {
    const double cellWidth = width() / static_cast<double>(grid().columns);
    const double cellHeight = height() / static_cast<double>(grid().rows);
    return QRectF(static_cast<double>(cell.column) * cellWidth,
                  static_cast<double>(cell.row) * cellHeight, cellWidth, cellHeight)
        .adjusted(kGap / 2, kGap / 2, -kGap / 2, -kGap / 2);
}

GridCell GridView::cellAt(QPointF point) const {
    return SelectionTracker::cell({point.x(), point.y()}, Rect{0, 0, 1.0 * width(), 1.0 * height()},
                                  grid(), true);
}

// Every cell of a state looks the same wherever it is, so the grid is drawn once with all its
// cells in each state, and a paint copies each part from the right picture: a drag repaints in
// the time of a few copies, not of hundreds of smoothed rounded rectangles.
void GridView::paintEvent(QPaintEvent* event) {
    if (grid().columns <= 0 || grid().rows <= 0)
        return;
    QPainter painter(this);
    QRegion plain = event->region();
    const QColor label = palette().color(QPalette::WindowText);
    const auto paintBlock = [&](CellSelection block, const QColor& fill) {
        const QRect area = blockArea(block) & event->rect();
        copyPart(painter, area, picture(fill));
        plain -= area;
    };
    if (const auto selection = tracker_.selection())
        paintBlock(*selection, withAlpha(palette().color(QPalette::Highlight), kSelectedAlpha));
    else if (hoverCell_)
        paintBlock({*hoverCell_, *hoverCell_}, withAlpha(label, kHoverAlpha));
    const QImage& cells = picture(withAlpha(label, kCellAlpha));
    for (const QRect& area : plain)
        copyPart(painter, area, cells);
}

void GridView::copyPart(QPainter& painter, const QRect& area, const QImage& image) {
    const double ratio = image.devicePixelRatio();
    painter.drawImage(
        QRectF(area), image,
        QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio));
}

// The block's cells with half of each surrounding gap, on whole pixels: a gap is three points
// wide, so rounding its middle never cuts into a cell's smoothed edge.
QRect GridView::blockArea(CellSelection block) const {
    const double cellWidth = width() / static_cast<double>(grid().columns);
    const double cellHeight = height() / static_cast<double>(grid().rows);
    const auto edge = [](double position) { return static_cast<int>(std::lround(position)); };
    return QRect(QPoint(edge(block.startColumn() * cellWidth), edge(block.startRow() * cellHeight)),
                 QPoint(edge((block.endColumn() + 1) * cellWidth),
                        edge((block.endRow() + 1) * cellHeight)))
        .adjusted(0, 0, -1, -1);
}

const QImage& GridView::picture(const QColor& fill) {
    const double ratio = devicePixelRatioF();
    // A cell has three looks; more pictures than that come from colours that have changed.
    if (pictureKey_ != std::tuple{size(), grid(), ratio} || pictures_.size() > 3) {
        pictures_.clear();
        pictureKey_ = {size(), grid(), ratio};
    }
    auto [found, added] = pictures_.try_emplace(fill.rgba());
    if (!added)
        return found->second;
    QImage& image = found->second;
    image = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    for (std::int64_t row = 0; row < grid().rows; ++row) {
        for (std::int64_t column = 0; column < grid().columns; ++column)
            painter.drawRoundedRect(cellRect({column, row}), kCornerRadius, kCornerRadius);
    }
    return image;
}

// A drag that moves by a cell repaints the cells it changes, not the whole grid.
void GridView::updateCells(std::optional<CellSelection> before,
                           std::optional<CellSelection> after) {
    QRect area;
    for (const auto& selection : {before, after}) {
        if (selection)
            area |= blockArea(*selection);
    }
    update(area);
}

void GridView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    tracker_.begin(cellAt(event->position()));
    update();
    reportSelection();
}

void GridView::mouseMoveEvent(QMouseEvent* event) {
    const GridCell cell = cellAt(event->position());
    if (tracker_.isDragging()) {
        const auto before = tracker_.selection();
        if (tracker_.move(cell)) {
            updateCells(before, tracker_.selection());
            reportSelection();
        }
        return;
    }
    if (hoverCell_ != cell) {
        const auto before = hoverCell_;
        hoverCell_ = cell;
        updateCells(before ? std::optional<CellSelection>({*before, *before}) : std::nullopt,
                    CellSelection{cell, cell});
    }
}

void GridView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // The window system may merge the last motion into the release: where the button came up
    // is where the drag ends.
    if (tracker_.move(cellAt(event->position())))
        reportSelection();
    const auto selection = tracker_.end();
    if (!selection)
        return;
    update();
    if (onSelectionChanged)
        onSelectionChanged(std::nullopt);
    if (onCommit)
        onCommit(*selection);
}

void GridView::leaveEvent(QEvent*) {
    hoverCell_.reset();
    update();
}

void GridView::reportSelection() {
    if (onSelectionChanged)
        onSelectionChanged(tracker_.selection());
}

}  // namespace tilewise
