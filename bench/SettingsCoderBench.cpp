#include <benchmark/benchmark.h>

#include "core/SettingsCoder.h"

namespace tilewise {
namespace {

constexpr int kLayoutCount = 200;

// A heavy but realistic file: every layout named, most with a shortcut.
TilewiseSettings documentWithLayouts(int count) {
    auto settings = TilewiseSettings::defaults();
    settings.margins.enabled = true;
    for (int i = 0; i < count; ++i) {
        const GridSize grid{1 + i % 30, 1 + (i / 30) % 30};
        std::optional<KeyCombo> shortcut;
        if (i % 4 != 0)
            shortcut = KeyCombo{static_cast<std::uint16_t>(i % 128), Modifiers::all};
        settings.layouts.push_back({Uuid::random(), "Layout " + std::to_string(i), i % 3 != 0,
                                    i % 2 == 0, shortcut, grid, CellSelection::full(grid)});
    }
    return settings;
}

void BM_EncodeSettings200Layouts(benchmark::State& state) {
    const auto settings = documentWithLayouts(kLayoutCount);
    for (auto _ : state) {
        benchmark::DoNotOptimize(SettingsCoder::encode(settings));
    }
}
BENCHMARK(BM_EncodeSettings200Layouts)->Unit(benchmark::kMicrosecond);

void BM_DecodeSettings200Layouts(benchmark::State& state) {
    const auto bytes = SettingsCoder::encode(documentWithLayouts(kLayoutCount));
    if (!bytes) {
        state.SkipWithError(bytes.error().description().c_str());
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(SettingsCoder::decode(*bytes));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes->size()));
}
BENCHMARK(BM_DecodeSettings200Layouts)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tilewise
