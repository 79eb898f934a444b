#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "platform/PropertyValue.h"
#include "platform/x11/ModifierMasks.h"

namespace tilewise::x11 {

/// The key combinations that the current keymap binds to an action of the X server or the
/// console rather than to a character (Ctrl+Alt+F1…F12 switch virtual terminals in the standard
/// keymap): a grab on one of them is granted but never fires. Each comes as a symbolic hot
/// key's dictionary: macOS key code, Carbon modifier flags, enabled.
std::vector<PropertyDictionary> systemShortcuts(Display* display, const ModifierMasks& masks);

}  // namespace tilewise::x11
