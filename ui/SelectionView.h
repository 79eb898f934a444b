#pragma once

#include <QRegion>
#include <QWidget>

namespace tilewise {

/// The resize preview: a plain, translucent rectangle where the window would land.
class SelectionView final : public QWidget {
  public:
    static const QColor kColour;
    /// How much of its edge shows where nothing shows through the overlay.
    static constexpr int kOutlineWidth = 4;

    explicit SelectionView(QWidget* parent = nullptr);

    /// Fills without translucency, for a window that nothing shows through.
    void setOpaque(bool opaque);
    QColor fillColour() const;
    /// Its edge, in its parent's coordinates: what a window that nothing shows through shows
    /// of it, so that the windows it would land on stay in sight.
    QRegion outline() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool opaque_ = false;
};

}  // namespace tilewise
