#include "platform/x11/X11KeyboardLayout.h"

#include <xcb/xcb.h>
// xcb's XKB header names a field "explicit", a C++ keyword; Qt's own xcb plugin does the same.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdlib>

#include "platform/Log.h"
#include "platform/SharedLibrary.h"
#include "platform/x11/VirtualKeyCodes.h"

namespace tilewise::x11 {
namespace {

// libxkbcommon-x11, which brings libxkbcommon and libxcb-xkb with it, opened with the first
// keyboard layout: only the resident application labels keys.
struct KeymapLibrary {
    SharedLibrary library{"libxkbcommon-x11.so.0"};
    TILEWISE_LIBRARY_FUNCTION(xkb_x11_setup_xkb_extension);
    TILEWISE_LIBRARY_FUNCTION(xkb_x11_get_core_keyboard_device_id);
    TILEWISE_LIBRARY_FUNCTION(xkb_x11_keymap_new_from_device);
    TILEWISE_LIBRARY_FUNCTION(xkb_x11_state_new_from_device);
    TILEWISE_LIBRARY_FUNCTION(xkb_context_new);
    TILEWISE_LIBRARY_FUNCTION(xkb_context_unref);
    TILEWISE_LIBRARY_FUNCTION(xkb_keymap_unref);
    TILEWISE_LIBRARY_FUNCTION(xkb_keymap_num_layouts_for_key);
    TILEWISE_LIBRARY_FUNCTION(xkb_keymap_key_get_syms_by_level);
    TILEWISE_LIBRARY_FUNCTION(xkb_keysym_to_utf32);
    TILEWISE_LIBRARY_FUNCTION(xkb_state_serialize_layout);
    TILEWISE_LIBRARY_FUNCTION(xkb_state_unref);
    TILEWISE_LIBRARY_FUNCTION(xcb_xkb_select_events_aux);
};

const KeymapLibrary& keymaps() {
    static const KeymapLibrary library;
    return library;
}

// What can make a label change: another keyboard, another map (setxkbmap), another active
// layout of the several a user may switch between.
void selectLayoutChanges(xcb_connection_t* connection, std::int32_t deviceId) {
    constexpr std::uint16_t kEvents = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY |
                                      XCB_XKB_EVENT_TYPE_MAP_NOTIFY |
                                      XCB_XKB_EVENT_TYPE_STATE_NOTIFY;
    constexpr std::uint16_t kMapParts = 0xFF;
    xcb_xkb_select_events_details_t details{};
    details.affectNewKeyboard = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.newKeyboardDetails = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.affectState = XCB_XKB_STATE_PART_GROUP_STATE;
    details.stateDetails = XCB_XKB_STATE_PART_GROUP_STATE;
    keymaps().xcb_xkb_select_events_aux(connection, static_cast<xcb_xkb_device_spec_t>(deviceId),
                                        kEvents, 0, 0, kMapParts, kMapParts, &details);
}

// A character beyond the Basic Multilingual Plane takes a surrogate pair.
std::u16string utf16(char32_t character) {
    if (character < 0x10000)
        return {static_cast<char16_t>(character)};
    const char32_t offset = character - 0x10000;
    return {static_cast<char16_t>(0xD800 + (offset >> 10)),
            static_cast<char16_t>(0xDC00 + (offset & 0x3FF))};
}

}  // namespace

X11KeyboardLayout::X11KeyboardLayout(const std::string& displayName) {
    if (!connect(displayName)) {
        if (connection_ != nullptr)
            xcb_disconnect(connection_);
        connection_ = nullptr;
    }
}

X11KeyboardLayout::~X11KeyboardLayout() {
    if (keymap_ != nullptr)
        keymaps().xkb_keymap_unref(keymap_);
    if (context_ != nullptr)
        keymaps().xkb_context_unref(context_);
    if (connection_ != nullptr)
        xcb_disconnect(connection_);
}

std::optional<KeyTranslation> X11KeyboardLayout::translate(std::uint16_t keyCode) {
    if (!refresh())
        return std::nullopt;
    const auto keycode = VirtualKeyCodes::xKeycode(keyCode);
    if (!keycode)
        return KeyTranslation{paramErr, {}};
    const xkb_layout_index_t layouts = keymaps().xkb_keymap_num_layouts_for_key(keymap_, *keycode);
    if (layouts == 0)
        return KeyTranslation{noErr, {}};
    // A key with fewer layouts than the keyboard wraps around, as the server does.
    const xkb_layout_index_t layout = activeLayout_ % layouts;
    const xkb_keysym_t* keysyms = nullptr;
    const int count =
        keymaps().xkb_keymap_key_get_syms_by_level(keymap_, *keycode, layout, 0, &keysyms);
    if (count != 1)
        return KeyTranslation{noErr, {}};
    // Dead keys and keys without a character (F-keys, arrows) come back empty.
    const char32_t character = keymaps().xkb_keysym_to_utf32(keysyms[0]);
    if (character == 0)
        return KeyTranslation{noErr, {}};
    return KeyTranslation{noErr, utf16(character)};
}

bool X11KeyboardLayout::connect(const std::string& displayName) {
    if (!keymaps().library.complete()) {
        Log::error(LogCategory::hotkeys, "Key labels: libxkbcommon-x11 cannot be loaded");
        return false;
    }
    connection_ = xcb_connect(displayName.empty() ? nullptr : displayName.c_str(), nullptr);
    if (xcb_connection_has_error(connection_) != 0) {
        Log::error(LogCategory::hotkeys, "Key labels: cannot open the X display");
        return false;
    }
    if (keymaps().xkb_x11_setup_xkb_extension(
            connection_, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &xkbEventBase_, nullptr) == 0) {
        Log::error(LogCategory::hotkeys, "Key labels: the X server has no keyboard extension");
        return false;
    }
    deviceId_ = keymaps().xkb_x11_get_core_keyboard_device_id(connection_);
    context_ = keymaps().xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (deviceId_ < 0 || context_ == nullptr) {
        Log::error(LogCategory::hotkeys, "Key labels: no core keyboard to read");
        return false;
    }
    selectLayoutChanges(connection_, deviceId_);
    return true;
}

bool X11KeyboardLayout::refresh() {
    if (connection_ == nullptr || context_ == nullptr ||
        xcb_connection_has_error(connection_) != 0) {
        return false;
    }
    handleEvents();
    if (keymapStale_)
        loadKeymap();
    if (keymap_ != nullptr && layoutStale_)
        loadActiveLayout();
    return keymap_ != nullptr;
}

void X11KeyboardLayout::handleEvents() {
    // The reply comes after every event the server generated before it, so a layout switched
    // just before this call is already seen.
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    while (xcb_generic_event_t* event = xcb_poll_for_queued_event(connection_)) {
        if ((event->response_type & 0x7F) == xkbEventBase_) {
            // Every XKB event carries its own kind in the byte after the response type.
            const auto kind = reinterpret_cast<const xcb_xkb_map_notify_event_t*>(event)->xkbType;
            if (kind == XCB_XKB_STATE_NOTIFY) {
                layoutStale_ = true;
            } else {
                keymapStale_ = true;
            }
        }
        std::free(event);
    }
}

void X11KeyboardLayout::loadKeymap() {
    xkb_keymap* keymap = keymaps().xkb_x11_keymap_new_from_device(context_, connection_, deviceId_,
                                                                  XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (keymap == nullptr) {
        Log::error(LogCategory::hotkeys, "Key labels: the keyboard map cannot be read");
        return;
    }
    if (keymap_ != nullptr)
        keymaps().xkb_keymap_unref(keymap_);
    keymap_ = keymap;
    keymapStale_ = false;
    layoutStale_ = true;
}

void X11KeyboardLayout::loadActiveLayout() {
    xkb_state* state = keymaps().xkb_x11_state_new_from_device(keymap_, connection_, deviceId_);
    if (state == nullptr) {
        Log::error(LogCategory::hotkeys, "Key labels: the keyboard state cannot be read");
        return;
    }
    activeLayout_ = keymaps().xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE);
    keymaps().xkb_state_unref(state);
    layoutStale_ = false;
}

}  // namespace tilewise::x11
