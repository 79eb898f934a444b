#pragma once

#include <expected>
#include <optional>
#include <string_view>

#include "app/WindowError.h"
#include "platform/Accessibility.h"

namespace tilewise {

/// The window controller's reads and writes of single attributes, with Accessibility
/// statuses turned into window errors. Runs on the controller's queue.
class WindowAccess {
  public:
    explicit WindowAccess(Accessibility& accessibility) : accessibility_(accessibility) {}

    /// The error a failed status stands for.
    static WindowError errorFor(AXError status);

    /// The value, or: success without a value → noWindow, else errorFor(status).
    std::expected<AXValue, WindowError> copyAttribute(const AXElement& element,
                                                      std::string_view attribute);
    /// A list of elements; an error passes through, a value of another type is an empty list.
    std::expected<AXElementArray, WindowError> copyArray(const AXElement& element,
                                                         std::string_view attribute);
    /// True only when the attribute reads successfully as the Boolean true.
    bool readsTrue(const AXElement& element, std::string_view attribute);
    /// Position and size; the position's error wins when both reads fail.
    std::expected<Rect, WindowError> readFrame(const AXElement& element);
    std::optional<WindowError> setSize(const AXElement& element, Size size);
    std::optional<WindowError> setPosition(const AXElement& element, Point point);

  private:
    std::optional<WindowError> write(const AXElement& element, std::string_view attribute,
                                     const AXValue& value);

    Accessibility& accessibility_;
};

}  // namespace tilewise
