#pragma once

#include <QCoreApplication>

#include "platform/dialogs.h"

namespace hvr::platform {

// Lets the Qt event loop run what waits, once.
class QtEvents final : public Events {
  public:
    void processPending() override { QCoreApplication::processEvents(); }
    void quit() override { QCoreApplication::quit(); }
};

} // namespace hvr::platform
