#include "app/WindowAccess.h"

#include <cmath>

namespace tilewise {
namespace {

bool isAccessibilityValue(const AXValue& value) {
    return std::holds_alternative<Point>(value) || std::holds_alternative<Size>(value);
}

// The platform refuses to wrap numbers that are not finite into an Accessibility value, and
// such a frame could only come from a broken computation: never send it to another app.
bool finite(double a, double b) {
    return std::isfinite(a) && std::isfinite(b);
}

}  // namespace

WindowError WindowAccess::errorFor(AXError status) {
    switch (status) {
        case kAXErrorAPIDisabled:
            return WindowError::Kind::permissionMissing;
        case kAXErrorAttributeUnsupported:
            return WindowError::Kind::notResizable;
        case kAXErrorCannotComplete:
            return WindowError::Kind::appUnresponsive;
        case kAXErrorInvalidUIElement:
            return WindowError::Kind::windowClosed;
        default:
            return WindowError::accessibility(status);
    }
}

std::expected<AXValue, WindowError> WindowAccess::copyAttribute(const AXElement& element,
                                                                std::string_view attribute) {
    auto result = accessibility_.copyAttributeValue(element, attribute);
    if (result.error != kAXErrorSuccess) {
        return std::unexpected(errorFor(result.error));
    }
    if (!result.value) {
        return std::unexpected(WindowError::Kind::noWindow);
    }
    return std::move(*result.value);
}

std::expected<AXElementArray, WindowError> WindowAccess::copyArray(const AXElement& element,
                                                                   std::string_view attribute) {
    auto value = copyAttribute(element, attribute);
    if (!value) {
        return std::unexpected(value.error());
    }
    if (auto* elements = std::get_if<AXElementArray>(&*value)) {
        return std::move(*elements);
    }
    return AXElementArray{};
}

bool WindowAccess::readsTrue(const AXElement& element, std::string_view attribute) {
    const auto value = copyAttribute(element, attribute);
    if (!value) {
        return false;
    }
    const auto* flag = std::get_if<bool>(&*value);
    return flag && *flag;
}

std::expected<Rect, WindowError> WindowAccess::readFrame(const AXElement& element) {
    auto position = copyAttribute(element, AXAttribute::position);
    if (position && !isAccessibilityValue(*position)) {
        position = std::unexpected(WindowError::Kind::notResizable);
    }
    auto size = copyAttribute(element, AXAttribute::size);
    if (size && !isAccessibilityValue(*size)) {
        size = std::unexpected(WindowError::Kind::notResizable);
    }
    if (!position) {
        return std::unexpected(position.error());
    }
    if (!size) {
        return std::unexpected(size.error());
    }
    const auto* point = std::get_if<Point>(&*position);
    const auto* extent = std::get_if<Size>(&*size);
    if (!point || !extent) {
        return std::unexpected(WindowError::Kind::notResizable);
    }
    return Rect{*point, *extent};
}

std::optional<WindowError> WindowAccess::setSize(const AXElement& element, Size size) {
    if (!finite(size.width, size.height)) {
        return WindowError::Kind::notResizable;
    }
    return write(element, AXAttribute::size, size);
}

std::optional<WindowError> WindowAccess::setPosition(const AXElement& element, Point point) {
    if (!finite(point.x, point.y)) {
        return WindowError::Kind::notResizable;
    }
    return write(element, AXAttribute::position, point);
}

std::optional<WindowError> WindowAccess::write(const AXElement& element, std::string_view attribute,
                                               const AXValue& value) {
    const AXError status = accessibility_.setAttributeValue(element, attribute, value);
    if (status == kAXErrorSuccess) {
        return std::nullopt;
    }
    return errorFor(status);
}

}  // namespace tilewise
