#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QThread>

#include <functional>
#include <string>

namespace hvr::testing {

// Runs the event loop until the condition holds or the time is up; returns the condition.
inline bool waitUntil(const std::function<bool()>& condition, int milliseconds = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > milliseconds) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    }
    return true;
}

// Lets events run for a while, for checks that something does not happen.
inline void settle(int milliseconds) {
    waitUntil([] { return false; }, milliseconds);
}

// hvr-sim in a child process, stopped with SIGTERM when the test ends.
class SimProcess {
  public:
    explicit SimProcess(const QStringList& arguments = {}) {
        m_process.setProgram(QStringLiteral(HVR_SIM_PATH));
        m_process.setArguments(QStringList{"--exit-with-parent"} + arguments);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start();
        if (m_process.waitForStarted(5000) && waitUntil([&] { return m_process.canReadLine(); }, 5000))
            m_device = QString::fromUtf8(m_process.readLine()).trimmed();
    }
    ~SimProcess() { stop(); }

    const QString& device() const { return m_device; }

    // Ends the simulator at once, as a pulled cable ends the line: no clean-up of its own.
    void kill() {
        m_process.kill();
        m_process.waitForFinished(2000);
    }

    // Stops the simulator; its exit code (-1 when it had to be killed).
    int stop() {
        if (m_process.state() == QProcess::NotRunning) return m_exitCode;
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(2000);
            m_exitCode = -1;
            return m_exitCode;
        }
        m_exitCode = m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
        return m_exitCode;
    }

  private:
    QProcess m_process;
    QString m_device;
    int m_exitCode = -1;
};

} // namespace hvr::testing
