// One suite over the fake serial port and the real one (on a pseudo-terminal; on Windows on
// COM3, linked to COM4 by the test's runner), so that the fake the form tests rely on behaves as
// the program's port does.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <memory>

#include "platform/qt_serial_port.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/qt_wait.h"

namespace hvr {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The port under test and the instrument's end of its line.
class Line {
  public:
    virtual ~Line() = default;
    virtual platform::SerialPort& port() = 0;
    static constexpr int kPresentPort = 3;
    virtual void instrumentSends(const Bytes& bytes) = 0;
    // Everything the port has put on the line so far.
    virtual Bytes instrumentReceived() = 0;
    // Gives the line time to carry what was sent; waits for the condition when there is one.
    virtual bool carry(const std::function<bool()>& until) = 0;
    bool carry() { return carry({}); }
    // The other end goes away, as an unplugged adapter or an ended simulator does.
    virtual void instrumentHangsUp() = 0;
};

class FakeLine final : public Line {
  public:
    using Line::carry;
    FakeLine() { m_port.presentPorts = {kPresentPort}; }
    platform::SerialPort& port() override { return m_port; }
    void instrumentSends(const Bytes& bytes) override { m_port.deliver(bytes); }
    Bytes instrumentReceived() override { return m_port.takeLine(); }
    bool carry(const std::function<bool()>& until) override { return !until || until(); }
    void instrumentHangsUp() override { m_port.hangUp(); }

  private:
    testing::FakeSerialPort m_port;
};

#ifndef _WIN32
class PtyLine final : public Line {
  public:
    using Line::carry;
    PtyLine() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        grantpt(m_master);
        unlockpt(m_master);
        const std::string slave = ptsname(m_master);
        m_port = std::make_unique<platform::QtSerialPort>([slave] {
            return platform::PortTable({"", "", slave});
        }); // the pty is port 3
    }
    ~PtyLine() override {
        m_port.reset();
        if (m_master >= 0) ::close(m_master);
    }
    platform::SerialPort& port() override { return *m_port; }
    void instrumentSends(const Bytes& bytes) override {
        ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    Bytes instrumentReceived() override {
        carry();
        Bytes out;
        std::uint8_t buf[256];
        ssize_t n;
        while ((n = ::read(m_master, buf, sizeof buf)) > 0)
            out.insert(out.end(), buf, buf + n);
        return out;
    }
    bool carry(const std::function<bool()>& until) override {
        if (until) return testing::waitUntil(until, 2000);
        testing::settle(60);
        return true;
    }
    void instrumentHangsUp() override {
        ::close(m_master);
        m_master = -1;
    }

  private:
    int m_master = -1;
    std::unique_ptr<platform::QtSerialPort> m_port;
};
#else
// COM3, whose other end is COM4 (HVR_TEST_COM_PEER names its number): two pseudo-terminals
// that socat joins, linked into the Wine prefix.
class ComLine final : public Line {
  public:
    using Line::carry;
    ComLine() {
        m_port = std::make_unique<platform::QtSerialPort>([] { return platform::PortTable({"", "", "COM3"}); });
        const std::wstring peer = L"\\\\.\\COM" + std::to_wstring(std::atoi(std::getenv("HVR_TEST_COM_PEER")));
        m_peer = CreateFileW(peer.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        COMMTIMEOUTS immediate{MAXDWORD, 0, 0, 0, 1000};
        SetCommTimeouts(m_peer, &immediate);
    }
    ~ComLine() override {
        m_port.reset();
        if (m_peer != INVALID_HANDLE_VALUE) CloseHandle(m_peer);
    }
    platform::SerialPort& port() override { return *m_port; }
    void instrumentSends(const Bytes& bytes) override {
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(m_peer, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
        ASSERT_EQ(written, bytes.size());
    }
    Bytes instrumentReceived() override {
        carry();
        Bytes out;
        std::uint8_t buf[256];
        DWORD n = 0;
        while (ReadFile(m_peer, buf, sizeof buf, &n, nullptr) && n > 0)
            out.insert(out.end(), buf, buf + n);
        return out;
    }
    bool carry(const std::function<bool()>& until) override {
        if (until) return testing::waitUntil(until, 2000);
        testing::settle(100);
        return true;
    }
    void instrumentHangsUp() override {}

  private:
    HANDLE m_peer = INVALID_HANDLE_VALUE;
    std::unique_ptr<platform::QtSerialPort> m_port;
};
#endif

enum class Kind { Fake, Real };

class SerialPortContract : public ::testing::TestWithParam<Kind> {
  protected:
    void SetUp() override {
        if (GetParam() == Kind::Fake) {
            line = std::make_unique<FakeLine>();
        } else {
#ifdef _WIN32
            if (std::getenv("HVR_TEST_COM_PEER") == nullptr) GTEST_SKIP() << "no COM port pair (HVR_TEST_COM_PEER)";
            line = std::make_unique<ComLine>();
#else
            line = std::make_unique<PtyLine>();
#endif
        }
        port().setDataReceivedHandler([this] {
            ++events;
            chunks.push_back(port().read(readLength));
        });
    }
    platform::SerialPort& port() { return line->port(); }

    std::unique_ptr<Line> line;
    int events = 0;
    int readLength = 8;
    std::vector<Bytes> chunks;
};

TEST_P(SerialPortContract, OpensOnlyAPresentPortNumber) {
    EXPECT_FALSE(port().open(5));
    EXPECT_FALSE(port().isOpen());
    EXPECT_FALSE(port().open(0));
    EXPECT_TRUE(port().open(Line::kPresentPort));
    EXPECT_TRUE(port().isOpen());
    port().close();
    EXPECT_FALSE(port().isOpen());
}

TEST_P(SerialPortContract, ClosesWhenTheOtherEndHangsUp) {
#ifdef _WIN32
    if (GetParam() != Kind::Fake) GTEST_SKIP() << "the COM pair's other end stays while its runner does";
#endif
    ASSERT_TRUE(port().open(Line::kPresentPort));
    port().setThreshold(8);
    line->instrumentSends({1, 2, 3});
    line->instrumentHangsUp();
    EXPECT_TRUE(line->carry([&] { return !port().isOpen(); }));
    EXPECT_EQ(events, 0);
}

TEST_P(SerialPortContract, RaisesTheEventOnceTheThresholdIsMet) {
    ASSERT_TRUE(port().open(Line::kPresentPort));
    port().setThreshold(8);
    line->instrumentSends({1, 2, 3});
    line->carry();
    EXPECT_EQ(events, 0);
    EXPECT_EQ(port().bytesWaiting(), 3);
    line->instrumentSends({4, 5, 6, 7, 8});
    ASSERT_TRUE(line->carry([&] { return events > 0; }));
    EXPECT_EQ(events, 1);
    EXPECT_EQ(chunks.at(0), (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_P(SerialPortContract, ReadsNoMoreThanAskedAndRunsAgainForTheRest) {
    ASSERT_TRUE(port().open(Line::kPresentPort));
    port().setThreshold(2);
    readLength = 2;
    line->instrumentSends({0x19, 0x64, 0x19, 0x65, 0x07});
    ASSERT_TRUE(line->carry([&] { return events >= 2; }));
    line->carry();
    EXPECT_EQ(events, 2);
    EXPECT_EQ(chunks.at(0), (Bytes{0x19, 0x64}));
    EXPECT_EQ(chunks.at(1), (Bytes{0x19, 0x65}));
    EXPECT_EQ(port().bytesWaiting(), 1);
    EXPECT_EQ(port().read(8), (Bytes{0x07})) << "a read may return fewer bytes than asked for";
}

TEST_P(SerialPortContract, DiscardEmptiesTheReceiveSide) {
    ASSERT_TRUE(port().open(Line::kPresentPort));
    port().setThreshold(8);
    line->instrumentSends({1, 2, 3, 4});
    line->carry([&] { return port().bytesWaiting() == 4; });
    port().discardInput();
    EXPECT_EQ(port().bytesWaiting(), 0);
    line->instrumentSends({9, 9, 9, 9, 9, 9, 9, 9});
    ASSERT_TRUE(line->carry([&] { return events > 0; }));
    EXPECT_EQ(chunks.at(0), Bytes(8, 9)) << "nothing from before the discard";
}

TEST_P(SerialPortContract, ThresholdZeroRaisesNothing) {
    ASSERT_TRUE(port().open(Line::kPresentPort));
    port().setThreshold(0);
    line->instrumentSends({1, 2, 3, 4, 5, 6, 7, 8, 9});
    line->carry();
    EXPECT_EQ(events, 0);
    EXPECT_EQ(port().bytesWaiting(), 9);
}

TEST_P(SerialPortContract, WritesReachTheLineInOrder) {
    ASSERT_TRUE(port().open(Line::kPresentPort));
    const Bytes a{0x00, 0x17}, b{0x00, 0x70};
    port().write(a);
    port().write(b);
    EXPECT_EQ(line->instrumentReceived(), (Bytes{0x00, 0x17, 0x00, 0x70}));
}

TEST_P(SerialPortContract, ClosedPortReadsAndWritesNothing) {
    port().write(Bytes{1, 2});
    EXPECT_TRUE(port().read(8).empty());
    EXPECT_EQ(port().bytesWaiting(), 0);
    EXPECT_TRUE(line->instrumentReceived().empty());
}

INSTANTIATE_TEST_SUITE_P(Ports, SerialPortContract, ::testing::Values(Kind::Fake, Kind::Real),
                         [](const auto& info) { return info.param == Kind::Fake ? "Fake" : "Real"; });

TEST(QtSerialPortOpen, SaysWhyADeviceCannotBeOpened) {
    platform::QtSerialPort port([] { return platform::PortTable({"/nonexistent/ttyUSB9"}); });
    EXPECT_FALSE(port.open(1));
    EXPECT_EQ(port.lastOpenFailure(), "/nonexistent/ttyUSB9: 设备不存在");
    EXPECT_FALSE(port.open(2));
    EXPECT_EQ(port.lastOpenFailure(), "COM2 没有对应的设备");
    EXPECT_EQ(port.failedOpensInARow(), 2);
    EXPECT_EQ(port.device(), "");
}

TEST(PortTableFromEnvironment, HvrPortsNamesTheDevices) {
#ifdef _WIN32
    _putenv_s("HVR_PORTS", "/dev/null,/tmp/x");
    const auto table = platform::QtSerialPort::currentPortTable();
    _putenv_s("HVR_PORTS", "");
#else
    ::setenv("HVR_PORTS", "/dev/null,/tmp/x", 1);
    const auto table = platform::QtSerialPort::currentPortTable();
    ::unsetenv("HVR_PORTS");
#endif
    EXPECT_EQ(table.device(1), "/dev/null");
    EXPECT_EQ(table.device(2), "/tmp/x");
    EXPECT_EQ(table.device(3), std::nullopt);
}

} // namespace
} // namespace hvr
