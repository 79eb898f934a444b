#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "core/SelectionTracker.h"

namespace tilewise {

/// The overlay's drag surface: a drag or click anywhere on the display selects the cells of
/// the usable area under the pointer; a drag that starts outside it begins at the nearest
/// edge cell. Draws nothing.
class SelectionInputView final : public QWidget {
  public:
    explicit SelectionInputView(QWidget* parent = nullptr);

    /// Starts over with `grid` laid over `usable` (the view's coordinates).
    void reset(GridSize grid, QRectF usable);
    /// Abandons a drag in progress; true when there was one.
    bool cancelDrag();
    const SelectionTracker& tracker() const { return tracker_; }
    QRectF usable() const { return usable_; }

    std::function<void(std::optional<CellSelection>)> onSelectionChanged;
    std::function<void(CellSelection)> onCommit;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    GridCell cellAt(QPointF point) const;

    SelectionTracker tracker_{GridSize{6, 6}};
    QRectF usable_;
};

}  // namespace tilewise
