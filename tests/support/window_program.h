#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "main_window/qt_application.h"
#include "tests/support/qt_wait.h"

namespace hvr::testing {

// The whole window program on the device, at real time, started; null, with the failure
// said, when it does not start.
inline std::unique_ptr<gui::MainWindowProgram> startedOn(const std::string& device) {
    gui::WindowOptions options;
    options.port.device = device;
    auto program = std::make_unique<gui::MainWindowProgram>(options);
    std::string error;
    if (!program->start(error)) {
        ADD_FAILURE() << error;
        return nullptr;
    }
    return program;
}

// The same on the simulator's terminal.
inline std::unique_ptr<gui::MainWindowProgram> startedOn(const SimProcess& sim) {
    if (sim.device().isEmpty()) {
        ADD_FAILURE() << "the simulator gave no device";
        return nullptr;
    }
    return startedOn(sim.device().toStdString());
}

} // namespace hvr::testing
