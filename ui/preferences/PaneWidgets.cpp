#include "ui/preferences/PaneWidgets.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPalette>
#include <QSignalBlocker>

#include "app/KeyboardLabels.h"
#include "app/SettingsStore.h"

namespace tilewise::PaneWidgets {
namespace {

QColor colourOf(TextStyle style, const QPalette& palette) {
    switch (style) {
        case TextStyle::warning:
            return QColor(0xE6, 0x7E, 0x00);
        case TextStyle::error:
            return QColor(0xD0, 0x20, 0x20);
        case TextStyle::secondary:
            break;
    }
    return palette.color(QPalette::PlaceholderText);
}

}  // namespace

QLabel* caption(const QString& objectName, const QString& text, TextStyle style, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setWordWrap(true);
    auto font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
    auto palette = label->palette();
    palette.setColor(QPalette::WindowText, colourOf(style, palette));
    label->setPalette(palette);
    return label;
}

void showChecked(QAbstractButton* button, bool checked) {
    const QSignalBlocker quiet(button);
    button->setChecked(checked);
}

void editSettings(SettingsStore& store, const std::function<void(TilewiseSettings&)>& edit) {
    auto settings = store.settings();
    edit(settings);
    store.setSettings(std::move(settings));
}

QString shortcutText(const KeyCombo& combo, KeyboardLayout& layout, const PlatformTexts& texts) {
    return QString::fromStdString(texts.render(KeyboardLabels::shortcutName(combo, layout)));
}

}  // namespace tilewise::PaneWidgets
