#pragma once

#include "platform/PlatformTexts.h"

namespace tilewise {

/// The Linux desktop's wording: modifiers as Ctrl, Alt, Shift and Super joined by "+", special
/// keys by their names on PC keyboards, and a sentence of its own for each sentence that names
/// what a Linux desktop does not have.
class LinuxTexts final : public PlatformTexts {
  public:
    std::string render(std::string_view text) const override;
};

}  // namespace tilewise
