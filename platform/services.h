#pragma once

#include "platform/serial_port.h"

namespace hvr::platform {

// The platform services a form works through, borrowed for the form's lifetime.
struct Services {
    SerialPort& serial;
};

} // namespace hvr::platform
