// Decoding one live frame through the receive dispatcher, statistics and captions included,
// with the primary average already carried over 7001 samples.
#include <benchmark/benchmark.h>

#include <memory>

#include "tests/support/form_harness.h"

namespace {

void BM_DecodeLiveFrame(benchmark::State& state) {
    hvr::testing::FormHarness h;
    h.startLive();
    auto& port = h.port;
    auto& form = h.form;
    const std::vector<std::uint8_t> frame{0x01, 0xF4, 0x32, 0x17, 0x70, 0x31, 0x32, 0x00};
    for (int i = 0; i < 7001; ++i)
        port.deliver(frame);
    std::uint16_t raw = 0x1770;
    for (auto _ : state) {
        raw = raw == 0x1790 ? 0x1770 : raw + 1; // a moving primary, so captions change
        port.deliver({0x01, 0xF4, 0x32, static_cast<std::uint8_t>(raw >> 8), static_cast<std::uint8_t>(raw),
                      0x31, 0x32, 0x00});
    }
    benchmark::DoNotOptimize(form->Label9.text());
}
BENCHMARK(BM_DecodeLiveFrame);

} // namespace
