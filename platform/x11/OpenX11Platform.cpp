#include "platform/x11/OpenX11Platform.h"

#include "platform/x11/X11Platform.h"

namespace tilewise::x11 {

std::expected<std::unique_ptr<Platform>, std::string> openX11Platform(Scheduler& mainQueue) {
    auto platform = X11Platform::open(mainQueue);
    if (!platform)
        return std::unexpected(platform.error());
    return std::unique_ptr<Platform>(std::move(*platform));
}

}  // namespace tilewise::x11
