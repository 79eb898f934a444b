#pragma once

#include <QPainterPath>
#include <QRegion>
#include <QWidget>
#include <vector>

namespace tilewise {

/// The overlay's grid lines over the usable area: each a light 3-point line with a dark,
/// translucent rim, and a small four-pointed star at every crossing.
class GridLinesView final : public QWidget {
  public:
    static constexpr double kEdgeWidth = 5.0;
    static constexpr double kLineWidth = 3.0;
    static constexpr double kStarRadius = 7.0;

    explicit GridLinesView(QWidget* parent = nullptr);

    /// Draws vertical lines at `xs` and horizontal ones at `ys` (the view's coordinates),
    /// each spanning only `usable`.
    void update(std::vector<double> xs, std::vector<double> ys, QRectF usable);
    /// Draws the rim without translucency, for a window that nothing shows through.
    void setOpaque(bool opaque);

    const std::vector<double>& xs() const { return xs_; }
    const std::vector<double>& ys() const { return ys_; }
    QRectF usable() const { return usable_; }
    QPainterPath linePath() const;
    QPainterPath starPath() const;
    /// Everything this view paints, for shaping a window around it.
    QRegion paintedRegion() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<double> xs_;
    std::vector<double> ys_;
    QRectF usable_;
    bool opaque_ = false;
};

}  // namespace tilewise
