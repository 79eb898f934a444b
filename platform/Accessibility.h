#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/Rect.h"

namespace tilewise {

/// An Accessibility status code, with the values and names of the macOS interface, so that the
/// window controller maps them the same way whatever the backend.
using AXError = std::int32_t;
inline constexpr AXError kAXErrorSuccess = 0;
inline constexpr AXError kAXErrorFailure = -25200;
inline constexpr AXError kAXErrorIllegalArgument = -25201;
inline constexpr AXError kAXErrorInvalidUIElement = -25202;
inline constexpr AXError kAXErrorInvalidUIElementObserver = -25203;
inline constexpr AXError kAXErrorCannotComplete = -25204;
inline constexpr AXError kAXErrorAttributeUnsupported = -25205;
inline constexpr AXError kAXErrorActionUnsupported = -25206;
inline constexpr AXError kAXErrorNotificationUnsupported = -25207;
inline constexpr AXError kAXErrorNotImplemented = -25208;
inline constexpr AXError kAXErrorNotificationAlreadyRegistered = -25209;
inline constexpr AXError kAXErrorNotificationNotRegistered = -25210;
inline constexpr AXError kAXErrorAPIDisabled = -25211;
inline constexpr AXError kAXErrorNoValue = -25212;
inline constexpr AXError kAXErrorParameterizedAttributeUnsupported = -25213;
inline constexpr AXError kAXErrorNotEnoughPrecision = -25214;

/// Attribute names and values the services use, spelled as the macOS interface spells them.
namespace AXAttribute {
inline constexpr std::string_view focusedWindow = "AXFocusedWindow";
inline constexpr std::string_view mainWindow = "AXMainWindow";
inline constexpr std::string_view windows = "AXWindows";
inline constexpr std::string_view subrole = "AXSubrole";
inline constexpr std::string_view minimized = "AXMinimized";
inline constexpr std::string_view fullScreen = "AXFullScreen";
inline constexpr std::string_view position = "AXPosition";
inline constexpr std::string_view size = "AXSize";
inline constexpr std::string_view enhancedUserInterface = "AXEnhancedUserInterface";
}  // namespace AXAttribute
inline constexpr std::string_view kAXStandardWindowSubrole = "AXStandardWindow";

/// A handle on one Accessibility element: an application or one of its windows. It is a small
/// value chosen by the backend (on X11: the process id for an application, the client window
/// id for a window). A backend that must keep a native object alive (a retained AXUIElementRef
/// on macOS) puts it in `retained`, which is shared between copies and not part of identity.
/// A handle stays a valid value after its element went away; operations on it then fail with
/// kAXErrorInvalidUIElement.
struct AXElement {
    enum class Kind : std::uint8_t { application, window, other };

    Kind kind = Kind::other;
    std::uint64_t id = 0;
    std::shared_ptr<const void> retained;

    bool operator==(const AXElement& other) const { return kind == other.kind && id == other.id; }
};

using AXElementArray = std::vector<AXElement>;

/// A typed attribute value. `Point` and `Size` are the Accessibility value types (AXValue of
/// kind point or size); the other alternatives stand for an element, a Boolean, a string and
/// an array of elements. Frames are in the top-left space, in points.
using AXValue = std::variant<AXElement, Point, Size, bool, std::string, AXElementArray>;

/// The outcome of reading an attribute: a status and, on success, usually a value. Success
/// without a value happens (an application without a focused window).
struct AXCopyResult {
    AXError error = kAXErrorSuccess;
    std::optional<AXValue> value;
};

/// The outcome of asking whether an attribute can be written.
struct AXSettableResult {
    AXError error = kAXErrorSuccess;
    bool settable = false;
};

/// The Accessibility interface: other applications' windows, read and written by attribute
/// name. Every operation may be called from any thread, also concurrently (the main thread
/// checks trust while the window controller's worker reads and writes); a backend serialises
/// internally where it must. A call that would block on another application gives up after
/// the element's messaging timeout with kAXErrorCannotComplete. While the process is not
/// trusted, every call on an element fails with kAXErrorAPIDisabled.
class Accessibility {
  public:
    Accessibility() = default;
    Accessibility(const Accessibility&) = delete;
    Accessibility& operator=(const Accessibility&) = delete;
    virtual ~Accessibility() = default;

    /// Whether this process may use Accessibility (AXIsProcessTrusted). Never fails.
    virtual bool isProcessTrusted() = 0;
    /// The same, and when not trusted asks the system to show its own permission prompt
    /// (AXIsProcessTrustedWithOptions with the prompt option). Never fails.
    virtual bool isProcessTrustedWithPrompt() = 0;

    /// The application element of a process (AXUIElementCreateApplication). Never fails: an
    /// element for a process that does not exist fails on use with kAXErrorInvalidUIElement.
    virtual AXElement createApplication(std::int32_t pid) = 0;

    /// Sets how long calls on `element` wait for its application (seconds; 0 restores the
    /// default). Returns kAXErrorSuccess, or kAXErrorIllegalArgument for a negative timeout,
    /// or kAXErrorInvalidUIElement for an element that is gone.
    virtual AXError setMessagingTimeout(const AXElement& element, float seconds) = 0;

    /// Reads an attribute (AXUIElementCopyAttributeValue). On failure the value is absent and
    /// the status is kAXErrorAPIDisabled (not trusted), kAXErrorAttributeUnsupported (the
    /// element has no such attribute), kAXErrorCannotComplete (the application did not answer
    /// in time), kAXErrorInvalidUIElement (the element is gone), kAXErrorNoValue or
    /// kAXErrorFailure (anything else).
    virtual AXCopyResult copyAttributeValue(const AXElement& element,
                                            std::string_view attribute) = 0;

    /// Whether an attribute can be written (AXUIElementIsAttributeSettable); the statuses are
    /// those of copyAttributeValue, with `settable` false on failure.
    virtual AXSettableResult isAttributeSettable(const AXElement& element,
                                                 std::string_view attribute) = 0;

    /// Writes an attribute (AXUIElementSetAttributeValue). Returns kAXErrorSuccess when the
    /// application accepted the request (it may still place the window elsewhere: read back to
    /// know), kAXErrorIllegalArgument for a value of the wrong type, kAXErrorAttributeUnsupported
    /// when the attribute cannot be written, or a status as for copyAttributeValue.
    virtual AXError setAttributeValue(const AXElement& element, std::string_view attribute,
                                      const AXValue& value) = 0;

    /// Whether the window's own application accounts for its size being `actual` where
    /// `requested` was asked (frame sizes): its declared minimum, maximum, size steps or aspect
    /// ratio lead from one to the other. Where applications size their own windows (macOS) this
    /// is always true; where a window manager sizes them (X11) it is false when the manager
    /// held the size for reasons of its own. Never fails: a window that is gone gives true.
    virtual bool applicationLimitsSize(const AXElement& window, Size requested, Size actual) = 0;

    /// A hash of the element that is stable for as long as the element exists and equal for
    /// equal elements (CFHash). Never fails.
    virtual std::uint64_t hash(const AXElement& element) = 0;
};

}  // namespace tilewise

template <>
struct std::hash<tilewise::AXElement> {
    std::size_t operator()(const tilewise::AXElement& element) const noexcept {
        return std::hash<std::uint64_t>{}(element.id) * 31 + static_cast<std::size_t>(element.kind);
    }
};
