#pragma once

#include <map>

#include "platform/HotKeys.h"

namespace tilewise {

/// The hot-key event handlers a backend has installed. An event goes to the newest handler
/// first and on to older ones while they answer eventNotHandledErr, as Carbon's handler chain
/// does.
class HotKeyHandlers {
  public:
    /// paramErr for an empty handler.
    EventHandlerInstallation install(HotKeyEventHandler handler);
    /// paramErr for an unknown reference.
    OSStatus remove(EventHandlerRef ref);
    /// What the first handler that took the event answered; eventNotHandledErr when none did.
    /// Handlers may install or remove handlers while they run.
    OSStatus deliver(const HotKeyEvent& event) const;

  private:
    EventHandlerRef nextRef_ = 1;
    std::map<EventHandlerRef, HotKeyEventHandler> handlers_;
};

}  // namespace tilewise
