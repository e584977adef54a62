#pragma once

#include <memory>
#include <vector>

#include "link/protocol.h"
#include "main_window/form1.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/fake_services.h"

namespace hvr::testing {

using Bytes = std::vector<std::uint8_t>;

// A command word as the line carries it.
inline Bytes line(std::int32_t word) {
    const auto b = protocol::commandBytes(word);
    return {b.begin(), b.end()};
}

// A reading frame from its fields; byte 6 0x32 is 50 Hz on both channels.
inline Bytes frame(std::uint16_t secRaw, std::uint8_t secCode, std::uint16_t priRaw, std::uint8_t priCode,
                   std::uint8_t status = 0, std::uint8_t byte6 = 0x32) {
    return {static_cast<std::uint8_t>(secRaw >> 8),
            static_cast<std::uint8_t>(secRaw & 0xFF),
            secCode,
            static_cast<std::uint8_t>(priRaw >> 8),
            static_cast<std::uint8_t>(priRaw & 0xFF),
            priCode,
            byte6,
            status};
}

// Stored group n of a test store: secondary 4.0n A (raw 400 + n), primary 600 A.
inline Bytes group(int n, bool lowBattery = false) {
    const auto raw = static_cast<std::uint16_t>(400 + n);
    return {static_cast<std::uint8_t>((lowBattery ? 0x80 : 0) | (raw >> 8)),
            static_cast<std::uint8_t>(raw & 0xFF),
            '2',
            0x17,
            0x70,
            '1',
            0x32,
            0x00};
}

// A main-window model on fake services, its serial port already open.
struct FormHarness {
    FakeSerialPort port;
    FakeDialogs dialogs;
    FakeEvents events;
    FakeFileSystem files;
    FakeShell shell;
    FakePictureFiles pictures;
    FakePrinting printing;
    std::unique_ptr<Form1> form =
        std::make_unique<Form1>(platform::Services{port, dialogs, events, files, shell, pictures, printing});

    FormHarness() { port.open(2); }

    // Live polling exchanging data, as after a continue.
    void startLive() {
        form->link_state = Form1::kExchanging;
        form->link_mode = Form1::kLiveFrames;
        form->live_polling = 1;
        form->SetReceiveFraming(8);
    }

    // The instrument answers with `bytes` the request the form awaits, or else `word`, asked
    // as its timer or a handler would in the state the test has set. That request is left out
    // of the recorded writes, which keep what the form sends of its own accord.
    void answer(std::int32_t word, const Bytes& bytes) {
        if (!form->requestLine.busy()) {
            const auto before = port.writes.size();
            form->SendCommandWord(word);
            port.writes.resize(before);
        }
        port.deliver(bytes);
    }
    // The next reads return at most so many bytes, fewer than the reply has: a chunk cut short.
    void cutShort(int bytes) {
        form->MSComm1.setRThreshold(bytes);
        form->MSComm1.setInputLen(bytes);
    }
    // A live frame, as the answer to a live request.
    void live(const Bytes& frame) { answer(protocol::kLiveReading, frame); }

    // Delivers the frame three times so that the third one is shown.
    void showLive(const Bytes& frame) {
        for (int i = 0; i < 3; ++i)
            live(frame);
    }

    const std::string& text(const char* name) { return form->control(name)->text(); }
};

} // namespace hvr::testing
