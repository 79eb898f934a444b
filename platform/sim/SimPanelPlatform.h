#pragma once

#include <utility>

#include "platform/PanelPlatform.h"

namespace tilewise::sim {

/// The simulated desktop's answers for the panel, set by tests. The simulated keyboard numbers
/// its keys as the X server does: the virtual key code's evdev counterpart is not needed, so a
/// scan code is simply the virtual key code plus 8.
class SimPanelPlatform final : public PanelPlatform {
  public:
    static constexpr std::uint32_t kScanCodeOffset = 8;

    bool compositorRunning() override { return compositor; }
    std::optional<std::uint16_t> virtualKeyCode(std::uint32_t nativeScanCode) override {
        if (nativeScanCode < kScanCodeOffset || nativeScanCode > 0xFFFF)
            return std::nullopt;
        return static_cast<std::uint16_t>(nativeScanCode - kScanCodeOffset);
    }
    Modifiers standardCommandModifier() override { return Modifiers::control; }
    void stackBelow(std::uint64_t window, std::uint64_t sibling) override {
        stackedBelow = {window, sibling};
    }
    bool coveredByOthers(std::uint64_t, std::span<const std::uint64_t>) override { return covered; }

    bool compositor = false;
    /// The last window stacked and its sibling.
    std::optional<std::pair<std::uint64_t, std::uint64_t>> stackedBelow;
    /// Whether another application's window lies above the one asked about.
    bool covered = false;
};

}  // namespace tilewise::sim
