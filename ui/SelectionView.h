#pragma once

#include <QRegion>
#include <QWidget>
#include <optional>

namespace tilewise {

/// The resize preview: a plain, translucent rectangle where the window would land. The view
/// spans the whole overlay and paints the rectangle inside it, so that moving the rectangle
/// repaints only the pixels whose colour changes.
class SelectionView final : public QWidget {
  public:
    static const QColor kColour;
    /// How much of its edge shows where nothing shows through the overlay.
    static constexpr int kOutlineWidth = 4;

    explicit SelectionView(QWidget* parent = nullptr);

    /// Shows the preview at `frame` (this view's coordinates), or nowhere.
    void setFrame(std::optional<QRect> frame);
    std::optional<QRect> frame() const { return frame_; }
    /// Fills without translucency, for a window that nothing shows through.
    void setOpaque(bool opaque);
    QColor fillColour() const;
    /// Its edge, in its parent's coordinates: what a window that nothing shows through shows
    /// of it, so that the windows it would land on stay in sight. Empty when it shows nowhere.
    QRegion outline() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<QRect> frame_;
    bool opaque_ = false;
};

}  // namespace tilewise
