#pragma once

#include <QWidget>

namespace tilewise {

/// The resize preview: a plain, translucent rectangle where the window would land.
class SelectionView final : public QWidget {
  public:
    static const QColor kColour;

    explicit SelectionView(QWidget* parent = nullptr);

    /// Fills without translucency, for a window that nothing shows through.
    void setOpaque(bool opaque);
    QColor fillColour() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool opaque_ = false;
};

}  // namespace tilewise
