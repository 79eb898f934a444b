#include "platform/LostDisplay.h"

#include <atomic>

namespace tilewise::LostDisplay {
namespace {

std::atomic<Handler> installed{nullptr};

}  // namespace

Handler setHandler(Handler handler) {
    return installed.exchange(handler);
}

void notify() {
    if (const Handler handler = installed.load())
        handler();
}

}  // namespace tilewise::LostDisplay
