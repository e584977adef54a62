// hvr-cli at real time and default options while the line fails: every interruption that the
// link recovers from ends complete, and what it cannot recover from ends with exit status 1.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <unistd.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "sim/scenario.h"
#include "tests/support/case_name.h"
#include "tests/support/cli_run.h"
#include "tests/support/qt_wait.h"
#include "tests/support/sim_listing.h"

namespace hvr {
namespace {

using testing::readFile;
using testing::runCli;
using testing::SimProcess;
using testing::waitUntil;

// hvr-cli running beside the test, which plays with the line meanwhile.
class CliProcess {
  public:
    explicit CliProcess(const QStringList& arguments) {
        m_process.start(QStringLiteral(HVR_CLI_PATH), arguments);
        m_process.waitForStarted(5000);
    }
    ~CliProcess() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }
    // Waits for the end; the exit status, -1 when it did not end in time.
    int finish(int milliseconds) {
        if (!waitUntil([&] { return m_process.state() == QProcess::NotRunning; }, milliseconds)) return -1;
        collect();
        return m_process.exitCode();
    }
    // What it has written to standard error so far.
    const std::string& err() {
        collect();
        return m_err;
    }
    const std::string& out() {
        collect();
        return m_out;
    }
    // Processor seconds it has used so far (user and system).
    double cpuSeconds() const {
        std::ifstream stat("/proc/" + std::to_string(m_process.processId()) + "/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), {});
        std::istringstream fields(text.substr(text.rfind(')') + 2));
        std::string field;
        long ticks = 0;
        for (int i = 3; i <= 15 && fields >> field; ++i)
            if (i == 14 || i == 15) ticks += std::stol(field);
        return static_cast<double>(ticks) / static_cast<double>(::sysconf(_SC_CLK_TCK));
    }

  private:
    void collect() {
        m_out += m_process.readAllStandardOutput().toStdString();
        m_err += m_process.readAllStandardError().toStdString();
    }
    QProcess m_process;
    std::string m_out;
    std::string m_err;
};

// The listing of a complete download of the built-in store of that many groups.
std::string completeListing(int groups) {
    return testing::expectedListing(sim::Scenario::synthetic(groups));
}

class Recovery : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString out = dir.filePath("HVR.txt");
    QString link = dir.filePath("instrument");
};

// Silence detection, the scan and the link check take up to about 25 s at real time.
constexpr int kRecoveryMs = 45000;

TEST_F(Recovery, ADownloadOutlastsThreeSecondsOfSilence) {
    SimProcess sim({"--groups", "40", "--silence-at", "3", "--silence", "3"});
    CliProcess cli({"download", "--port", sim.device(), "--out", out});
    ASSERT_EQ(cli.finish(kRecoveryMs), 0) << cli.err();
    EXPECT_EQ(readFile(out), completeListing(40));
}

TEST_F(Recovery, ADownloadOutlastsAShortReply) {
    SimProcess sim({"--groups", "40", "--short-chunk", "4"});
    CliProcess cli({"download", "--port", sim.device(), "--out", out});
    ASSERT_EQ(cli.finish(kRecoveryMs), 0) << cli.err();
    EXPECT_EQ(readFile(out), completeListing(40));
}

TEST_F(Recovery, AVanishedDeviceCostsNoProcessorAndTheDownloadResumes) {
    auto sim = std::make_unique<SimProcess>(QStringList{"--groups", "200", "--paced", "--link", link});
    CliProcess cli({"download", "--port", link, "--out", out});
    ASSERT_TRUE(waitUntil([&] { return cli.err().find("正在读取中") != std::string::npos; }, 10000))
        << cli.err();
    sim->kill(); // the other side of the line is gone, its link left dangling
    testing::settle(500);
    const double before = cli.cpuSeconds();
    testing::settle(3000);
    EXPECT_LT(cli.cpuSeconds() - before, 0.3) << "no read loop while the device is gone";

    sim = std::make_unique<SimProcess>(QStringList{"--groups", "200", "--link", link});
    ASSERT_EQ(cli.finish(kRecoveryMs), 0) << cli.err();
    EXPECT_EQ(readFile(out), completeListing(200));
}

// Busy loops in child processes, one more than there are processors, for as long as it lives.
class BusyProcessor {
  public:
    BusyProcessor() {
        for (int i = 0; i <= QThread::idealThreadCount(); ++i) {
            auto loop = std::make_unique<QProcess>();
            loop->start("sh", {"-c", "while :; do :; done"});
            loop->waitForStarted(2000);
            m_loops.push_back(std::move(loop));
        }
    }
    ~BusyProcessor() {
        for (auto& loop : m_loops) {
            loop->kill();
            loop->waitForFinished(2000);
        }
    }

  private:
    std::vector<std::unique_ptr<QProcess>> m_loops;
};

TEST_F(Recovery, ADownloadOnASaturatedProcessorIsExact) {
    SimProcess sim({"--groups", "300", "--paced"});
    BusyProcessor busy;
    CliProcess cli({"download", "--port", sim.device(), "--out", out});
    ASSERT_EQ(cli.finish(kRecoveryMs), 0) << cli.err();
    EXPECT_EQ(readFile(out), completeListing(300));
}

TEST_F(Recovery, AnotherInstrumentMidDownloadIsReadWholeFromItsFirstGroup) {
    auto first = std::make_unique<SimProcess>(QStringList{"--groups", "4600", "--paced", "--link", link});
    CliProcess cli({"download", "--port", link, "--out", out});
    ASSERT_TRUE(waitUntil([&] { return cli.err().find("正在读取中") != std::string::npos; }, 10000))
        << cli.err();
    first->kill();
    SimProcess second({"--groups", "300", "--seed", "7", "--link", link});
    ASSERT_EQ(cli.finish(kRecoveryMs), 0) << cli.err();
    EXPECT_NE(cli.err().find("仪器的数据组数由 4600 组变为 300 组, 已从第1组重新读取"), std::string::npos)
        << cli.err();
    EXPECT_EQ(readFile(out), testing::expectedListing(sim::Scenario::synthetic(300, 7)));
}

TEST_F(Recovery, MonitoringOutlastsAnInstrumentGoneForFifteenSeconds) {
    auto sim = std::make_unique<SimProcess>(QStringList{"--link", link});
    CliProcess cli({"monitor", "--port", link, "--frames", "6"});
    ASSERT_TRUE(waitUntil([&] { return std::count(cli.out().begin(), cli.out().end(), '\n') >= 3; }, 10000));
    sim.reset(); // unplugged
    testing::settle(15000);
    sim = std::make_unique<SimProcess>(QStringList{"--link", link});
    ASSERT_EQ(cli.finish(kRecoveryMs), 0) << cli.err();
    EXPECT_EQ(std::count(cli.out().begin(), cli.out().end(), '\n'), 7) << "the header and six readings";
}

TEST_F(Recovery, AnInstrumentGoneForGoodEndsWithItsMessage) {
    auto sim = std::make_unique<SimProcess>(QStringList{"--link", link});
    CliProcess cli({"monitor", "--port", link, "--timeout", "3"});
    ASSERT_TRUE(waitUntil([&] { return std::count(cli.out().begin(), cli.out().end(), '\n') >= 2; }, 10000));
    sim.reset();
    EXPECT_EQ(cli.finish(10000), 1);
    EXPECT_NE(cli.err().find("hvr-cli: 与仪器的连接中断, 3 秒内没有恢复\n"), std::string::npos) << cli.err();
}

TEST_F(Recovery, ACountThatStaysAboveTheStoreEndsWithAMessageNamingIt) {
    SimProcess sim({"--groups", "40", "--garble-count",
                    "2000000000"}); // for good: a pty asks tens of thousands a second
    CliProcess cli({"download", "--port", sim.device(), "--out", out});
    EXPECT_EQ(cli.finish(20000), 1);
    EXPECT_NE(cli.err().find("超过 4600, 读取未完成"), std::string::npos) << cli.err();
    EXPECT_FALSE(QFile::exists(out));
}

// An instrument at 4800 baud that answers one request late, or floods the line behind a reply,
// and then answers every request it received, in order: the listing is the store, byte for
// byte, or the read says it is not.
class LateInstrument : public ::testing::TestWithParam<QStringList> {
  protected:
    QTemporaryDir dir;
};

TEST_P(LateInstrument, IsReadExactly) {
    SimProcess sim(QStringList{"--groups", "157", "--paced"} + GetParam());
    ASSERT_FALSE(sim.device().isEmpty());
    const QString out = dir.filePath("HVR.txt");
    const auto run =
        runCli({"download", "--port", sim.device(), "--out", out, "--timeout", "30", "--no-archive"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("已读取 157 组"), std::string::npos) << run.err;
    EXPECT_EQ(readFile(out), completeListing(157)) << run.err;
}

// The pair of groups 45 and 46 is the 23rd pair asked for.
INSTANTIATE_TEST_SUITE_P(
    Rows, LateInstrument,
    ::testing::Values(QStringList{"--late", "check:1:0.8"}, QStringList{"--late", "check:1:1.0"},
                      QStringList{"--late", "count:1:1.0"}, QStringList{"--late", "pair:1:1.0"},
                      QStringList{"--late", "pair:23:1.0"}, QStringList{"--late", "pair:23:2.5"},
                      QStringList{"--junk", "pair:23:3000"}, QStringList{"--late", "check:0:1.6"},
                      QStringList{"--pieces", "6:0.1"}),
    [](const auto& info) {
        return testing::caseName(
            info.index, info.param.join('_').remove("--").replace(':', '_').replace('.', '_').toStdString());
    });

} // namespace
} // namespace hvr
