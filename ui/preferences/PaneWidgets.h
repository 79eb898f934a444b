#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "core/KeyCombo.h"
#include "core/Settings.h"
#include "platform/PlatformTexts.h"

class QAbstractButton;
class QLabel;

namespace tilewise {

class KeyboardLayout;
class SettingsStore;

/// Small pieces shared by the preferences panes.
namespace PaneWidgets {

enum class TextStyle { secondary, warning, error };

/// Gives `widget` the object name that tests find it by and the name the accessibility tree
/// shows; returns it.
template <typename Widget>
Widget* named(Widget* widget, const QString& objectName, const QString& accessibleName) {
    widget->setObjectName(objectName);
    widget->setAccessibleName(accessibleName);
    return widget;
}

/// A word-wrapped caption-sized label in the given colour; the accessibility tree reads its text.
QLabel* caption(const QString& objectName, const QString& text, TextStyle style, QWidget* parent);

/// Shows `checked` on a switch without reporting it as the user's change: the panes act on
/// `toggled`, which a click, the keyboard and the accessibility tree's Toggle all send.
void showChecked(QAbstractButton* button, bool checked);

/// Assigns the store's settings with `edit` applied, in one write.
void editSettings(SettingsStore& store, const std::function<void(TilewiseSettings&)>& edit);

/// A shortcut as the preferences show it: the modifiers followed by the key's name.
QString shortcutText(const KeyCombo& combo, KeyboardLayout& layout, const PlatformTexts& texts);

}  // namespace PaneWidgets
}  // namespace tilewise
