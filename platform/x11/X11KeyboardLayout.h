#pragma once

#include <string>

#include "platform/KeyboardLayout.h"

struct xcb_connection_t;
struct xkb_context;
struct xkb_keymap;

namespace tilewise::x11 {

/// The server's current keyboard layout, read through XKB on a connection of its own. The
/// keymap is fetched once and again only after the server announces a new keyboard, a changed
/// map or a switch of the active layout, so labelling many keys costs one round trip each.
/// Main thread only.
class X11KeyboardLayout final : public KeyboardLayout {
  public:
    /// Connects to `displayName` (the DISPLAY variable when empty). Without a connection or
    /// the keyboard extension every translation is absent, and the reason is logged.
    explicit X11KeyboardLayout(const std::string& displayName = {});
    ~X11KeyboardLayout() override;

    /// The characters the key types on the active layout at its first shift level, as the
    /// display action of UCKeyTranslate gives them; a dead key types nothing. paramErr for a
    /// key code without a key on a Linux keyboard.
    std::optional<KeyTranslation> translate(std::uint16_t keyCode) override;

  private:
    bool connect(const std::string& displayName);
    bool refresh();
    void handleEvents();
    void loadKeymap();
    void loadActiveLayout();

    xcb_connection_t* connection_ = nullptr;
    xkb_context* context_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    std::int32_t deviceId_ = -1;
    std::uint8_t xkbEventBase_ = 0;
    std::uint32_t activeLayout_ = 0;
    bool keymapStale_ = true;
    bool layoutStale_ = true;
};

}  // namespace tilewise::x11
