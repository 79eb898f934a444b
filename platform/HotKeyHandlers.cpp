#include "platform/HotKeyHandlers.h"

namespace tilewise {

EventHandlerInstallation HotKeyHandlers::install(HotKeyEventHandler handler) {
    if (!handler)
        return {paramErr, 0};
    const EventHandlerRef ref = nextRef_++;
    handlers_.emplace(ref, std::move(handler));
    return {noErr, ref};
}

OSStatus HotKeyHandlers::remove(EventHandlerRef ref) {
    return handlers_.erase(ref) == 1 ? noErr : paramErr;
}

OSStatus HotKeyHandlers::deliver(const HotKeyEvent& event) const {
    // A copy, so that a handler changing the chain does not pull it from under this loop.
    const auto current = handlers_;
    for (auto handler = current.rbegin(); handler != current.rend(); ++handler) {
        if (const OSStatus status = handler->second(event); status != eventNotHandledErr) {
            return status;
        }
    }
    return eventNotHandledErr;
}

}  // namespace tilewise
