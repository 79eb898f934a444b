#include <benchmark/benchmark.h>

#include "app/DisplayProvider.h"
#include "app/WindowController.h"
#include "platform/ManualScheduler.h"
#include "platform/ManualSerialQueue.h"
#include "platform/sim/SimPlatform.h"

namespace tilewise {
namespace {

constexpr ProcessId kPid = 42;

// The controller's own cost per placement (attempt bookkeeping, error mapping, hand-over to
// the main thread), with an application that answers instantly.
void BM_ApplyToAnObedientWindow(benchmark::State& state) {
    ManualScheduler scheduler;
    sim::SimPlatform sim{scheduler, {}};
    sim.workspaceService.launch({.pid = kPid, .localizedName = "Editor"});
    sim.workspaceService.activate(kPid);
    sim.desktop.addWindow(kPid, {});
    auto owned = std::make_unique<ManualSerialQueue>();
    ManualSerialQueue& queue = *owned;
    WindowController controller{sim.accessibility(), sim.workspace(), scheduler, std::move(owned)};

    std::optional<WindowTarget> target;
    controller.captureFocusedTarget([&](auto result) { target = result.value(); });
    queue.drain();
    scheduler.runUntilIdle();

    const Rect frames[2] = {{0, 25, 720, 450}, {720, 25, 720, 450}};
    std::size_t turn = 0;
    for (auto _ : state) {
        controller.apply(frames[turn++ % 2], *target,
                         [](auto result) { benchmark::DoNotOptimize(result); });
        queue.drain();
        scheduler.runUntilIdle();
    }
}
BENCHMARK(BM_ApplyToAnObedientWindow);

// Displays are rebuilt on every question; only the menu bars are cached.
void BM_DisplaysOfThreeScreens(benchmark::State& state) {
    sim::SimScreens screens{*sim::parseDisplays(
        "2560x1440+0+0 visible 0,25,2560,1415 menubar 24; 1920x1080+2560+0 menubar 24; "
        "1920x1080-1920+200")};
    DisplayProvider provider{screens};
    for (auto _ : state) {
        benchmark::DoNotOptimize(provider.displays());
    }
}
BENCHMARK(BM_DisplaysOfThreeScreens);

}  // namespace
}  // namespace tilewise
