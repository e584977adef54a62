#pragma once

#include <functional>
#include <memory>
#include <string>

#include "cli/console_dialogs.h"
#include "cli/options.h"
#include "main_window/form1.h"
#include "platform/file_system.h"
#include "platform/qt_events.h"
#include "platform/qt_serial_port.h"
#include "platform/qt_simulator.h"
#include "forms/qt_timers.h"

namespace hvr::cli {

// The main-window model run without a window: the real serial port, the timers on the Qt
// event loop, console boxes, and hvr-sim when a demonstration is asked for.
class Session {
  public:
    explicit Session(const Options& options);
    ~Session();

    // Starts the simulator if asked, loads the form and starts its timers. An error names
    // what failed.
    bool start(std::string& error);

    // Runs the event loop until `done` holds, the time is up or Ctrl-C is pressed. `done` is
    // looked at after every serial event and timer tick.
    enum class Outcome { Done, TimedOut, Interrupted };
    Outcome runUntil(const std::function<bool()>& done, double seconds);

    Form1& form() { return *m_form; }
    const platform::QtSerialPort& port() const { return *m_port; }
    // The port was given on the command line (every port number names it).
    bool portGiven() const { return m_options.port.given() || m_options.demo; }
    bool linkUp() const;

    // Ctrl-C has been pressed.
    static bool interrupted();

    // While one lives, output may block (a pipe or FIFO with no reader): Ctrl-C and SIGTERM
    // then end the program at once, as they do by default.
    class BlockingOutput {
      public:
        BlockingOutput();
        ~BlockingOutput();
        BlockingOutput(const BlockingOutput&) = delete;
        BlockingOutput& operator=(const BlockingOutput&) = delete;
    };

  private:
    void afterEvent();

    Options m_options;
    ConsoleDialogs m_dialogs;
    ConsoleShell m_shell;
    NoPictureFiles m_pictures;
    NoPrinting m_printing;
    platform::QtEvents m_events;
    platform::LocalFileSystem m_files;
    std::unique_ptr<platform::QtSerialPort> m_port;
    std::unique_ptr<Form1> m_form;
    std::unique_ptr<platform::QtTimers> m_timers;
    std::unique_ptr<platform::SimulatorProcess> m_sim;
    std::function<void()> m_check;
};

} // namespace hvr::cli
