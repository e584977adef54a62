// hvr-sim as a program: where it makes its link and what it removes, and the scenario files it
// refuses.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <string>

#include "tests/support/qt_wait.h"

namespace hvr {
namespace {

using testing::SimProcess;

struct SimRun {
    int exitCode = -1;
    std::string err;
};

// Runs hvr-sim when it is expected to refuse its arguments and end at once.
SimRun runRefused(const QStringList& arguments) {
    QProcess sim;
    sim.start(QStringLiteral(HVR_SIM_PATH), arguments);
    SimRun run;
    if (!sim.waitForFinished(5000)) {
        sim.kill();
        sim.waitForFinished();
        run.err = "hvr-sim did not end";
        return run;
    }
    run.exitCode = sim.exitCode();
    run.err = sim.readAllStandardError().toStdString();
    return run;
}

TEST(SimProgram, SpeaksAsTheOtherProgramsDo) {
    QProcess sim;
    sim.start(QStringLiteral(HVR_SIM_PATH), {"-v"});
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_TRUE(sim.readAllStandardOutput().startsWith("hvr-sim "))
        << "-v is the version, as in hvr and hvr-cli";
    sim.start(QStringLiteral(HVR_SIM_PATH), {"--help"});
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_TRUE(QString::fromUtf8(sim.readAllStandardOutput()).startsWith("用法: hvr-sim [选项]"));
}

class SimLink : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString link = dir.filePath("instrument");
};

TEST_F(SimLink, TakesAFreeNameAndTheLinkOfAnEarlierSimulator) {
    {
        SimProcess first({"--link", link});
        ASSERT_FALSE(first.device().isEmpty());
        SimProcess second({"--link", link});
        ASSERT_FALSE(second.device().isEmpty()) << "a simulator's link is taken over";
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), second.device());
        EXPECT_EQ(first.stop(), 0);
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), second.device())
            << "the first one leaves the link that is no longer its own";
        EXPECT_EQ(second.stop(), 0);
    }
    EXPECT_FALSE(QFileInfo::exists(link) || QFileInfo(link).isSymLink());
}

TEST_F(SimLink, LeavesEverythingElseAlone) {
    QFile file(link);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("notes");
    file.close();
    const SimRun onFile = runRefused({"--link", link});
    EXPECT_NE(onFile.exitCode, 0);
    EXPECT_NE(onFile.err.find("cannot link"), std::string::npos) << onFile.err;
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "notes");
    file.close();

    const QString other = dir.filePath("other");
    ASSERT_TRUE(QFile::link(dir.filePath("notes.txt"), other));
    EXPECT_NE(runRefused({"--link", other}).exitCode, 0) << "a link to anything but a terminal stays";
    EXPECT_EQ(QFileInfo(other).symLinkTarget(), dir.filePath("notes.txt"));
}

TEST(SimScenario, RefusesADirectoryAndMalformedCounts) {
    QTemporaryDir dir;
    const SimRun onDirectory = runRefused({"--scenario", dir.path()});
    EXPECT_EQ(onDirectory.exitCode, 2);
    EXPECT_NE(onDirectory.err.find("directory"), std::string::npos) << onDirectory.err;

    for (const char* count : {"12abc", "3.5", "-1", "65536", "12 13"}) {
        const QString path = dir.filePath("scenario.txt");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("group 00 05 42 00 64 40 32 00\ncount ") + count + "\n");
        file.close();
        const SimRun run = runRefused({"--scenario", path});
        EXPECT_EQ(run.exitCode, 2) << count;
        EXPECT_NE(run.err.find("line 2: count takes a whole number"), std::string::npos) << count << run.err;
    }
}

} // namespace
} // namespace hvr
