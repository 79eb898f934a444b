#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <tuple>

#include "core/Grid.h"
#include "core/SelectionTracker.h"

class QPainter;

namespace tilewise {

/// The panel's miniature grid: draws the cells and turns a drag or click across them into a
/// cell selection.
class GridView final : public QWidget {
  public:
    static constexpr double kGap = 3.0;

    explicit GridView(QWidget* parent = nullptr);

    GridSize grid() const { return tracker_.grid(); }
    /// Shows `grid`; a drag in progress is dropped without a report.
    void setGrid(GridSize grid);
    const SelectionTracker& tracker() const { return tracker_; }
    /// Drops the drag in progress without a report.
    void cancelDrag();
    std::optional<GridCell> hoverCell() const { return hoverCell_; }

    /// The rectangle in which `cell` is drawn, in the view's coordinates.
    QRectF cellRect(GridCell cell) const;

    std::function<void(std::optional<CellSelection>)> onSelectionChanged;
    std::function<void(CellSelection)> onCommit;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    GridCell cellAt(QPointF point) const;
    void reportSelection();
    /// The area `block` owns on screen: its cells and half of every gap around them.
    QRect blockArea(CellSelection block) const;
    /// The whole grid with every cell filled with `fill`, drawn once per size and grid.
    const QImage& picture(const QColor& fill);
    static void copyPart(QPainter& painter, const QRect& area, const QImage& image);
    /// Repaints the cells that either selection covers.
    void updateCells(std::optional<CellSelection> before, std::optional<CellSelection> after);

    SelectionTracker tracker_{GridSize{6, 6}};
    std::optional<GridCell> hoverCell_;
    std::map<QRgb, QImage> pictures_;
    std::tuple<QSize, GridSize, double> pictureKey_;
};

}  // namespace tilewise
