#include "ui/PreviewOverlay.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "ui/GridLinesView.h"
#include "ui/SelectionInputView.h"
#include "ui/SelectionView.h"

namespace tilewise {

PreviewOverlay::PreviewOverlay(PanelPlatform& platform, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                          Qt::BypassWindowManagerHint | Qt::WindowTransparentForInput),
      platform_(platform),
      selectionView_(new SelectionView(this)),
      gridView_(new GridLinesView(this)),
      inputView_(new SelectionInputView(this)) {
    setObjectName("previewOverlay");
    setAccessibleName("Grid overlay");
    setWindowTitle("Tilewise Grid Overlay");
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Views paint every pixel the window shows; nothing is filled behind them.
    setAttribute(Qt::WA_NoSystemBackground);
    selectionView_->QWidget::hide();
    inputView_->QWidget::hide();
    inputView_->onSelectionChanged = [this](std::optional<CellSelection> selection) {
        if (onSelectionChanged)
            onSelectionChanged(selection);
    };
    inputView_->onCommit = [this](CellSelection selection) {
        if (onCommit)
            onCommit(selection);
    };
}

QRectF PreviewOverlay::local(const Rect& frame) const {
    const double ratio = devicePixelRatioF();
    return {(frame.minX() - displayFrame_.minX()) / ratio,
            (frame.minY() - displayFrame_.minY()) / ratio, frame.width() / ratio,
            frame.height() / ratio};
}

void PreviewOverlay::showGrid(const DisplayInfo& display, GridSize grid, const Margins& margins,
                              std::optional<WindowId> below, bool interactive) {
    const bool sameDisplay = QWidget::isVisible() && displayFrame_ == display.frame;
    displayFrame_ = display.frame;
    const auto lines =
        LayoutEngine::gridLines(grid, display.visibleFrame, margins, display.backingScale);
    const double ratio = devicePixelRatioF();
    std::vector<double> xs;
    std::vector<double> ys;
    if (lines) {
        for (const double x : lines->x)
            xs.push_back((x - displayFrame_.minX()) / ratio);
        for (const double y : lines->y)
            ys.push_back((y - displayFrame_.minY()) / ratio);
    }
    const QRectF usable = local(display.visibleFrame);
    const QRect bounds(0, 0, qRound(display.frame.width() / ratio),
                       qRound(display.frame.height() / ratio));
    setGeometry(bounds.translated(qRound(display.frame.minX() / ratio),
                                  qRound(display.frame.minY() / ratio)));
    gridView_->setGeometry(bounds);
    gridView_->update(std::move(xs), std::move(ys), usable);
    inputView_->setGeometry(bounds);
    inputView_->reset(grid, usable);
    inputView_->setVisible(interactive);
    selectionView_->QWidget::hide();
    chooseRendering(interactive, sameDisplay);
    // Shaped before it maps, or a window that nothing shows through would cover the display
    // for a moment.
    reshape();
    if (!QWidget::isVisible())
        show();
    // Toggled on the live window: changing the widget's flags would hide it again.
    windowHandle()->setFlag(Qt::WindowTransparentForInput, !interactive);
    floating_ = !below;
    if (floating_)
        QWidget::raise();
    else
        platform_.stackBelow(winId(), *below);
}

bool PreviewOverlay::isInteractive() const {
    return !inputView_->isHidden();
}

// Without a compositing manager nothing shows through the window: outside the painted lines
// it must have no shape at all, or carry a picture of what lies below.
void PreviewOverlay::chooseRendering(bool interactive, bool sameDisplay) {
    if (platform_.compositorRunning()) {
        rendering_ = Rendering::translucent;
        desktop_ = {};
    } else if (interactive) {
        // Taken before the overlay covers the display; kept while it stays on the same one.
        if (rendering_ != Rendering::desktopPicture || !sameDisplay || desktop_.isNull()) {
            QScreen* screen = QGuiApplication::screenAt(geometry().center());
            if (screen == nullptr)
                screen = QGuiApplication::primaryScreen();
            const QRect area = geometry().translated(-screen->geometry().topLeft());
            desktop_ = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
        }
        rendering_ = Rendering::desktopPicture;
    } else {
        rendering_ = Rendering::shaped;
        desktop_ = {};
    }
    const bool opaque = rendering_ != Rendering::translucent;
    gridView_->setOpaque(opaque);
    selectionView_->setOpaque(opaque);
    useTranslucentWindow(!opaque);
    QWidget::update();
}

// Without a compositing manager the server itself redirects a window with an alpha channel and
// copies all of it to the screen at every change; an opaque window is drawn straight to it. The
// window's depth is fixed when it is made, so a change makes a new one.
void PreviewOverlay::useTranslucentWindow(bool translucent) {
    if (windowHandle() != nullptr && testAttribute(Qt::WA_TranslucentBackground) == translucent)
        return;
    if (windowHandle() != nullptr) {
        QWidget::hide();
        destroy();
    }
    setAttribute(Qt::WA_TranslucentBackground, translucent);
    create();
}

// The window's own shape, not the widget's mask: Qt clips all painting to a widget's mask,
// and clipping to a shape of thousands of pieces costs more than the painting itself.
void PreviewOverlay::reshape() {
    // Not made yet: shaped by the next showGrid, before it maps.
    if (windowHandle() == nullptr)
        return;
    if (rendering_ != Rendering::shaped) {
        windowHandle()->setMask({});
        return;
    }
    QRegion shape = gridView_->paintedRegion();
    if (!selectionView_->isHidden())
        shape += selectionView_->geometry();
    // An empty mask would mean "no mask"; a pixel outside the window leaves an empty shape.
    windowHandle()->setMask(shape.isEmpty() ? QRegion(-1, -1, 1, 1) : shape);
}

void PreviewOverlay::setSelection(std::optional<Rect> frame) {
    if (frame) {
        selectionView_->setGeometry(local(*frame).toAlignedRect());
        selectionView_->show();
    } else {
        selectionView_->QWidget::hide();
    }
    reshape();
}

void PreviewOverlay::hide() {
    if (inputView_->cancelDrag() && onSelectionChanged)
        onSelectionChanged(std::nullopt);
    QWidget::hide();
    selectionView_->QWidget::hide();
    desktop_ = {};
}

void PreviewOverlay::raise() {
    if (QWidget::isVisible() && floating_)
        QWidget::raise();
}

// Shaped, the window shows only what its views paint opaquely; translucent, nothing at all.
void PreviewOverlay::paintEvent(QPaintEvent*) {
    if (rendering_ != Rendering::desktopPicture)
        return;
    QPainter painter(this);
    painter.drawPixmap(rect(), desktop_);
}

}  // namespace tilewise
