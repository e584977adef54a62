// The window's steady cost: one live frame decoded, then the re-render of the controls it
// changed (offscreen), as happens twice a second while real-time monitoring runs.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <memory>

#include "main_window/qt_form1_view.h"
#include "platform/qt_fonts.h"
#include "tests/support/form_harness.h"

namespace {

void BM_RenderAfterALiveFrame(benchmark::State& state) {
    hvr::testing::FormHarness h;
    auto& port = h.port;
    hvr::gui::QtForm1View view(*h.form);
    h.form->Form_Load();
    view.show();
    view.render();
    h.startLive();
    std::uint16_t raw = 0x1770;
    int rendered = 0;
    for (auto _ : state) {
        raw = raw == 0x1790 ? 0x1770 : raw + 1; // a moving primary, so captions change
        port.deliver({0x01, 0xF4, 0x32, static_cast<std::uint8_t>(raw >> 8),
                      static_cast<std::uint8_t>(raw & 0xFF), 0x31, 0x32, 0x00});
        rendered += view.render();
        QApplication::processEvents(); // the repaint the changes asked for
    }
    state.counters["controls"] = benchmark::Counter(rendered, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RenderAfterALiveFrame)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    hvr::platform::installChineseFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
