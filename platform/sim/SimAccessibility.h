#pragma once

#include "platform/Accessibility.h"
#include "platform/sim/SimDesktop.h"

namespace tilewise::sim {

/// The Accessibility interface over the simulated desktop. Windows obey writes as their
/// SimWindow describes (limits, ignored or drifting moves, closing mid-request), applications
/// marked unresponsive answer kAXErrorCannotComplete, and without trust every call on an
/// element answers kAXErrorAPIDisabled.
class SimAccessibility final : public Accessibility {
  public:
    explicit SimAccessibility(SimDesktop& desktop) : desktop_(desktop) {}

    bool isProcessTrusted() override;
    bool isProcessTrustedWithPrompt() override;
    AXElement createApplication(std::int32_t pid) override;
    AXError setMessagingTimeout(const AXElement& element, float seconds) override;
    AXCopyResult copyAttributeValue(const AXElement& element, std::string_view attribute) override;
    AXSettableResult isAttributeSettable(const AXElement& element,
                                         std::string_view attribute) override;
    AXError setAttributeValue(const AXElement& element, std::string_view attribute,
                              const AXValue& value) override;
    bool applicationLimitsSize(const AXElement& window, Size requested, Size actual) override;
    std::uint64_t hash(const AXElement& element) override;

    /// The element the simulation hands out for a window.
    static AXElement windowElement(WindowId id);

  private:
    SimDesktop& desktop_;
};

}  // namespace tilewise::sim
