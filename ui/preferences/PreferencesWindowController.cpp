#include "ui/preferences/PreferencesWindowController.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include "app/PreferencesContext.h"
#include "ui/preferences/PreferencesView.h"

namespace tilewise {

PreferencesWindowController::PreferencesWindowController(PreferencesContext& context,
                                                         QObject* parent)
    : QObject(parent), context_(context) {}

PreferencesWindowController::~PreferencesWindowController() = default;

void PreferencesWindowController::show() {
    if (!window_)
        createWindow();
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void PreferencesWindowController::createWindow() {
    window_ = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::WindowTitleHint |
                                                     Qt::WindowCloseButtonHint |
                                                     Qt::WindowMinimizeButtonHint);
    window_->setObjectName("preferencesWindow");
    window_->setWindowTitle("Tilewise Preferences");
    window_->setAccessibleName("Tilewise Preferences");
    window_->setFixedSize(kWidth, kHeight);
    view_ = new PreferencesView(context_, window_.get());
    view_->setObjectName("preferencesView");
    auto* layout = new QVBoxLayout(window_.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    if (const auto* screen = QGuiApplication::primaryScreen()) {
        auto frame = window_->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window_->move(frame.topLeft());
    }
    window_->installEventFilter(this);
    window_->winId();
    connect(window_->windowHandle(), &QWindow::screenChanged, this,
            [this] { notifyStateChanged(); });
}

bool PreferencesWindowController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_.get()) {
        switch (event->type()) {
            case QEvent::WindowActivate:
            case QEvent::WindowDeactivate:
                notifyStateChanged();
                break;
            case QEvent::Close:
                // The window is still visible while it handles the close: look one turn later.
                QTimer::singleShot(0, this, [this] { notifyStateChanged(); });
                break;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void PreferencesWindowController::notifyStateChanged() {
    if (context_.windowStateChanged)
        context_.windowStateChanged();
}

bool PreferencesWindowController::isGridTabSelected() const {
    return view_ != nullptr && view_->tab() == PreferencesTab::grid;
}

std::optional<PreferencesWindow::Placement> PreferencesWindowController::activePlacement() const {
    if (!window_ || !window_->isVisible() || !window_->isActiveWindow())
        return std::nullopt;
    const auto frame = window_->frameGeometry();
    const auto ratio = window_->devicePixelRatioF();
    return Placement{
        .frame = Rect(frame.x() * ratio, frame.y() * ratio, frame.width() * ratio,
                      frame.height() * ratio),
        .nativeWindow = static_cast<std::uintptr_t>(window_->winId()),
    };
}

}  // namespace tilewise
