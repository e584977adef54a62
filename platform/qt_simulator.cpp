#include "platform/qt_simulator.h"

#include <QCoreApplication>

namespace hvr::platform {

SimulatorProcess::~SimulatorProcess() {
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) m_process.kill();
    m_process.waitForFinished(1000);
}

bool SimulatorProcess::start(std::string& error) {
    m_process.setProgram(QCoreApplication::applicationDirPath() + "/hvr-sim");
    m_process.setArguments({"--exit-with-parent"});
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The simulator is told nothing of the archive: no address and no password reach it.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* secret : {"HVR_ARCHIVE", "PGPASSWORD", "PGPASSFILE"})
        environment.remove(QString::fromLatin1(secret));
    m_process.setProcessEnvironment(environment);
    m_process.start();
    if (!m_process.waitForStarted(5000) || !m_process.waitForReadyRead(5000) || !m_process.canReadLine()) {
        error = "无法启动模拟仪器 " + m_process.program().toStdString();
        return false;
    }
    m_device = QString::fromUtf8(m_process.readLine()).trimmed().toStdString();
    return true;
}

} // namespace hvr::platform
