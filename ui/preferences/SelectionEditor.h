#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "core/Grid.h"
#include "core/SelectionTracker.h"

namespace tilewise {

/// A small drawn grid on which the user drags (or clicks) a block of cells. The block follows
/// the drag; the bound selection is written only when the drag ends.
class SelectionEditor : public QWidget {
    Q_OBJECT

  public:
    explicit SelectionEditor(QWidget* parent = nullptr);

    /// Called with the block when a drag ends.
    std::function<void(CellSelection)> onCommit;

    /// Shows `selection` on `grid`; a drag in progress on another grid is abandoned.
    void display(GridSize grid, CellSelection selection);
    /// The block drawn now: the drag's while one is in progress, else the bound selection.
    CellSelection shownSelection() const;
    /// Where cell (column, row) is drawn.
    QRectF cellRect(GridCell cell) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    GridCell cellAt(QPointF position) const;

    GridSize grid_{1, 1};
    CellSelection selection_{0, 0, 0, 0};
    std::optional<SelectionTracker> tracker_;
};

}  // namespace tilewise
