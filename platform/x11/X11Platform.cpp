#include "platform/x11/X11Platform.h"

namespace tilewise::x11 {

std::expected<std::unique_ptr<X11Platform>, std::string> X11Platform::open(Scheduler& mainQueue) {
    auto main = X11Connection::open();
    if (!main) return std::unexpected(main.error());
    auto worker = X11Connection::open();
    if (!worker) return std::unexpected(worker.error());
    return std::unique_ptr<X11Platform>(new X11Platform(std::move(*main), std::move(*worker), mainQueue));
}

X11Platform::X11Platform(X11Connection main, X11Connection worker, Scheduler& mainQueue)
    : main_(std::move(main)),
      atoms_(Atoms::intern(main_.display())),
      events_(main_.display()),
      accessibility_(std::move(worker)),
      workspace_(main_.display(), atoms_, events_, mainQueue),
      screens_(main_.display(), atoms_, events_),
      hotKeys_(main_.display(), events_),
      keyboard_(main_.display()),
      defaults_(PreferenceFiles::standardDirectories()) {}

}  // namespace tilewise::x11
