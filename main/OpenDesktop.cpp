#include "main/OpenDesktop.h"

#include "app/QtDesktopSession.h"
#include "platform/sim/SimDemo.h"
#include "platform/x11/OpenX11Platform.h"

namespace tilewise {

std::expected<std::unique_ptr<DesktopSession>, std::string> openDesktop(std::string_view backend) {
    if (backend == "sim") {
        return QtDesktopSession::open(
            [](Scheduler& mainQueue) -> std::expected<std::unique_ptr<Platform>, std::string> {
                return sim::makeDemoPlatform(mainQueue);
            });
    }
    if (backend == "x11") {
        return QtDesktopSession::open(x11::openX11Platform);
    }
    return std::unexpected("unknown platform “" + std::string{backend} + "”; choose x11 or sim");
}

}  // namespace tilewise
