#pragma once

#include <memory>
#include <vector>

#include "main_window/form1.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/fake_services.h"

namespace hvr::testing {

using Bytes = std::vector<std::uint8_t>;

// A main-window model on fake services, its serial port already open.
struct FormHarness {
    FakeSerialPort port;
    FakeDialogs dialogs;
    FakeEvents events;
    FakeFileSystem files;
    std::unique_ptr<Form1> form = std::make_unique<Form1>(platform::Services{port, dialogs, events, files});

    FormHarness() { port.open(2); }

    // Live polling exchanging data, as after a continue.
    void startLive() {
        form->link_state = Form1::kExchanging;
        form->link_mode = Form1::kLiveFrames;
        form->live_polling = 1;
        form->SetReceiveFraming(8);
    }

    // Delivers the frame three times so that the third one is shown.
    void showLive(const Bytes& frame) {
        for (int i = 0; i < 3; ++i)
            port.deliver(frame);
    }

    const std::string& text(const char* name) { return form->control(name)->text(); }
};

} // namespace hvr::testing
