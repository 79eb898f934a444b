#include "ui/preferences/ShortcutRecorder.h"

#include <QHBoxLayout>

#include "app/PreferencesContext.h"
#include "ui/preferences/PaneWidgets.h"
#include "ui/preferences/RecorderButton.h"

namespace tilewise {

ShortcutRecorder::ShortcutRecorder(PreferencesContext& context, Binding binding,
                                   const QString& accessibleName, QWidget* parent)
    : QWidget(parent), binding_(std::move(binding)) {
    button_ = PaneWidgets::named(new RecorderButton(
                                     [&context](const KeyCombo& combo) {
                                         return PaneWidgets::shortcutText(
                                             combo, context.keyboardLayout, context.texts);
                                     },
                                     context.virtualKeyCode, this),
                                 "recorderButton", accessibleName);
    button_->onChange = [this](std::optional<KeyCombo> combo) { binding_.write(combo); };
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(button_);
    refresh();
}

void ShortcutRecorder::refresh() {
    button_->setCombo(binding_.read());
}

}  // namespace tilewise
