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
    inputView_->QWidget::hide();
    inputView_->onSelectionChanged = [this](std::optional<CellSelection> selection) {
        if (onSelectionChanged)
            onSelectionChanged(selection);
    };
    inputView_->onCommit = [this](CellSelection selection) {
        if (onCommit)
            onCommit(selection);
    };
    platform_.onCompositorGone = [this] { compositorGone(); };
}

PreviewOverlay::~PreviewOverlay() {
    platform_.onCompositorGone = nullptr;
}

QRectF PreviewOverlay::local(const Rect& frame) const {
    const double ratio = devicePixelRatioF();
    return {(frame.minX() - displayFrame_.minX()) / ratio,
            (frame.minY() - displayFrame_.minY()) / ratio, frame.width() / ratio,
            frame.height() / ratio};
}

void PreviewOverlay::showGrid(const DisplayInfo& display, GridSize grid, const Margins& margins,
                              std::optional<WindowId> below, bool interactive) {
    const bool sameDisplay = shown_ && displayFrame_ == display.frame;
    last_ = Shown{display, grid, margins, below, interactive};
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
    // Chosen first: the lines are drawn for the window they will be on.
    chooseRendering(interactive, sameDisplay);
    selectionView_->setFrame(std::nullopt);
    selectionView_->setGeometry(bounds);
    gridView_->setGeometry(bounds);
    gridView_->update(std::move(xs), std::move(ys), usable);
    inputView_->setGeometry(bounds);
    inputView_->reset(grid, usable);
    inputView_->setVisible(interactive);
    shown_ = true;
    // Shaped before it maps, or a window that nothing shows through would cover the display
    // for a moment.
    reshape();
    const bool mapped = QWidget::isVisible();
    if (!mapped)
        show();
    setTakesInput(interactive);
    floating_ = !below;
    if (!floating_)
        platform_.stackBelow(winId(), *below);
    else if (!mapped || coveredByOthers())
        QWidget::raise();
}

// A restack has a compositing manager redraw all the window covers, so a window that is still
// on top stays where it is.
bool PreviewOverlay::coveredByOthers() {
    std::vector<std::uint64_t> own;
    for (const QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window != windowHandle() && window->handle() != nullptr)
            own.push_back(window->winId());
    }
    return platform_.coveredByOthers(winId(), own);
}

// Toggled on the live window: changing the widget's flags would hide it again.
void PreviewOverlay::setTakesInput(bool takes) {
    if (windowHandle()->flags().testFlag(Qt::WindowTransparentForInput) == takes)
        windowHandle()->setFlag(Qt::WindowTransparentForInput, !takes);
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
    // Over the desktop's picture the preview is blended by us, as a compositing manager would.
    selectionView_->setOpaque(rendering_ == Rendering::shaped);
    useTranslucentWindow(!opaque);
    // The desktop's picture lies under everything; translucent, the views invalidate only
    // what they change.
    if (rendering_ == Rendering::desktopPicture)
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
// Hidden, the window keeps what it painted: emptied of its shape, or, for a compositing
// manager, of its opacity, since not every one of them redraws a window whose shape changes.
// Shown again with the same grid, nothing is painted: the compositing manager draws the whole
// window anew, which on a large display takes less than the thin, tall bands of the lines
// painted, sent and composited again. Only one of the two changes, or it would draw it twice.
void PreviewOverlay::reshape() {
    // Not made yet: shaped by the next showGrid, before it maps.
    if (windowHandle() == nullptr)
        return;
    // An empty mask would mean "no mask"; a pixel outside the window leaves an empty shape.
    const QRegion nothing(-1, -1, 1, 1);
    QRegion shape;
    qreal opacity = 1.0;
    if (rendering_ == Rendering::translucent) {
        opacity = shown_ ? 1.0 : 0.0;
    } else if (!shown_) {
        shape = nothing;
    } else if (rendering_ == Rendering::shaped) {
        shape = gridView_->paintedRegion() + selectionView_->outline();
        if (shape.isEmpty())
            shape = nothing;
    }
    if (windowHandle()->mask() != shape)
        windowHandle()->setMask(shape);
    if (windowHandle()->opacity() != opacity)
        windowHandle()->setOpacity(opacity);
}

void PreviewOverlay::setSelection(std::optional<Rect> frame) {
    selectionView_->setFrame(frame ? std::optional(local(*frame).toAlignedRect()) : std::nullopt);
    reshape();
}

void PreviewOverlay::hide() {
    if (inputView_->cancelDrag() && onSelectionChanged)
        onSelectionChanged(std::nullopt);
    shown_ = false;
    selectionView_->setFrame(std::nullopt);
    desktop_ = {};
    if (!QWidget::isVisible())
        return;
    // Left mapped, it is off the screen all the same: mapping a window has Qt paint and hand
    // over all of it.
    reshape();
    setTakesInput(false);
}

// Left to itself, a window with an alpha channel shows black wherever it is clear: the window
// left on the screen goes, and a grid on show is drawn the way a desktop without one needs.
void PreviewOverlay::compositorGone() {
    if (rendering_ != Rendering::translucent || !QWidget::isVisible())
        return;
    if (shown_ && last_)
        showGrid(last_->display, last_->grid, last_->margins, last_->below, last_->interactive);
    else
        QWidget::hide();
}

void PreviewOverlay::raise() {
    if (shown_ && floating_ && coveredByOthers())
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
