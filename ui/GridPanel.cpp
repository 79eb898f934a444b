#include "ui/GridPanel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <cmath>

#include "app/GridPanelController.h"
#include "platform/Log.h"
#include "ui/GridView.h"
#include "ui/ImageConversion.h"
#include "ui/KeyEventCombo.h"

namespace tilewise {
namespace {

constexpr int kIconSize = 18;
constexpr double kCornerRadius = 12;
constexpr Scheduler::Duration kGrabRetry{1};
constexpr int kGridWidth = static_cast<int>(GridPanelController::kGridWidth);
const QColor kBackground{38, 38, 40};
const QColor kLabel{240, 240, 240};
const QColor kSecondaryLabel{160, 160, 165};

bool isModifierKey(int key) {
    switch (key) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_Hyper_L:
        case Qt::Key_Hyper_R:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
            return true;
        default:
            return false;
    }
}

// Qt names printable keys by their unshifted Latin-1 character, whatever modifiers are held.
std::string charactersIgnoringModifiers(int key) {
    if (key < 0x20 || key > 0xFF)
        return {};
    return QString(QChar(key)).toLower().toStdString();
}

}  // namespace

GridPanel::GridPanel(Scheduler& mainQueue, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                          Qt::BypassWindowManagerHint),
      mainQueue_(mainQueue) {
    setObjectName("gridPanel");
    setAccessibleName("Grid panel");
    setWindowTitle("Tilewise Grid");
    setAttribute(Qt::WA_ShowWithoutActivating);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kBackground);
    colours.setColor(QPalette::WindowText, kLabel);
    colours.setColor(QPalette::ButtonText, kLabel);
    setPalette(colours);
    buildContent();
    fade_ = new QPropertyAnimation(this, "windowOpacity", this);
    fade_->setEndValue(0.0);
}

void GridPanel::buildContent() {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(20, 14, 20, 12);
    column->setSpacing(10);
    column->setSizeConstraint(QLayout::SetFixedSize);

    auto* header = new QHBoxLayout;
    header->setSpacing(6);
    iconView_ = new QLabel(this);
    iconView_->setObjectName("iconView");
    iconView_->setFixedSize(kIconSize, kIconSize);
    titleLabel_ = new QLabel(this);
    titleLabel_->setObjectName("titleLabel");
    QFont titleFont = titleLabel_->font();
    titleFont.setPixelSize(13);
    titleFont.setWeight(QFont::DemiBold);
    titleLabel_->setFont(titleFont);
    titleLabel_->setFixedWidth(kGridWidth - kIconSize - 6);
    header->addWidget(iconView_);
    header->addWidget(titleLabel_);
    column->addLayout(header);

    gridView_ = new GridView(this);
    gridView_->setFixedSize(kGridWidth, 200);
    column->addWidget(gridView_);

    auto* controls = new QHBoxLayout;
    controls->setSpacing(4);
    sizeLabel_ = new QLabel(this);
    sizeLabel_->setObjectName("sizeLabel");
    QFont sizeFont = sizeLabel_->font();
    sizeFont.setPixelSize(11);
    sizeLabel_->setFont(sizeFont);
    QPalette secondary = sizeLabel_->palette();
    secondary.setColor(QPalette::WindowText, kSecondaryLabel);
    sizeLabel_->setPalette(secondary);
    controls->addWidget(makeButton(PanelButton::fewerColumns, "−", "Fewer columns"));
    controls->addWidget(makeButton(PanelButton::moreColumns, "+", "More columns"));
    controls->addWidget(sizeLabel_);
    controls->addWidget(makeButton(PanelButton::fewerRows, "−", "Fewer rows"));
    controls->addWidget(makeButton(PanelButton::moreRows, "+", "More rows"));
    controls->addStretch(1);
    controls->addWidget(makeButton(PanelButton::openPreferences, "⚙", "Preferences"));
    controls->addWidget(makeButton(PanelButton::close, "✕", "Close"));
    column->addLayout(controls);

    gridView_->onSelectionChanged = [this](std::optional<CellSelection> selection) {
        if (onSelectionChanged)
            onSelectionChanged(selection);
    };
    gridView_->onCommit = [this](CellSelection selection) {
        if (onCommit)
            onCommit(selection);
    };
    setGrid(gridView_->grid());
}

QToolButton* GridPanel::makeButton(PanelButton which, const QString& symbol, const QString& label) {
    auto* button = new QToolButton(this);
    button->setText(symbol);
    button->setToolTip(label);
    button->setAccessibleName(label);
    button->setObjectName(label);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this, which] {
        if (onButton)
            onButton(which);
    });
    buttons_.emplace_back(which, button);
    return button;
}

QToolButton& GridPanel::button(PanelButton which) {
    for (const auto& [kind, widget] : buttons_) {
        if (kind == which)
            return *widget;
    }
    return *buttons_.front().second;
}

GridSize GridPanel::grid() const {
    return gridView_->grid();
}

void GridPanel::setGrid(GridSize grid) {
    gridView_->setGrid(grid);
    sizeLabel_->setText(QString::number(grid.columns) + " × " + QString::number(grid.rows));
}

bool GridPanel::isDragging() const {
    return gridView_->tracker().isDragging();
}

void GridPanel::cancelDrag() {
    gridView_->cancelDrag();
}

void GridPanel::setGridHeight(double height) {
    gridView_->setFixedHeight(static_cast<int>(height));
}

void GridPanel::setTitle(const std::string& text, bool isMessage) {
    fullTitle_ = QString::fromStdString(text);
    // Long names are cut at the end rather than widening the panel.
    titleLabel_->setText(
        titleLabel_->fontMetrics().elidedText(fullTitle_, Qt::ElideRight, titleLabel_->width()));
    titleLabel_->setToolTip(fullTitle_);
    titleLabel_->setAccessibleName(fullTitle_);
    QPalette colours = titleLabel_->palette();
    colours.setColor(QPalette::WindowText, isMessage ? kSecondaryLabel : kLabel);
    titleLabel_->setPalette(colours);
}

void GridPanel::showMessage(const std::string& message) {
    setTitle(message, true);
    iconView_->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(kIconSize, kIconSize));
}

void GridPanel::showApplication(const std::string& name, std::shared_ptr<const Image> icon) {
    setTitle(name, false);
    iconView_->setPixmap(icon ? pixmapFromImage(*icon, kIconSize) : QPixmap{});
}

void GridPanel::present(const Rect& visibleFrame) {
    fade_->stop();
    setWindowOpacity(1.0);
    adjustSize();
    // Root-window pixels become Qt's device-independent pixels.
    const double ratio = devicePixelRatioF();
    const QSize size = sizeHint();
    move(static_cast<int>(std::round(visibleFrame.midX() / ratio - size.width() / 2.0)),
         static_cast<int>(std::round(visibleFrame.midY() / ratio - size.height() / 2.0)));
    show();
    QWidget::raise();
    gridView_->setFocus();
    ++showing_;
    if (!keyboardGrabbed_)
        takeKeyboard(Scheduler::Duration::zero());
}

// Another client may hold the keyboard for a moment (the key that opened the panel, an open
// menu), so the grab is asked for again every millisecond for a while.
void GridPanel::takeKeyboard(Scheduler::Duration waited) {
    if (!QWidget::isVisible() || windowHandle() == nullptr)
        return;
    if (windowHandle()->setKeyboardGrabEnabled(true)) {
        keyboardGrabbed_ = true;
        return;
    }
    if (waited >= kGrabPatience) {
        Log::error(LogCategory::app,
                   "The grid panel could not take the keyboard: another program holds it. "
                   "The panel works with the mouse; its keys go to the window in front.");
        return;
    }
    mainQueue_.schedule(kGrabRetry, [this, showing = showing_, waited] {
        if (showing == showing_)
            takeKeyboard(waited + kGrabRetry);
    });
}

void GridPanel::releaseKeyboard() {
    if (keyboardGrabbed_ && windowHandle() != nullptr)
        windowHandle()->setKeyboardGrabEnabled(false);
    keyboardGrabbed_ = false;
}

void GridPanel::startFade(Scheduler::Duration duration) {
    fade_->stop();
    fade_->setDuration(static_cast<int>(duration.count()));
    fade_->setStartValue(windowOpacity());
    fade_->start();
}

void GridPanel::orderOut() {
    fade_->stop();
    releaseKeyboard();
    ++showing_;
    hide();
    setWindowOpacity(1.0);
}

void GridPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (onCancel)
            onCancel();
        return;
    }
    if (isModifierKey(event->key()))
        return;
    const PanelKeyPress key{event->nativeScanCode(), modifiersOf(event->modifiers()),
                            charactersIgnoringModifiers(event->key())};
    if (!onKeyDown || !onKeyDown(key))
        QWidget::keyPressEvent(event);
}

void GridPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Without a compositing manager a translucent corner would be black: the window's shape
    // itself is rounded instead.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
}

void GridPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
}

}  // namespace tilewise
