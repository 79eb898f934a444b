#include <benchmark/benchmark.h>

#include "core/LayoutEngine.h"

namespace tilewise {
namespace {

const Rect kVisible{0, 25, 2560, 1415};
const Margins kMargins{true, EdgeInsets{10, 10, 10, 10}, 5, 5};

void BM_FrameOneCell(benchmark::State& state) {
    const GridSize grid{6, 4};
    const CellSelection cell{2, 1, 2, 1};
    for (auto _ : state) {
        benchmark::DoNotOptimize(LayoutEngine::frame(cell, grid, kVisible, kMargins, 2));
    }
}
BENCHMARK(BM_FrameOneCell);

void BM_FrameWholeGrid30x30(benchmark::State& state) {
    const GridSize grid{30, 30};
    const CellSelection all = CellSelection::full(grid);
    for (auto _ : state) {
        benchmark::DoNotOptimize(LayoutEngine::frame(all, grid, kVisible, kMargins, 2));
    }
}
BENCHMARK(BM_FrameWholeGrid30x30);

void BM_GridLines30x30(benchmark::State& state) {
    const GridSize grid{30, 30};
    for (auto _ : state) {
        benchmark::DoNotOptimize(LayoutEngine::gridLines(grid, kVisible, kMargins, 2));
    }
}
BENCHMARK(BM_GridLines30x30);

}  // namespace
}  // namespace tilewise
