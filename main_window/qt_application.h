#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <memory>
#include <string>

#include "platform/port_table.h"

namespace hvr {
class Form1;
}

namespace hvr::gui {

class QtForm1View;

// How the window program was started.
struct WindowOptions {
    platform::PortChoice port; // none: the port scan of the window
    bool demo = false;         // start hvr-sim and use it
    double timeScale = 1;      // every timer interval times this (tests)
};

// The main window with everything it works through: the serial port, the timers, the boxes and
// dialogs, files, the desktop and, for a demonstration, the simulated instrument.
class MainWindowProgram {
  public:
    explicit MainWindowProgram(WindowOptions options);
    ~MainWindowProgram();

    // Starts the simulator if asked, creates and loads the window and starts its timers; false
    // with the reason when the port or the simulator cannot be had.
    bool start(std::string& error);

    // The main window's zoom and size, for the next start.
    void rememberPlace();
    // The live run's session closed, what waits written, and what could not be named; false
    // when the archive did not answer in time and its thread is still inside it.
    bool finishArchive();

    Form1& form();
    QtForm1View& view();

  private:
    struct Parts;
    WindowOptions m_options;
    std::unique_ptr<Parts> m_parts;
};

// Where a window of `size` (frame included) goes beside the main window's frame: to its right,
// else to its left, within the available area; where neither side has room, in the area's
// bottom-right corner.
QPoint placeBeside(const QRect& mainFrame, const QSize& size, const QRect& available);

// hvr's main: the options, then the window until it is closed.
int runWindowProgram(int argc, char** argv);

} // namespace hvr::gui
