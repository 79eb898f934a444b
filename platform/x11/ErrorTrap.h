#pragma once

#include <X11/Xlib.h>

#include <optional>

namespace tilewise::x11 {

/// What the server reported about one failed request.
struct XRequestError {
    unsigned char errorCode = 0;
    unsigned char requestCode = 0;
    unsigned long resourceId = 0;
};

/// Collects the protocol errors of one connection while it lives, instead of letting Xlib's
/// default handler end the process. Traps nest per connection; each thread uses its own
/// connection, so a trap only ever sees the errors of requests made on its thread.
class ErrorTrap {
  public:
    explicit ErrorTrap(Display* display);
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;
    ~ErrorTrap();

    /// Waits until the server has handled every request made so far and returns the first
    /// error among those made since the trap was set (or since the last `check`).
    std::optional<XRequestError> check();
    /// The first error seen so far, without a round trip.
    std::optional<XRequestError> firstError() const { return first_; }

    /// Installs the process-wide handlers once; `X11Connection::open` calls it.
    static void installHandlers();

  private:
    friend int handleXError(Display*, XErrorEvent*);
    Display* display_;
    ErrorTrap* outer_;
    std::optional<XRequestError> first_;
};

}  // namespace tilewise::x11
