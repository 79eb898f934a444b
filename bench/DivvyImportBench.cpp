#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/DivvyImport.h"
#include "core/PropertyList.h"

namespace tilewise {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes fileBytes(const std::string& path) {
    std::ifstream in{path, std::ios::binary};
    return Bytes(std::istreambuf_iterator<char>{in}, std::istreambuf_iterator<char>{});
}

Bytes textBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// 64 one-byte-reference arrays, each holding the next one twice: 2^64 values once expanded.
Bytes exponentialBinaryList() {
    constexpr std::uint8_t kLevels = 64;
    Bytes out{'b', 'p', 'l', 'i', 's', 't', '0', '0'};
    std::vector<std::uint8_t> offsets;
    for (std::uint8_t level = 0; level < kLevels; ++level) {
        offsets.push_back(static_cast<std::uint8_t>(out.size()));
        out.insert(out.end(), {0xA2, static_cast<std::uint8_t>(level + 1),
                               static_cast<std::uint8_t>(level + 1)});
    }
    offsets.push_back(static_cast<std::uint8_t>(out.size()));
    out.insert(out.end(), {0x10, 0x00});
    const auto tableStart = static_cast<std::uint8_t>(out.size());
    out.insert(out.end(), offsets.begin(), offsets.end());
    out.insert(out.end(), {0, 0, 0, 0, 0, 0, 1, 1});
    out.insert(out.end(), {0, 0, 0, 0, 0, 0, 0, kLevels + 1});
    out.insert(out.end(), {0, 0, 0, 0, 0, 0, 0, 0});
    out.insert(out.end(), {0, 0, 0, 0, 0, 0, 0, tableStart});
    return out;
}

void BM_ImportPublishedArchive(benchmark::State& state) {
    const auto archive =
        fileBytes(std::string{TILEWISE_DIVVY_SAMPLES} +
                  "/matthewmcvickar-setup/20190218-221358-f5558b61.archive.bplist");
    if (archive.empty()) {
        state.SkipWithError("the published Divvy samples were not found beside this checkout");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(DivvyImport::layouts(archive));
    }
}
BENCHMARK(BM_ImportPublishedArchive);

void BM_RefuseExponentialSharing(benchmark::State& state) {
    const auto bytes = exponentialBinaryList();
    for (auto _ : state) {
        benchmark::DoNotOptimize(PropertyList::parse(bytes));
    }
}
BENCHMARK(BM_RefuseExponentialSharing);

void BM_RefuseDeepXml(benchmark::State& state) {
    std::string text = "<plist>";
    for (int i = 0; i < 200'000; ++i)
        text += "<array>";
    const auto bytes = textBytes(text);
    for (auto _ : state) {
        benchmark::DoNotOptimize(PropertyList::parse(bytes));
    }
}
BENCHMARK(BM_RefuseDeepXml);

// libplist walks a container's children from the start for every entry, so the widest
// dictionary the limits admit shows the worst cost of an accepted file.
void BM_ParseWidestDictionary(benchmark::State& state) {
    std::string text = "<plist><dict>";
    for (std::size_t i = 0; i < PropertyListLimits{}.maxEntries; ++i) {
        text += "<key>k" + std::to_string(i) + "</key><integer>1</integer>";
    }
    const auto bytes = textBytes(text + "</dict></plist>");
    for (auto _ : state) {
        benchmark::DoNotOptimize(PropertyList::parse(bytes));
    }
}
BENCHMARK(BM_ParseWidestDictionary);

}  // namespace
}  // namespace tilewise
