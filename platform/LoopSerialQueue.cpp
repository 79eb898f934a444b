#include "platform/LoopSerialQueue.h"

#include <thread>

namespace tilewise {

void LoopSerialQueue::async(Task task) {
    loop_.post([alive = std::weak_ptr(alive_), task = std::move(task)] {
        if (alive.lock())
            task();
    });
}

void LoopSerialQueue::pause(Duration duration) {
    std::this_thread::sleep_for(duration);
}

}  // namespace tilewise
