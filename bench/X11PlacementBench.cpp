// Placement on a real X server: run by bench/x11-placement, which starts Xvfb with a window
// manager and focuses a test window before this runs.
#include <benchmark/benchmark.h>

#include "app/WindowController.h"
#include "platform/ManualScheduler.h"
#include "platform/ManualSerialQueue.h"
#include "platform/x11/OpenX11Platform.h"

namespace tilewise {
namespace {

// From apply to its completion with the read-back, for the focused window, alternating
// between two frames so that every placement really moves and resizes it.
void BM_ApplyToTheFocusedWindow(benchmark::State& state) {
    ManualScheduler scheduler;
    auto platform = x11::openX11Platform(scheduler);
    if (!platform) {
        state.SkipWithError(platform.error().c_str());
        return;
    }
    auto owned = std::make_unique<ManualSerialQueue>();
    ManualSerialQueue& queue = *owned;
    WindowController controller{(*platform)->accessibility(), (*platform)->workspace(), scheduler,
                                std::move(owned)};
    std::optional<WindowTarget> target;
    controller.captureFocusedTarget([&](auto result) {
        if (result)
            target = *result;
    });
    queue.drain();
    scheduler.runUntilIdle();
    if (!target) {
        state.SkipWithError("no focused window to place");
        return;
    }
    const Rect frames[2] = {{0, 0, 960, 540}, {960, 540, 960, 540}};
    // Each repetition is a call of its own: the turn carries over, or every one after the first
    // would ask for the frame the window already has.
    static std::size_t turn = 0;
    for (auto _ : state) {
        bool exact = false;
        controller.apply(frames[turn++ % 2], *target, [&](auto result) {
            exact = result && result->outcome == FrameOutcome::exact();
        });
        queue.drain();
        scheduler.runUntilIdle();
        if (!exact) {
            state.SkipWithError("a placement was not exact");
            return;
        }
    }
}
// One placement per repetition, so the median is that of single placements.
BENCHMARK(BM_ApplyToTheFocusedWindow)
    ->Iterations(1)
    ->Repetitions(200)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tilewise
