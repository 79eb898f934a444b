#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "core/KeyCombo.h"

namespace tilewise {

struct PreferencesContext;
class RecorderButton;

/// A `RecorderButton` bound to an optional shortcut held elsewhere (in the settings): every
/// recorded or cleared shortcut is written through the binding, and `refresh` shows the
/// binding's current value. The button keeps its recording state across refreshes.
class ShortcutRecorder : public QWidget {
    Q_OBJECT

  public:
    struct Binding {
        std::function<std::optional<KeyCombo>()> read;
        std::function<void(std::optional<KeyCombo>)> write;
    };

    ShortcutRecorder(PreferencesContext& context, Binding binding, const QString& accessibleName,
                     QWidget* parent = nullptr);

    /// Shows the binding's value.
    void refresh();
    RecorderButton& button() { return *button_; }

  private:
    Binding binding_;
    RecorderButton* button_;
};

}  // namespace tilewise
