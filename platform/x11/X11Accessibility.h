#pragma once

#include <map>
#include <mutex>

#include "platform/Accessibility.h"
#include "platform/x11/Atoms.h"
#include "platform/x11/WindowFrame.h"
#include "platform/x11/X11Connection.h"

namespace tilewise::x11 {

/// Accessibility on X11: an application element is a process id, a window element is one of
/// the window manager's clients. The frame is the outer frame in root coordinates (the
/// top-left space); writes wait for the window manager within the element's messaging
/// timeout. Calls are serialised on a connection of this service's own, so the window
/// controller's worker never shares one with the main thread.
class X11Accessibility final : public Accessibility {
  public:
    /// `atoms` are the server's, interned on any connection.
    X11Accessibility(X11Connection connection, const Atoms& atoms);

    /// Trusted while an EWMH window manager runs: without one no window can be arranged.
    bool isProcessTrusted() override;
    /// There is no prompt to show: the same check.
    bool isProcessTrustedWithPrompt() override { return isProcessTrusted(); }
    AXElement createApplication(std::int32_t pid) override;
    AXError setMessagingTimeout(const AXElement& element, float seconds) override;
    AXCopyResult copyAttributeValue(const AXElement& element, std::string_view attribute) override;
    AXSettableResult isAttributeSettable(const AXElement& element,
                                         std::string_view attribute) override;
    AXError setAttributeValue(const AXElement& element, std::string_view attribute,
                              const AXValue& value) override;
    bool applicationLimitsSize(const AXElement& window, Size requested, Size actual) override;
    std::uint64_t hash(const AXElement& element) override;

  private:
    AXCopyResult copy(const AXElement& element, std::string_view attribute);
    AXSettableResult settable(const AXElement& element, std::string_view attribute);
    AXCopyResult applicationAttribute(std::int32_t pid, std::string_view attribute);
    AXCopyResult windowAttribute(Window window, std::string_view attribute);
    /// The process's clients, the one on top first.
    std::vector<Window> windowsOf(std::int32_t pid);
    std::optional<Window> focusedWindowOf(std::int32_t pid);
    bool hasState(Window window, Atom state);
    std::chrono::milliseconds timeoutFor(const AXElement& element);

    std::mutex mutex_;
    X11Connection connection_;
    Atoms atoms_;
    WindowFrame frame_;
    std::map<std::uint64_t, std::chrono::milliseconds> timeouts_;
    /// The frame whose position was the last thing read, for the size read that follows.
    std::optional<std::pair<Window, Rect>> positionRead_;
};

}  // namespace tilewise::x11
