#include "platform/sim/SimAccessibility.h"

#include <algorithm>
#include <cmath>
#include <expected>

namespace tilewise::sim {
namespace {

/// The records an element stands for; `window` is null for an application element.
struct Target {
    SimApplication* application = nullptr;
    SimWindow* window = nullptr;
};

std::expected<Target, AXError> resolve(SimDesktopState& state, const AXElement& element,
                                       bool trusted) {
    if (!trusted) {
        return std::unexpected(kAXErrorAPIDisabled);
    }
    Target target;
    ProcessId pid = 0;
    if (element.kind == AXElement::Kind::application) {
        pid = static_cast<ProcessId>(element.id);
    } else if (element.kind == AXElement::Kind::window) {
        const auto window = state.windows.find(element.id);
        if (window == state.windows.end() || window->second.closed) {
            return std::unexpected(kAXErrorInvalidUIElement);
        }
        target.window = &window->second;
        pid = state.windowOwners.at(element.id);
    } else {
        return std::unexpected(kAXErrorInvalidUIElement);
    }
    const auto application = state.applications.find(pid);
    if (application == state.applications.end() || application->second.isTerminated) {
        return std::unexpected(kAXErrorInvalidUIElement);
    }
    if (application->second.unresponsive) {
        return std::unexpected(kAXErrorCannotComplete);
    }
    target.application = &application->second;
    return target;
}

AXCopyResult windowReference(const SimDesktopState& state, std::optional<WindowId> id) {
    if (!id) {
        return {};
    }
    const auto window = state.windows.find(*id);
    if (window == state.windows.end() || window->second.closed) {
        return {};
    }
    return {kAXErrorSuccess, SimAccessibility::windowElement(*id)};
}

AXCopyResult readApplication(const SimDesktopState& state, const SimApplication& application,
                             std::string_view attribute) {
    if (attribute == AXAttribute::focusedWindow) {
        return windowReference(state, application.focusedWindow);
    }
    if (attribute == AXAttribute::mainWindow) {
        return windowReference(state, application.mainWindow);
    }
    if (attribute == AXAttribute::windows) {
        AXElementArray open;
        for (const WindowId id : application.windows) {
            if (!state.windows.at(id).closed) {
                open.push_back(SimAccessibility::windowElement(id));
            }
        }
        return {kAXErrorSuccess, std::move(open)};
    }
    if (attribute == AXAttribute::enhancedUserInterface && application.enhancedUserInterface) {
        return {kAXErrorSuccess, *application.enhancedUserInterface};
    }
    return {kAXErrorAttributeUnsupported, std::nullopt};
}

AXCopyResult readWindow(const SimWindow& window, std::string_view attribute) {
    if (attribute == AXAttribute::subrole && window.subrole) {
        return {kAXErrorSuccess, *window.subrole};
    }
    if (attribute == AXAttribute::minimized) {
        return {kAXErrorSuccess, window.minimized};
    }
    if (attribute == AXAttribute::fullScreen) {
        return {kAXErrorSuccess, window.fullScreen};
    }
    if (attribute == AXAttribute::position) {
        return {kAXErrorSuccess, window.frame.origin};
    }
    if (attribute == AXAttribute::size) {
        return {kAXErrorSuccess, window.frame.size};
    }
    return {kAXErrorAttributeUnsupported, std::nullopt};
}

double constrainLength(double length, std::optional<double> minimum, std::optional<double> maximum,
                       double increment) {
    if (maximum) {
        length = std::min(length, *maximum);
    }
    const double base = minimum.value_or(0);
    length = std::max(length, base);
    if (increment > 0) {
        length = base + std::floor((length - base) / increment) * increment;
    }
    return length;
}

Size constrainSize(const SimWindow& window, Size requested) {
    const auto& min = window.minimumSize;
    const auto& max = window.maximumSize;
    return {
        constrainLength(requested.width, min ? std::optional{min->width} : std::nullopt,
                        max ? std::optional{max->width} : std::nullopt, window.sizeIncrement.width),
        constrainLength(requested.height, min ? std::optional{min->height} : std::nullopt,
                        max ? std::optional{max->height} : std::nullopt,
                        window.sizeIncrement.height)};
}

AXError moveWindow(SimWindow& window, const AXValue& value) {
    const auto* point = std::get_if<Point>(&value);
    if (!point) {
        return kAXErrorIllegalArgument;
    }
    if (!window.positionSettable) {
        return kAXErrorAttributeUnsupported;
    }
    if (window.positionWritesIgnored > 0) {
        if (window.positionWritesIgnored != SimWindow::kIgnoresAllPositionWrites) {
            --window.positionWritesIgnored;
        }
        return kAXErrorSuccess;
    }
    const double offset = ++window.obeyedPositionWrites;
    window.frame.origin = {point->x + window.drift.x * offset, point->y + window.drift.y * offset};
    return kAXErrorSuccess;
}

AXError resizeWindow(SimWindow& window, const AXValue& value) {
    const auto* size = std::get_if<Size>(&value);
    if (!size) {
        return kAXErrorIllegalArgument;
    }
    if (!window.sizeSettable) {
        return kAXErrorAttributeUnsupported;
    }
    window.frame.size = constrainSize(window, *size);
    return kAXErrorSuccess;
}

AXError writeWindow(SimWindow& window, const SimApplication& owner, std::string_view attribute,
                    const AXValue& value) {
    window.writes.push_back({std::string{attribute}, value, owner.enhancedUserInterface});
    AXError status = kAXErrorAttributeUnsupported;
    if (const auto injected = window.writeErrors.find(attribute);
        injected != window.writeErrors.end()) {
        status = injected->second;
    } else if (attribute == AXAttribute::position) {
        status = moveWindow(window, value);
    } else if (attribute == AXAttribute::size) {
        status = resizeWindow(window, value);
    }
    if (window.closesAfterWrites &&
        static_cast<int>(window.writes.size()) >= *window.closesAfterWrites) {
        window.closed = true;
    }
    return status;
}

AXError writeApplication(SimApplication& application, std::string_view attribute,
                         const AXValue& value) {
    if (attribute != AXAttribute::enhancedUserInterface || !application.enhancedUserInterface) {
        return kAXErrorAttributeUnsupported;
    }
    const auto* flag = std::get_if<bool>(&value);
    if (!flag) {
        return kAXErrorIllegalArgument;
    }
    application.enhancedUserInterface = *flag;
    application.enhancedUserInterfaceWrites.push_back(*flag);
    return kAXErrorSuccess;
}

}  // namespace

bool SimAccessibility::isProcessTrusted() {
    return desktop_.trusted();
}

bool SimAccessibility::isProcessTrustedWithPrompt() {
    const bool trusted = desktop_.trusted();
    if (!trusted) {
        desktop_.countTrustPrompt();
    }
    return trusted;
}

AXElement SimAccessibility::createApplication(std::int32_t pid) {
    return {AXElement::Kind::application,
            static_cast<std::uint64_t>(static_cast<std::uint32_t>(pid)), nullptr};
}

AXElement SimAccessibility::windowElement(WindowId id) {
    return {AXElement::Kind::window, id, nullptr};
}

AXError SimAccessibility::setMessagingTimeout(const AXElement& element, float seconds) {
    if (seconds < 0) {
        return kAXErrorIllegalArgument;
    }
    const bool trusted = desktop_.trusted();
    return desktop_.withState([&](SimDesktopState& state) {
        // The timeout is the caller's own setting: it is kept even for an application that
        // does not answer, as the real interface does.
        auto target = resolve(state, element, trusted);
        if (!target && target.error() != kAXErrorCannotComplete) {
            return target.error();
        }
        if (element.kind == AXElement::Kind::window) {
            state.windows.at(element.id).messagingTimeout = seconds;
        } else {
            state.applications.at(static_cast<ProcessId>(element.id)).messagingTimeout = seconds;
        }
        return kAXErrorSuccess;
    });
}

AXCopyResult SimAccessibility::copyAttributeValue(const AXElement& element,
                                                  std::string_view attribute) {
    const bool trusted = desktop_.trusted();
    return desktop_.withState([&](SimDesktopState& state) -> AXCopyResult {
        const auto target = resolve(state, element, trusted);
        if (!target) {
            return {target.error(), std::nullopt};
        }
        const auto& overrides =
            target->window ? target->window->readOverrides : target->application->readOverrides;
        if (const auto injected = overrides.find(attribute); injected != overrides.end()) {
            return injected->second;
        }
        return target->window ? readWindow(*target->window, attribute)
                              : readApplication(state, *target->application, attribute);
    });
}

AXSettableResult SimAccessibility::isAttributeSettable(const AXElement& element,
                                                       std::string_view attribute) {
    const bool trusted = desktop_.trusted();
    return desktop_.withState([&](SimDesktopState& state) -> AXSettableResult {
        const auto target = resolve(state, element, trusted);
        if (!target) {
            return {target.error(), false};
        }
        if (!target->window) {
            return {kAXErrorSuccess, attribute == AXAttribute::enhancedUserInterface &&
                                         target->application->enhancedUserInterface.has_value()};
        }
        const SimWindow& window = *target->window;
        if (const auto injected = window.settableOverrides.find(attribute);
            injected != window.settableOverrides.end()) {
            return injected->second;
        }
        if (attribute == AXAttribute::position) {
            return {kAXErrorSuccess, window.positionSettable};
        }
        return {kAXErrorSuccess, attribute == AXAttribute::size && window.sizeSettable};
    });
}

AXError SimAccessibility::setAttributeValue(const AXElement& element, std::string_view attribute,
                                            const AXValue& value) {
    const bool trusted = desktop_.trusted();
    return desktop_.withState([&](SimDesktopState& state) {
        const auto target = resolve(state, element, trusted);
        if (!target) {
            return target.error();
        }
        return target->window ? writeWindow(*target->window, *target->application, attribute, value)
                              : writeApplication(*target->application, attribute, value);
    });
}

// Simulated applications size their own windows, as on macOS.
bool SimAccessibility::applicationLimitsSize(const AXElement&, Size, Size) {
    return true;
}

std::uint64_t SimAccessibility::hash(const AXElement& element) {
    // Spread the small ids so that keys look like the platform's hashes and collide as rarely.
    return (element.id + 1) * 0x9E3779B97F4A7C15ULL ^ static_cast<std::uint64_t>(element.kind);
}

}  // namespace tilewise::sim
