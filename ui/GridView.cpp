#include "ui/GridView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

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

bool contains(const CellSelection& selection, GridCell cell) {
    return cell.column >= selection.startColumn() && cell.column <= selection.endColumn() &&
           cell.row >= selection.startRow() && cell.row <= selection.endRow();
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

void GridView::paintEvent(QPaintEvent* event) {
    if (grid().columns <= 0 || grid().rows <= 0)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QColor label = palette().color(QPalette::WindowText);
    const QColor accent = palette().color(QPalette::Highlight);
    const auto selection = tracker_.selection();
    const QRectF dirty = event->rect();
    for (std::int64_t row = 0; row < grid().rows; ++row) {
        for (std::int64_t column = 0; column < grid().columns; ++column) {
            const GridCell cell{column, row};
            const QRectF rect = cellRect(cell);
            if (!rect.intersects(dirty))
                continue;
            QColor fill = withAlpha(label, kCellAlpha);
            if (selection && contains(*selection, cell))
                fill = withAlpha(accent, kSelectedAlpha);
            else if (!selection && hoverCell_ == cell)
                fill = withAlpha(label, kHoverAlpha);
            painter.setBrush(fill);
            painter.drawRoundedRect(rect, kCornerRadius, kCornerRadius);
        }
    }
}

// A drag that moves by a cell repaints the cells it changes, not the whole grid.
void GridView::updateCells(std::optional<CellSelection> before,
                           std::optional<CellSelection> after) {
    QRectF area;
    for (const auto& selection : {before, after}) {
        if (selection) {
            area |= cellRect({selection->startColumn(), selection->startRow()})
                        .united(cellRect({selection->endColumn(), selection->endRow()}));
        }
    }
    update(area.toAlignedRect());
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
