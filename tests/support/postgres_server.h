#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

#include <csignal>
#include <string>

#include <unistd.h>

namespace hvr::testing {

// A private PostgreSQL server in a temporary folder, on a Unix socket there; run as the
// postgres user when the tests run as root.
class PostgresServer {
  public:
    PostgresServer() {
        const QStringList found =
            QDir("/usr/lib/postgresql").entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString& version : found)
            if (QFile::exists("/usr/lib/postgresql/" + version + "/bin/initdb"))
                m_bin = "/usr/lib/postgresql/" + version + "/bin/";
        if (m_bin.isEmpty()) return;
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                QFileDevice::WriteOther | QFileDevice::ExeOther);
        m_ok = run("initdb", {"-D", data(), "-A", "trust", "-U", "hvr", "-E", "UTF8", "--no-sync"}) &&
               run("pg_ctl", {"-D", data(), "-w", "-l", m_dir.filePath("log"), "-o",
                              "-k " + m_dir.path() + " -c listen_addresses= -p 5499 -c fsync=off", "start"});
    }
    ~PostgresServer() {
        if (m_ok) run("pg_ctl", {"-D", data(), "-m", "immediate", "stop"});
    }
    bool ok() const { return m_ok; }
    // Every process of the server stopped, as a server that stops answering without closing
    // (a VPN or Wi-Fi gone), then continued.
    void freeze() { signalAll(SIGSTOP); }
    void thaw() { signalAll(SIGCONT); }
    bool restart() {
        return run("pg_ctl", {"-D", data(), "-m", "immediate", "stop"}) &&
               run("pg_ctl", {"-D", data(), "-w", "-l", m_dir.filePath("log"), "-o",
                              "-k " + m_dir.path() + " -c listen_addresses= -p 5499 -c fsync=off", "start"});
    }
    std::string why() const {
        return m_bin.isEmpty() ? "PostgreSQL (Debian 软件包 postgresql) 未安装" : m_error;
    }
    std::string url() const {
        return "postgresql://hvr@" + QUrl::toPercentEncoding(m_dir.path()).toStdString() + ":5499/postgres";
    }

  private:
    QString data() const { return m_dir.filePath("data"); }
    void signalAll(int signal) {
        QFile pidFile(m_dir.filePath("data/postmaster.pid"));
        if (!pidFile.open(QIODevice::ReadOnly)) return;
        const QString postmaster = QString::fromLatin1(pidFile.readLine()).trimmed();
        ::kill(postmaster.toInt(), signal);
        for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
            QFile stat("/proc/" + pid + "/stat");
            if (!stat.open(QIODevice::ReadOnly)) continue;
            const QString text = QString::fromLatin1(stat.readAll());
            const QStringList fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
            if (fields.size() > 1 && fields[1] == postmaster) ::kill(pid.toInt(), signal);
        }
    }
    bool run(const QString& program, const QStringList& arguments) {
        QProcess p;
        if (::geteuid() == 0)
            p.start("runuser", QStringList{"-u", "postgres", "--", m_bin + program} + arguments);
        else
            p.start(m_bin + program, arguments);
        if (!p.waitForFinished(60000) || p.exitCode() != 0) {
            m_error = (program + ": " + p.readAllStandardError()).toStdString();
            return false;
        }
        return true;
    }

    QTemporaryDir m_dir;
    QString m_bin;
    bool m_ok = false;
    std::string m_error;
};

} // namespace hvr::testing
