// Any chunk in any link state must leave the form running and consistent.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/support/form_harness.h"

namespace hvr {
namespace {

using testing::Bytes;
using testing::FormHarness;

TEST(RandomChunks, LeaveTheFormConsistentInEveryState) {
    std::mt19937 rng(20261209);
    FormHarness h;
    std::uniform_int_distribution<int> state(0, 3), mode(0, 4), length(0, 20), byte(0, 255), framing(1, 9);
    std::uniform_int_distribution<int> pick(0, 9);

    for (int i = 0; i < 4000; ++i) {
        h.form->link_state = static_cast<std::int16_t>(state(rng));
        h.form->link_mode = static_cast<std::int16_t>(mode(rng));
        h.form->live_polling = static_cast<std::uint8_t>(pick(rng) < 7);
        h.form->sec_alarm_on = pick(rng) < 3 ? AlarmVariables::kOn : 0;
        h.form->sec_limit_unit = pick(rng) < 5 ? AlarmVariables::kUnitAmp : AlarmVariables::kUnitMilliamp;
        h.form->sec_limit = {byte(rng), 0};
        // Any request outstanding, or none, and reads of any length.
        h.form->requestLine.reset();
        const std::int32_t asked[] = {protocol::kReadCount, protocol::kLinkCheck, protocol::kLiveReading,
                                      protocol::kFirstGroupRequest + 2 * pick(rng)};
        if (pick(rng) < 8) h.form->SendCommandWord(asked[pick(rng) % 4]);
        h.cutShort(framing(rng));
        h.form->dl_half = static_cast<std::uint8_t>(pick(rng) % 2);
        h.form->dl_active = pick(rng) < 5;

        Bytes chunk(static_cast<std::size_t>(length(rng)));
        for (auto& b : chunk) {
            // Mostly plausible frames, with the special bytes often enough to matter.
            const int roll = pick(rng);
            b = static_cast<std::uint8_t>(roll == 0 ? 0xFF : roll == 1 ? '0' + pick(rng) % 4 : byte(rng));
        }
        h.port.deliver(chunk);

        const auto& f = *h.form;
        ASSERT_TRUE(f.live_frames <= 2 || f.live_frames == 9) << i;
        ASSERT_LE(f.rx_bytes.size(), 9u) << i;
        ASSERT_LE(f.sec_max, 2370000) << i;
        ASSERT_TRUE(f.sec_alarm == 0 || f.sec_alarm == 100) << i;
        ASSERT_TRUE(f.low_batt == 0 || f.low_batt == 1) << i;
        ASSERT_GE(f.sec_n1, 0) << i;
        if (f.pri_n > 0) {
            ASSERT_EQ(f.pri_avg, f.pri_sum / f.pri_n) << i;
        }
        // Whatever still waits is below the framing: nothing that could be read is left.
        ASSERT_LT(h.port.bytesWaiting(), std::max(h.port.threshold(), 1)) << i;
        ASSERT_LE(f.dl_request, 257 + 2 * 4600) << i;
        h.port.discardInput();
    }
    // Still answering normally afterwards.
    h.startLive();
    h.form->live_frames = 9;
    h.form->requestLine.reset();
    h.live({0x00, 0x05, 0x42, 0x00, 0x64, 0x40, 0x32, 0x00});
    EXPECT_EQ(h.text("Label10"), "0.05mA");
    EXPECT_EQ(h.text("Label11"), "变 比:2000");
}

} // namespace
} // namespace hvr
