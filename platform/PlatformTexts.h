#pragma once

#include <string>
#include <string_view>

#include "core/KeyCombo.h"

namespace tilewise {

/// How a system words what the application shows: the sentences as written name macOS's parts
/// (System Settings, Finder, the ⌃⌥⇧⌘ glyphs); a backend for another system renders them in its
/// own terms here, in one place, and the rest of the application keeps the sentences as written.
/// This base renders every text unchanged, as a macOS backend (and the simulated one) does.
class PlatformTexts {
  public:
    PlatformTexts() = default;
    PlatformTexts(const PlatformTexts&) = delete;
    PlatformTexts& operator=(const PlatformTexts&) = delete;
    virtual ~PlatformTexts() = default;

    /// `text` as this system says it: any sentence that names another system's parts
    /// replaced, modifier and key glyphs spelt as this system's keyboards label them.
    virtual std::string render(std::string_view text) const { return std::string{text}; }

    /// A shortcut as shown in menus, lists and the recorder: the modifiers, then the key.
    std::string shortcut(Modifiers modifiers, std::string_view keyName) const {
        return render(modifiers.symbols() + std::string{keyName});
    }

    /// The texts of the named backend, available without opening it ("x11" speaks Linux).
    static const PlatformTexts& forBackend(std::string_view backend);
};

}  // namespace tilewise
