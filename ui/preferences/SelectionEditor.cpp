#include "ui/preferences/SelectionEditor.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace tilewise {
namespace {

constexpr double kGap = 3;
constexpr double kCornerRadius = 2;
constexpr double kUnselectedOpacity = 0.12;

bool contains(const CellSelection& block, std::int64_t column, std::int64_t row) {
    return block.startColumn() <= column && column <= block.endColumn() &&
           block.startRow() <= row && row <= block.endRow();
}

}  // namespace

SelectionEditor::SelectionEditor(QWidget* parent) : QWidget(parent) {
    setFixedHeight(130);
    setMinimumWidth(100);
}

void SelectionEditor::display(GridSize grid, CellSelection selection) {
    if (tracker_ && tracker_->grid() != grid)
        tracker_.reset();
    grid_ = grid;
    selection_ = selection;
    update();
}

CellSelection SelectionEditor::shownSelection() const {
    if (tracker_) {
        if (const auto dragged = tracker_->selection())
            return *dragged;
    }
    return selection_;
}

QRectF SelectionEditor::cellRect(GridCell cell) const {
    const double cellWidth = width() / static_cast<double>(grid_.columns);
    const double cellHeight = height() / static_cast<double>(grid_.rows);
    return {cell.column * cellWidth + kGap / 2, cell.row * cellHeight + kGap / 2,
            std::max(1.0, cellWidth - kGap), std::max(1.0, cellHeight - kGap)};
}

void SelectionEditor::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const auto block = shownSelection();
    auto idle = palette().color(QPalette::WindowText);
    idle.setAlphaF(kUnselectedOpacity);
    const auto accent = palette().color(QPalette::Highlight);
    for (std::int64_t row = 0; row < grid_.rows; ++row) {
        for (std::int64_t column = 0; column < grid_.columns; ++column) {
            painter.setBrush(contains(block, column, row) ? accent : idle);
            painter.drawRoundedRect(cellRect({column, row}), kCornerRadius, kCornerRadius);
        }
    }
}

GridCell SelectionEditor::cellAt(QPointF position) const {
    return grid_.clamp(SelectionTracker::cell({position.x(), position.y()},
                                              Rect(0, 0, width(), height()), grid_, true));
}

void SelectionEditor::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    tracker_.emplace(grid_);
    tracker_->begin(cellAt(event->position()));
    update();
}

void SelectionEditor::mouseMoveEvent(QMouseEvent* event) {
    if (!tracker_ || !(event->buttons() & Qt::LeftButton))
        return;
    if (tracker_->move(cellAt(event->position())))
        update();
}

void SelectionEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !tracker_)
        return;
    tracker_->move(cellAt(event->position()));
    const auto selection = tracker_->end();
    tracker_.reset();
    if (selection) {
        selection_ = *selection;
        if (onCommit)
            onCommit(*selection);
    }
    update();
}

}  // namespace tilewise
