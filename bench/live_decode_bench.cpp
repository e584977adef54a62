// Decoding one live frame through the receive dispatcher, statistics and captions included,
// with the primary average already carried over 7001 samples.
#include <benchmark/benchmark.h>

#include <memory>

#include "tests/support/form_harness.h"
#include "verdict/verdict.h"

namespace {

void BM_DecodeLiveFrame(benchmark::State& state) {
    hvr::testing::FormHarness h;
    h.startLive();
    auto& form = h.form;
    const std::vector<std::uint8_t> frame{0x01, 0xF4, 0x32, 0x17, 0x70, 0x31, 0x32, 0x00};
    for (int i = 0; i < 7001; ++i)
        h.live(frame); // each the answer to a live request, as on the line
    std::uint16_t raw = 0x1770;
    for (auto _ : state) {
        raw = raw == 0x1790 ? 0x1770 : raw + 1; // a moving primary, so captions change
        h.live({0x01, 0xF4, 0x32, static_cast<std::uint8_t>(raw >> 8), static_cast<std::uint8_t>(raw), 0x31,
                0x32, 0x00});
    }
    if (form->shownLiveFrames() < 6999) state.SkipWithError("the frames were not shown");
    benchmark::DoNotOptimize(form->Label9.text());
}
BENCHMARK(BM_DecodeLiveFrame);

// The verdict of one live reading against its nameplate and class.
void BM_VerdictOfALiveReading(benchmark::State& state) {
    const auto nameplate = *hvr::verdict::parseNameplate("600/5");
    std::int64_t primary = 60000000;
    for (auto _ : state) {
        primary = primary == 60000100 ? 60000000 : primary + 1;
        benchmark::DoNotOptimize(
            hvr::verdict::judge({primary, 498000}, nameplate, hvr::verdict::AccuracyClass::C0_5).errorText());
    }
}
BENCHMARK(BM_VerdictOfALiveReading);

} // namespace
