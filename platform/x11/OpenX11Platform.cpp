#include "platform/x11/OpenX11Platform.h"

#include "platform/x11/X11Platform.h"

namespace tilewise::x11 {

std::expected<void, std::string> checkDisplay() {
    auto connection = X11Connection::open();
    if (!connection)
        return std::unexpected(connection.error());
    return {};
}

std::expected<std::unique_ptr<Platform>, std::string> openX11Platform(Scheduler& mainQueue) {
    auto platform = X11Platform::open(mainQueue);
    if (!platform)
        return std::unexpected(platform.error());
    return std::unique_ptr<Platform>(std::move(*platform));
}

}  // namespace tilewise::x11
