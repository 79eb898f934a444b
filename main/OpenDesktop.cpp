#include "main/OpenDesktop.h"

#include "platform/sim/SimDemo.h"
#include "platform/x11/OpenX11Platform.h"

namespace tilewise {

std::expected<std::function<std::expected<std::unique_ptr<Platform>, std::string>(Scheduler&)>,
              std::string>
platformFactory(std::string_view backend) {
    if (backend == "sim") {
        return [](Scheduler& mainQueue) -> std::expected<std::unique_ptr<Platform>, std::string> {
            return sim::makeDemoPlatform(mainQueue);
        };
    }
    if (backend == "x11")
        return x11::openX11Platform;
    return std::unexpected("unknown platform “" + std::string{backend} + "”; choose x11 or sim");
}

}  // namespace tilewise
