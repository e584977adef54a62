#pragma once

#include <QProcess>
#include <QString>

#include <string>

namespace hvr::platform {

// hvr-sim started beside the program for a demonstration: it answers on a pseudo-terminal
// and ends with the program.
class SimulatorProcess {
  public:
    SimulatorProcess() = default;
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;
    ~SimulatorProcess();

    // Starts the hvr-sim that stands beside the running program; false with the reason when
    // it does not start or name its device.
    bool start(std::string& error);
    // The pseudo-terminal it answers on.
    const std::string& device() const { return m_device; }

  private:
    QProcess m_process;
    std::string m_device;
};

} // namespace hvr::platform
