#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>

#include "app/GridPanelController.h"
#include "platform/QtScheduler.h"
#include "platform/sim/SimPanelPlatform.h"
#include "platform/sim/SimPlatform.h"
#include "ui/GridPanel.h"
#include "ui/GridView.h"
#include "ui/PreviewOverlay.h"

namespace tilewise {
namespace {

const DisplayInfo k4K{1, {0, 0, 3840, 2160}, {0, 0, 3840, 2160}, 1};
const Margins kMargins{true, EdgeInsets{10, 10, 10, 10}, 5, 5};

// showGrid for a 30 × 30 grid on a 4K display, painted: translucent (argument 1) or shaped
// for a desktop without a compositing manager (argument 0).
void BM_OverlayShowGrid30x30On4K(benchmark::State& state) {
    sim::SimPanelPlatform platform;
    platform.compositor = state.range(0) != 0;
    PreviewOverlay overlay{platform};
    for (auto _ : state) {
        overlay.showGrid(k4K, {30, 30}, kMargins, std::nullopt, false);
        overlay.repaint();
    }
    overlay.hide();
}
BENCHMARK(BM_OverlayShowGrid30x30On4K)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// One pointer motion during a drag across the miniature, to the redrawn selection.
void BM_DragMotionToRedrawnSelection(benchmark::State& state) {
    QtScheduler queue;
    sim::SimPlatform platform{queue, {}};
    GridPanel panel{queue};
    GridPanelController controller{panel, queue, platform};
    const Rect visible{0, 0, 1920, 1080};
    controller.show(Screen{visible, visible, 1, {}}, {30, 30}, CoordinateSpace{1080});
    GridView& grid = panel.gridView();
    const QPointF cells[] = {grid.cellRect({3, 3}).center(), grid.cellRect({20, 25}).center()};
    QMouseEvent press(QEvent::MouseButtonPress, cells[0], grid.mapToGlobal(cells[0]),
                      Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(&grid, &press);
    std::size_t next = 1;
    for (auto _ : state) {
        QMouseEvent move(QEvent::MouseMove, cells[next], grid.mapToGlobal(cells[next]),
                         Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(&grid, &move);
        grid.repaint();
        next = 1 - next;
    }
}
BENCHMARK(BM_DragMotionToRedrawnSelection)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tilewise

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
