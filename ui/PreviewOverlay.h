#pragma once

#include <QPixmap>
#include <QWidget>

#include "app/GridOverlay.h"
#include "platform/PanelPlatform.h"

namespace tilewise {

class GridLinesView;
class SelectionInputView;
class SelectionView;

/// The grid over a whole display: an override-redirect window that is never activated. With
/// a compositing manager it is translucent. Without one a translucent window would show black,
/// so it is shaped to the lines and the preview's edge, or, while it takes drags, shows a
/// picture of the desktop taken when it appeared.
class PreviewOverlay final : public QWidget, public GridOverlay {
  public:
    enum class Rendering { translucent, shaped, desktopPicture };

    explicit PreviewOverlay(PanelPlatform& platform, QWidget* parent = nullptr);
    ~PreviewOverlay() override;

    void showGrid(const DisplayInfo& display, GridSize grid, const Margins& margins,
                  std::optional<WindowId> below, bool interactive) override;
    void setSelection(std::optional<Rect> frame) override;
    void hide() override;
    void raise() override;
    bool isVisible() const override { return shown_; }

    Rendering rendering() const { return rendering_; }
    bool isInteractive() const;
    Rect displayFrame() const { return displayFrame_; }
    GridLinesView& gridView() { return *gridView_; }
    SelectionView& selectionView() { return *selectionView_; }
    SelectionInputView& inputView() { return *inputView_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    struct Shown {
        DisplayInfo display;
        GridSize grid;
        Margins margins;
        std::optional<WindowId> below;
        bool interactive = false;
    };

    /// A rectangle of the top-left space in this window's coordinates.
    QRectF local(const Rect& frame) const;
    void chooseRendering(bool interactive, bool sameDisplay);
    void useTranslucentWindow(bool translucent);
    void reshape();
    void setTakesInput(bool takes);
    void compositorGone();
    bool coveredByOthers();

    PanelPlatform& platform_;
    // Created, and so stacked, from the bottom: the lines lie over the preview.
    SelectionView* selectionView_;
    GridLinesView* gridView_;
    SelectionInputView* inputView_;
    Rect displayFrame_;
    Rendering rendering_ = Rendering::translucent;
    QPixmap desktop_;
    bool floating_ = true;
    bool shown_ = false;
    // What the last showGrid drew, drawn again when the window must be made anew.
    std::optional<Shown> last_;
};

}  // namespace tilewise
