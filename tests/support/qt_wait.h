#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QThread>

#include <functional>
#include <cstdio>
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

// hvr-sim in a child process, stopped with SIGTERM when the test ends (it then removes its own
// --link). Killed, it leaves its link behind: the link is first pointed at a terminal that never
// exists, for the terminal's number, free again, may be handed to another test's simulator at
// once, and a program that opens the link again must never find that one.
class SimProcess {
  public:
    explicit SimProcess(const QStringList& arguments = {}) {
        if (const auto at = arguments.indexOf("--link"); at >= 0 && at + 1 < arguments.size())
            m_link = arguments.at(at + 1);
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
        unplug();
        m_process.kill();
        m_process.waitForFinished(2000);
    }

    // Stops the simulator; its exit code (-1 when it had to be killed).
    int stop() {
        if (m_process.state() == QProcess::NotRunning) return m_exitCode;
        m_process.terminate(); // it removes its own link before its terminal is free
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
    // The link re-pointed in one step, to a terminal name that no terminal ever has; the
    // simulator that comes next replaces it as it would its own.
    void unplug() {
        if (m_link.isEmpty() || QFileInfo(m_link).symLinkTarget() != m_device) return;
        const QString temp = m_link + ".unplugged";
        QFile::remove(temp);
        if (QFile::link("/dev/pts/unplugged", temp)) std::rename(temp.toLocal8Bit(), m_link.toLocal8Bit());
    }

    QProcess m_process;
    QString m_device;
    QString m_link;
    int m_exitCode = -1;
};

} // namespace hvr::testing
