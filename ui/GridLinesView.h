#pragma once

#include <QImage>
#include <QRegion>
#include <QWidget>
#include <map>
#include <optional>
#include <tuple>
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
    /// Everything this view paints, as whole-pixel rectangles (a band along each line and a
    /// square around each star), for shaping a window around it.
    const QRegion& paintedRegion() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    enum class Stamp { verticalLine, horizontalLine, star };

    void paintLines(QPainter& painter, const QRect& dirty);
    void paintStars(QPainter& painter, const QRect& dirty);
    /// The picture of a line or a star whose middle lies `phase` quarter pixels into a pixel.
    const QImage& stamp(Stamp kind, int phase, int rowPhase, double ratio);
    QImage drawStar(int columnPhase, int rowPhase, double ratio) const;
    struct Bands {
        QRegion columns;
        QRegion rows;
    };
    Bands drawnBands() const;
    void invalidate(const QRegion& region);

    std::vector<double> xs_;
    std::vector<double> ys_;
    QRectF usable_;
    bool opaque_ = false;
    mutable std::optional<QRegion> painted_;
    Bands drawn_;
    std::map<std::tuple<Stamp, int, int>, QImage> stamps_;
    double stampRatio_ = 0;
};

}  // namespace tilewise
