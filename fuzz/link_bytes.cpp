// The bytes from the serial port into the main window's form, in any link state, split and
// interleaved with the timers and the user's commands in any order: nothing crashes, and what a
// user is given (the groups of a read that ends complete, every live reading shown) never holds
// the bytes of two replies.
//
// The instrument speaks only when spoken to: the request on the line is answered once, with
// any bytes at all (cut short, too long, junk behind, the answer to something else), handed
// over in any pieces and as late as the fuzzer likes, or not at all; a request that a later one
// has followed is not answered. Time passes as on a 4800-baud line: a byte takes its time, an
// answer starts once its command has crossed the line, and once begun it goes out at the
// line's pace. Late answers to a request asked again, and answers in pieces with gaps between
// them, are the request line's and the real-time tests' own: they hold as far as the request
// line's header says (a gap followed by junk cannot be told from a slow answer to the next
// request).
#include <algorithm>
#include <cstdlib>
#include <optional>

#include "fuzz/fuzz_input.h"
#include "tests/support/form_harness.h"
#include "texts/texts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    hvr::fuzz::Input in(data, size);
    hvr::testing::FormHarness h;
    hvr::Form1& form = *h.form;
    constexpr double kByteSeconds = 10.0 / 4800.0;
    double now = 0;
    h.port.timeLine([&] { return now; });
    form.Form_Load();
    form.Text40.setText(hvr::texts::kLinkUp);

    std::vector<std::vector<std::uint8_t>> replies; // each as the instrument wrote it
    const auto fromOneReply = [&](const std::vector<std::uint8_t>& bytes) {
        return std::any_of(replies.begin(), replies.end(), [&](const std::vector<std::uint8_t>& reply) {
            return std::search(reply.begin(), reply.end(), bytes.begin(), bytes.end()) != reply.end();
        });
    };
    form.setReadEndedObserver([&] {
        if (form.dl_outcome != hvr::Form1::ReadOutcome::Complete) return;
        for (int slot = 0; slot < form.dl_filed; ++slot) {
            const auto& frame = form.rec_frame[static_cast<std::size_t>(slot)];
            if (!fromOneReply({frame.begin(), frame.end()})) std::abort();
        }
    });
    std::uint64_t shown = 0;
    form.setSerialEventObserver([&] {
        if (form.shownLiveFrames() == shown) return;
        shown = form.shownLiveFrames();
        if (!fromOneReply(form.rx_bytes)) std::abort();
    });

    bool asked = false; // a request is on the line, not answered yet
    for (int step = 0; step < 400 && !in.empty(); ++step) {
        if (h.port.takeLine().size() >= 4) asked = true;
        switch (in.byte() % 10) {
        case 0:
            now += 0.5;
            form.Timer1_Timer();
            break;
        case 1:
            now += 0.05;
            form.Timer2_Timer();
            break;
        case 2:
            now += 0.3;
            form.Timer3_Timer();
            break;
        case 3:
            form.Command9_Click();
            break; // history review
        case 4:
            form.Command5_Click();
            break; // read, pause or continue
        case 5:
            form.Command11_Click();
            break; // real-time monitoring
        case 6:
            asked = false;
            break; // the command was lost on the line
        default: {
            // The answer to the request on the line, handed over in pieces at the line's pace.
            if (!asked) break;
            asked = false;
            std::vector<std::uint8_t> reply = in.bytes(in.byte() % 24);
            replies.push_back(reply);
            now += 4 * kByteSeconds; // the command crosses the line first
            for (std::size_t at = 0; at < reply.size();) {
                const std::size_t n = std::min<std::size_t>(std::max(1, in.byte() % 9), reply.size() - at);
                now += static_cast<double>(n) * kByteSeconds;
                h.port.deliver({reply.begin() + static_cast<std::ptrdiff_t>(at),
                                reply.begin() + static_cast<std::ptrdiff_t>(at + n)});
                at += n;
            }
            break;
        }
        }
    }
    return 0;
}
