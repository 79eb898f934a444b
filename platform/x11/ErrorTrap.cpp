#include "platform/x11/ErrorTrap.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "platform/Log.h"

namespace tilewise::x11 {
namespace {

std::mutex trapsMutex;
std::map<Display*, ErrorTrap*>& innermostTraps() {
    static std::map<Display*, ErrorTrap*> traps;
    return traps;
}

std::string describe(Display* display, const XErrorEvent& event) {
    char text[160] = {};
    XGetErrorText(display, event.error_code, text, sizeof text);
    return std::string("X error ") + text + " (request " + std::to_string(event.request_code) +
           ", resource " + std::to_string(event.resourceid) + ")";
}

}  // namespace

int handleXError(Display* display, XErrorEvent* event) {
    {
        const std::lock_guard lock(trapsMutex);
        const auto found = innermostTraps().find(display);
        if (found != innermostTraps().end()) {
            if (!found->second->first_) {
                found->second->first_ =
                    XRequestError{event->error_code, event->request_code, event->resourceid};
            }
            return 0;
        }
    }
    // An error nobody waits for still means a request went wrong: it is logged, never fatal.
    Log::error(LogCategory::app, describe(display, *event));
    return 0;
}

namespace {

// Errors come in order with replies: once the server has answered the latest request, every
// error of the earlier ones has been handled, and a round trip would only cost time.
void syncUnlessAnswered(Display* display) {
    if (LastKnownRequestProcessed(display) + 1 < NextRequest(display))
        XSync(display, False);
}

}  // namespace

ErrorTrap::ErrorTrap(Display* display) : display_(display) {
    const std::lock_guard lock(trapsMutex);
    auto& traps = innermostTraps();
    const auto found = traps.find(display);
    outer_ = found == traps.end() ? nullptr : found->second;
    traps[display] = this;
}

ErrorTrap::~ErrorTrap() {
    // Errors of requests made inside the trap must land here, not in the outer handler.
    syncUnlessAnswered(display_);
    const std::lock_guard lock(trapsMutex);
    if (outer_ != nullptr) {
        innermostTraps()[display_] = outer_;
        if (!outer_->first_)
            outer_->first_ = first_;
    } else {
        innermostTraps().erase(display_);
    }
}

std::optional<XRequestError> ErrorTrap::check() {
    syncUnlessAnswered(display_);
    const std::lock_guard lock(trapsMutex);
    return std::exchange(first_, std::nullopt);
}

void ErrorTrap::installHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        // The window controller's worker uses its own connection while the main thread uses
        // another; Xlib's shared state needs its locks for that.
        XInitThreads();
        XSetErrorHandler(handleXError);
    });
}

}  // namespace tilewise::x11
