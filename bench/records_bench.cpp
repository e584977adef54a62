// The record store: one row's text, the listing of a full store written to disk, and a full
// sort through the command, progress and page refresh included (fake services).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <numeric>
#include <random>

#include "platform/gbk.h"
#include "records/row_format.h"
#include "tests/support/form_harness.h"
#include "tests/support/store_builder.h"

namespace {

using hvr::testing::FormHarness;

void fullStore(hvr::RecordStore& store, unsigned seed) {
    std::mt19937 rng(seed);
    const char codes[] = {'1', '2', '@', 'A', 'B'};
    for (int i = 0; i < hvr::kStoreSlots; ++i)
        hvr::testing::putGroup(store, i,
                               {i + 1, '1', static_cast<int>(rng() % 30000),
                                static_cast<std::uint8_t>(codes[rng() % 5]), static_cast<int>(rng() % 3000),
                                static_cast<std::uint8_t>(rng() % 40 == 0 ? 5 : 0),
                                static_cast<std::uint8_t>(rng() % 30 == 0)});
}

void BM_FormatPageRow(benchmark::State& state) {
    FormHarness h;
    fullStore(*h.form, 1);
    int slot = 0;
    for (auto _ : state) {
        h.form->FormatPageRow(static_cast<std::int16_t>(slot / 26), static_cast<std::int16_t>(slot % 26));
        benchmark::DoNotOptimize(h.form->row_text.data());
        slot = (slot + 1) % hvr::kStoreSlots;
    }
}
BENCHMARK(BM_FormatPageRow);

void BM_WriteFullListing(benchmark::State& state) {
    FormHarness h;
    fullStore(*h.form, 2);
    hvr::platform::LocalFileSystem disk;
    const auto path = (std::filesystem::temp_directory_path() / "hvr-bench-listing.txt").string();
    for (auto _ : state) {
        const auto bytes = hvr::platform::toGbk(h.form->ListingText());
        if (!bytes || !disk.saveFile(path, *bytes)) state.SkipWithError("listing not written");
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteFullListing)->Unit(benchmark::kMillisecond);

void BM_SortFullStore(benchmark::State& state) {
    FormHarness h;
    for (auto _ : state) {
        state.PauseTiming();
        fullStore(*h.form, 3);
        state.ResumeTiming();
        h.form->Command13_Click();
    }
}
BENCHMARK(BM_SortFullStore)->Unit(benchmark::kMillisecond);

// How many key comparisons the stable sort makes on a full store.
void BM_SortComparisons(benchmark::State& state) {
    auto store = std::make_unique<hvr::RecordStore>();
    fullStore(*store, 3);
    std::int64_t comparisons = 0;
    for (auto _ : state) {
        std::vector<std::int64_t> keys(hvr::kStoreSlots);
        for (int i = 0; i < hvr::kStoreSlots; ++i)
            keys[i] =
                hvr::secondaryKey(static_cast<std::int64_t>(store->rec_sec_raw[i]), store->rec_sec_code[i]);
        std::vector<int> order(hvr::kStoreSlots);
        std::iota(order.begin(), order.end(), 0);
        comparisons = 0;
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            ++comparisons;
            return keys[a] < keys[b];
        });
    }
    state.counters["comparisons"] = static_cast<double>(comparisons);
}
BENCHMARK(BM_SortComparisons)->Iterations(1);

} // namespace
