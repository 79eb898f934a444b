#include "ui/preferences/RecorderButton.h"

#include <QKeyEvent>

#include "app/ShortcutRecording.h"

namespace tilewise {

RecorderButton::RecorderButton(ShortcutText shortcutText, VirtualKeyCodeOf virtualKeyCode,
                               QWidget* parent)
    : QPushButton(parent),
      shortcutText_(std::move(shortcutText)),
      virtualKeyCode_(std::move(virtualKeyCode)) {
    setMinimumWidth(130);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QPushButton::clicked, this, [this] { startRecording(); });
    updateTitle();
}

void RecorderButton::setCombo(std::optional<KeyCombo> combo) {
    combo_ = combo;
    updateTitle();
}

void RecorderButton::startRecording() {
    isRecording_ = true;
    updateTitle();
    setFocus(Qt::OtherFocusReason);
    // On X11 a real keyboard grab: the server stops delivering our own and other clients'
    // passive key grabs (global shortcuts) until it is released.
    grabKeyboard();
}

bool RecorderButton::event(QEvent* event) {
    // Taking the override keeps application shortcuts such as Ctrl+Q from firing, so the
    // press arrives here as an ordinary key press.
    if (isRecording_ && event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QPushButton::event(event);
}

void RecorderButton::keyPressEvent(QKeyEvent* event) {
    if (!isRecording_) {
        QPushButton::keyPressEvent(event);
        return;
    }
    event->accept();
    if (const auto pressed = keyComboOf(*event, virtualKeyCode_))
        record(*pressed);
}

void RecorderButton::focusOutEvent(QFocusEvent* event) {
    if (isRecording_) {
        isRecording_ = false;
        releaseKeyboard();
        updateTitle();
    }
    QPushButton::focusOutEvent(event);
}

void RecorderButton::record(const KeyCombo& pressed) {
    switch (ShortcutRecording::actionFor(pressed)) {
        case ShortcutRecording::Action::cancel:
            break;
        case ShortcutRecording::Action::clear:
            combo_.reset();
            if (onChange)
                onChange(std::nullopt);
            break;
        case ShortcutRecording::Action::record:
            combo_ = pressed;
            if (onChange)
                onChange(pressed);
            break;
    }
    stopRecording();
}

void RecorderButton::stopRecording() {
    isRecording_ = false;
    releaseKeyboard();
    updateTitle();
    clearFocus();
}

void RecorderButton::updateTitle() {
    const auto title = ShortcutRecording::title(
        isRecording_, combo_,
        [this](const KeyCombo& combo) { return shortcutText_(combo).toStdString(); });
    setText(QString::fromStdString(title));
}

}  // namespace tilewise
