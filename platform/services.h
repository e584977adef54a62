#pragma once

#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/printer.h"
#include "platform/file_system.h"
#include "platform/serial_port.h"
#include "platform/shell.h"

namespace hvr::platform {

// The platform services a form works through, borrowed for the form's lifetime.
struct Services {
    SerialPort& serial;
    Dialogs& dialogs;
    Events& events;
    FileSystem& files;
    Shell& shell;
    PictureFiles& pictures;
    Printing& printing;
};

} // namespace hvr::platform
