// hvr-sim: the instrument on a pseudo-terminal. Prints the device path on its first line and
// answers the program until SIGTERM or SIGINT.
#include <poll.h>
#include <sys/prctl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

#include "sim/instrument.h"
#include "sim/line_schedule.h"
#include "sim/pty_line.h"
#include "sim/scenario.h"

namespace {

volatile sig_atomic_t g_stop = 0;
void onSignal(int) {
    g_stop = 1;
}

constexpr int kClosedPollMs = 20; // how often a closed line is looked at again

const char* kUsage = R"(用法: hvr-sim [选项]

在伪终端上模拟无线高压变比测试仪. 输出的第一行是要打开的设备; 模拟仪器一直应答,
直到收到 SIGTERM 或 SIGINT.

  --scenario 文件      从文件读取实时数据, 存储的数据组和报告的组数:
                         live  B0 B1 B2 B3 B4 B5 B6 B7   (十六进制; 依次循环)
                         group B0 B1 B2 B3 B4 B5 B6 B7   (存储的数据, 从第1组起)
                         count N                         (报告的数据组数)
  --groups N           内置存储的数据组数 (默认 300)
  --seed N             内置 CT 读数的噪声种子 (默认 1)
  --link 路径          另建一个指向设备的符号链接; 路径须为空, 或是以前的模拟仪器
                       留下的链接; 退出时若仍是自己的链接则删除
  --paced              按 4800 波特的实际线路速度发送
  --pair block|apart   一对数据组作为一次 16 字节写出 (默认) 或分两次写出
  --short-chunk N      第 N 次数据组请求只应答 7 个字节, 一次
  --garble-count N     前 N 次组数请求报告超过 4600 的组数
  --silence-at N       在第 N 次数据组请求时不再应答 ...
  --silence 秒         ... 持续这么多秒 (默认 12)
  --fail-checks N      前 N 次联机检查应答错误的字
  --late 类:N:秒       该类第 N 次请求 (N 为 0: 每一次) 晚这么多秒才应答, 其后的应答
                       依次排在它后面; 类为 check (联机检查), count (组数), pair
                       (一对数据组) 或 live (实时数据); 可以多次给出
  --junk 类:N:字节     该类第 N 次请求的应答后面紧跟这么多字节的乱码, 一次写出;
                       可以多次给出
  --pieces N:秒        每个应答分成 N 字节一段写出, 段与段之间隔这么多秒
  --exit-with-parent   启动它的进程结束时随之结束
  --verbose            在标准错误上记录每个命令和应答
  --help               本说明
  -v, --version        版本
)";

double now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

bool parseInt(const char* text, long low, long high, long& out) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < low || value > high) return false;
    out = value;
    return true;
}

std::string hex(const std::vector<std::uint8_t>& bytes) {
    std::string s;
    char buf[4];
    for (auto b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X ", b);
        s += buf;
    }
    if (!s.empty()) s.pop_back();
    return s;
}

// Where a symbolic link points; empty when the path is not one.
std::string linkTarget(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec)) return {};
    return std::filesystem::read_symlink(path, ec).string();
}

// Makes `path` a link to the device. Only a free name or the link of an earlier simulator (a
// link to a pseudo-terminal, live or gone) is taken; anything else at the path stays.
bool makeLink(const std::string& device, const std::string& path, std::string& why) {
    std::error_code ec;
    const bool taken =
        std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::not_found;
    if (taken && linkTarget(path).rfind("/dev/pts/", 0) != 0) {
        why = "something else is there (only a simulator's own link is replaced)";
        return false;
    }
    // A fresh link under a temporary name, renamed over the old one: the name never dangles.
    const std::string temp = path + ".hvr-sim-" + std::to_string(::getpid());
    ::unlink(temp.c_str());
    if (::symlink(device.c_str(), temp.c_str()) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
        why = std::strerror(errno);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    using namespace hvr::sim;
    std::string scenarioFile, linkPath;
    long groups = 300, seed = 1;
    bool paced = false, verbose = false;
    double silenceSeconds = 12;
    Faults faults;

    // The same parser as the other programs: --opt value, --opt=value.
    QCommandLineParser parser;
    const QCommandLineOption help({"h", "help"}, ""), version({"v", "version"}, ""),
        scenarioOption("scenario", "", "FILE"), groupsOption("groups", "", "N"), seedOption("seed", "", "N"),
        linkOption("link", "", "PATH"), pacedOption("paced", ""), pairOption("pair", "", "HOW"),
        shortChunk("short-chunk", "", "N"), garbleCount("garble-count", "", "N"),
        silenceAt("silence-at", "", "N"), silence("silence", "", "S"), failChecks("fail-checks", "", "N"),
        lateOption("late", "", "FAULT"), junkOption("junk", "", "FAULT"), piecesOption("pieces", "", "N:S"),
        exitWithParent("exit-with-parent", ""), verboseOption("verbose", "");
    parser.addOptions({help, version, scenarioOption, groupsOption, seedOption, linkOption, pacedOption,
                       pairOption, shortChunk, garbleCount, silenceAt, silence, failChecks, lateOption,
                       junkOption, piecesOption, exitWithParent, verboseOption});
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        std::cerr << "hvr-sim: "
                  << (unknown.isEmpty() ? parser.errorText().toStdString()
                                        : "unknown option '" + unknown.constFirst().toStdString() + "'")
                  << " (see --help)\n";
        return 2;
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::cerr << "hvr-sim: unexpected argument '"
                  << parser.positionalArguments().constFirst().toStdString() << "' (see --help)\n";
        return 2;
    }
    if (parser.isSet(help)) {
        std::cout << kUsage;
        return 0;
    }
    if (parser.isSet(version)) {
        std::cout << "hvr-sim " << HVR_VERSION << "\n";
        return 0;
    }
    // A whole number within its bounds, or the program ends saying what is wrong.
    const auto number = [&](const QCommandLineOption& option, long low, long high, long fallback) {
        if (!parser.isSet(option)) return fallback;
        long out = 0;
        const std::string text = parser.value(option).toStdString();
        if (!parseInt(text.c_str(), low, high, out)) {
            std::cerr << "hvr-sim: --" << option.names().constLast().toStdString()
                      << " takes a whole number from " << low << " to " << high << ", not '" << text << "'\n";
            std::exit(2);
        }
        return out;
    };
    scenarioFile = parser.value(scenarioOption).toStdString();
    linkPath = parser.value(linkOption).toStdString();
    groups = number(groupsOption, 0, 8000, groups);
    seed = number(seedOption, 0, 4294967295L, seed);
    paced = parser.isSet(pacedOption);
    verbose = parser.isSet(verboseOption);
    if (parser.isSet(pairOption)) {
        const std::string how = parser.value(pairOption).toStdString();
        if (how != "block" && how != "apart") {
            std::cerr << "hvr-sim: --pair takes block or apart\n";
            return 2;
        }
        faults.pairApart = how == "apart";
    }
    faults.shortChunkAtRequest = static_cast<int>(number(shortChunk, 1, 100000, faults.shortChunkAtRequest));
    faults.garbledCounts = static_cast<int>(number(garbleCount, 0, 2000000000, faults.garbledCounts));
    faults.silenceAtRequest = static_cast<int>(number(silenceAt, 1, 100000, faults.silenceAtRequest));
    silenceSeconds = static_cast<double>(number(silence, 0, 3600, static_cast<long>(silenceSeconds)));
    faults.failedChecks = static_cast<int>(number(failChecks, 0, 100000, faults.failedChecks));
    for (const auto& [option, seconds] : {std::pair{&lateOption, true}, std::pair{&junkOption, false}}) {
        for (const QString& value : parser.values(*option)) {
            std::string error;
            const auto fault = parseRequestFault(value.toStdString(), seconds, error);
            if (!fault) {
                std::cerr << "hvr-sim: --" << option->names().constFirst().toStdString() << " " << error
                          << "\n";
                return 2;
            }
            (seconds ? faults.late : faults.junk).push_back(*fault);
        }
    }
    LineSchedule::Pacing pacing;
    if (parser.isSet(piecesOption)) {
        const std::string text = parser.value(piecesOption).toStdString();
        const auto colon = text.find(':');
        long bytes = 0;
        char* end = nullptr;
        const double gap = colon == std::string::npos ? -1 : std::strtod(text.c_str() + colon + 1, &end);
        if (colon == std::string::npos || !parseInt(text.substr(0, colon).c_str(), 1, 16, bytes) ||
            end == text.c_str() + colon + 1 || *end != '\0' || !(gap >= 0) || gap > 60) {
            std::cerr << "hvr-sim: --pieces takes N:SECONDS (N from 1 to 16, at most 60 seconds), not '"
                      << text << "'\n";
            return 2;
        }
        pacing.pieceBytes = static_cast<int>(bytes);
        pacing.pieceGapSeconds = gap;
    }
    if (parser.isSet(exitWithParent)) {
        // A simulator started for a program must not outlive it, however it ends.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() == 1) return 0;
    }
    if (faults.silenceAtRequest > 0) faults.silenceSeconds = silenceSeconds;

    Scenario scenario = Scenario::synthetic(static_cast<int>(groups), static_cast<std::uint32_t>(seed));
    if (!scenarioFile.empty()) {
        std::error_code ec;
        if (std::filesystem::is_directory(scenarioFile, ec)) {
            std::cerr << "hvr-sim: " << scenarioFile << " is a directory, not a scenario file\n";
            return 2;
        }
        std::ifstream in(scenarioFile);
        if (!in) {
            std::cerr << "hvr-sim: cannot read " << scenarioFile << ": " << std::strerror(errno) << "\n";
            return 2;
        }
        std::stringstream text;
        text << in.rdbuf();
        std::string error;
        scenario = Scenario::parse(text.str(), &error);
        if (!error.empty()) {
            std::cerr << "hvr-sim: " << scenarioFile << ", " << error << "\n";
            return 2;
        }
    }

    // Signals are taken only inside ppoll, so none is lost between a test and the wait.
    sigset_t blocked, waitMask;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGHUP);
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);
    sigdelset(&waitMask, SIGTERM);
    sigdelset(&waitMask, SIGINT);
    sigdelset(&waitMask, SIGHUP);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);

    PtyLine line;
    if (!line.ok()) {
        std::cerr << "hvr-sim: " << line.error() << "\n";
        return 1;
    }
    if (!linkPath.empty()) {
        std::string why;
        if (!makeLink(line.devicePath(), linkPath, why)) {
            std::cerr << "hvr-sim: cannot link " << linkPath << ": " << why << "\n";
            return 1;
        }
    }
    std::cout << line.devicePath() << std::endl;

    Instrument instrument(scenario, faults);
    pacing.paced = paced;
    LineSchedule out(pacing);
    bool peerOpen = false;
    bool writeBlocked = false; // the program does not read: wait until the line takes bytes

    while (!g_stop) {
        const double t = now();
        // How long to wait: for the next byte due on the line, to the microsecond.
        double wait = -1;
        if (!peerOpen)
            wait = kClosedPollMs / 1000.0;
        else if (const auto due = out.nextDue(); due && !writeBlocked)
            wait = std::max(0.0, *due - t);

        pollfd pfd{line.fd(), static_cast<short>(POLLIN | (writeBlocked ? POLLOUT : 0)), 0};
        timespec ts{};
        timespec* tsp = nullptr;
        if (wait >= 0) {
            ts.tv_sec = static_cast<time_t>(wait);
            ts.tv_nsec = static_cast<long>((wait - static_cast<double>(ts.tv_sec)) * 1e9);
            tsp = &ts;
        }
        // While nobody holds the line open the master reports a hang-up at once: look again
        // at a quiet pace instead of spinning on it.
        const int ready = peerOpen ? ppoll(&pfd, 1, tsp, &waitMask) : ppoll(nullptr, 0, tsp, &waitMask);
        if (ready < 0 && errno != EINTR) break;
        if (g_stop) break;

        if (!peerOpen) {
            pollfd probe{line.fd(), POLLIN, 0};
            poll(&probe, 1, 0);
            if ((probe.revents & POLLHUP) == 0) {
                peerOpen = true;
                if (verbose) std::cerr << "hvr-sim: line opened\n";
            }
            continue;
        }

        if (pfd.revents & (POLLIN | POLLHUP | POLLERR)) {
            std::uint8_t buf[512];
            const ssize_t n = ::read(line.fd(), buf, sizeof buf);
            if (n > 0) {
                const double arrived = now();
                const double ready = out.received(static_cast<std::size_t>(n), arrived);
                if (verbose) std::cerr << "hvr-sim: <- " << hex({buf, buf + n}) << "\n";
                const auto replies = instrument.receive({buf, static_cast<std::size_t>(n)}, arrived);
                if (verbose)
                    for (const Reply& reply : replies)
                        std::cerr << "hvr-sim: -> " << hex(reply.bytes) << "\n";
                out.add(replies, ready);
            } else if (n == 0 || (n < 0 && errno == EIO)) {
                // The program closed the line: forget what was under way and wait for it.
                peerOpen = false;
                out.clear();
                writeBlocked = false;
                instrument.resetLine();
                if (verbose) std::cerr << "hvr-sim: line closed\n";
                continue;
            }
        }

        // Write what is due, in as few writes as the schedule allows.
        const double t2 = now();
        const std::vector<std::uint8_t> due = out.takeDue(t2);
        writeBlocked = false;
        std::size_t written = 0;
        while (written < due.size()) {
            const ssize_t n = ::write(line.fd(), due.data() + written, due.size() - written);
            if (n > 0) {
                written += static_cast<std::size_t>(n);
            } else if (n < 0 && errno == EAGAIN) {
                out.putBack(std::span(due).subspan(written), t2);
                writeBlocked = true;
                break;
            } else {
                break;
            }
        }
    }

    // Another simulator may have taken the name since: its link stays.
    if (!linkPath.empty() && linkTarget(linkPath) == line.devicePath()) ::unlink(linkPath.c_str());
    return 0;
}
