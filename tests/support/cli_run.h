#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <fstream>
#include <sstream>
#include <string>

namespace hvr::testing {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs hvr-cli to its end (a minute at the most); the exit code is -1 when it did not end by
// itself.
inline CliRun runCli(const QStringList& arguments,
                     const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess cli;
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(HVR_CLI_PATH), arguments);
    CliRun run;
    if (!cli.waitForStarted(5000) || !cli.waitForFinished(60000)) {
        cli.kill();
        cli.waitForFinished();
        run.err = "hvr-cli did not finish";
        return run;
    }
    run.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    run.out = cli.readAllStandardOutput().toStdString();
    run.err = cli.readAllStandardError().toStdString();
    return run;
}

inline std::string readFile(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace hvr::testing
