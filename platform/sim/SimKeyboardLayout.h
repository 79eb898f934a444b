#pragma once

#include <map>
#include <string>

#include "platform/KeyboardLayout.h"

namespace tilewise::sim {

/// The keyboard layouts the simulation knows, by the character each key types unmodified.
enum class SimLayout { none, us, french };

/// The current keyboard layout of the simulated desktop. Dead keys type nothing, as they do
/// with a fresh dead-key state; keys the layout does not have answer paramErr.
class SimKeyboardLayout final : public KeyboardLayout {
  public:
    explicit SimKeyboardLayout(SimLayout layout = SimLayout::us) { select(layout); }

    std::optional<KeyTranslation> translate(std::uint16_t keyCode) override;

    /// Switches the current layout; `none` leaves the desktop without key-layout data.
    void select(SimLayout layout);

  private:
    const std::map<std::uint16_t, std::u16string>* keys_ = nullptr;
};

}  // namespace tilewise::sim
