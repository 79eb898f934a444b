#pragma once

#include <QPushButton>
#include <functional>
#include <optional>

#include "core/KeyCombo.h"
#include "ui/KeyEventCombo.h"

namespace tilewise {

/// A push button that shows a shortcut and, once clicked, records the next key press with the
/// modifiers held as the new one. While it records it holds the keyboard, so a combination
/// registered as a global shortcut, or one of the application's own (Ctrl+Q), is recorded
/// rather than performed. Plain Escape cancels, plain Delete or Forward Delete clears, and
/// losing the focus ends recording without a change.
class RecorderButton : public QPushButton {
    Q_OBJECT

  public:
    using ShortcutText = std::function<QString(const KeyCombo&)>;

    RecorderButton(ShortcutText shortcutText, VirtualKeyCodeOf virtualKeyCode,
                   QWidget* parent = nullptr);

    /// Called after every recorded or cleared shortcut.
    std::function<void(std::optional<KeyCombo>)> onChange;

    const std::optional<KeyCombo>& combo() const { return combo_; }
    /// Shows `combo`; does not call `onChange`.
    void setCombo(std::optional<KeyCombo> combo);
    bool isRecording() const { return isRecording_; }

    void startRecording();

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void record(const KeyCombo& pressed);
    void stopRecording();
    void updateTitle();

    ShortcutText shortcutText_;
    VirtualKeyCodeOf virtualKeyCode_;
    std::optional<KeyCombo> combo_;
    bool isRecording_ = false;
};

}  // namespace tilewise
