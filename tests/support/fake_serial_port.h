#pragma once

#include <deque>
#include <set>
#include <vector>

#include "platform/line_timing.h"
#include "platform/serial_port.h"

namespace hvr::testing {

// A serial port in memory. Tests play the instrument: deliver() puts bytes on the line and
// raises the data-received event as the real port does; writes are recorded as written.
class FakeSerialPort final : public platform::SerialPort {
  public:
    // Port numbers that open; every other number fails as a missing device would.
    std::set<int> presentPorts{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

    bool open(int portNumber) override {
        if (m_open || !presentPorts.contains(portNumber)) return m_open;
        m_open = true;
        m_openedPort = portNumber;
        openCalls.push_back(portNumber);
        return true;
    }
    void close() override {
        m_open = false;
        m_input.clear();
    }
    bool isOpen() const override { return m_open; }
    int openedPort() const { return m_openedPort; }

    void setThreshold(int bytes) override { m_threshold = bytes; }
    int threshold() const override { return m_threshold; }

    std::vector<std::uint8_t> read(int maxBytes) override {
        std::vector<std::uint8_t> out;
        while (maxBytes-- > 0 && !m_input.empty()) {
            out.push_back(m_input.front());
            m_input.pop_front();
        }
        return out;
    }
    int bytesWaiting() const override { return static_cast<int>(m_input.size()); }

    void write(std::span<const std::uint8_t> bytes) override {
        if (!m_open) return;
        if (m_clock) m_timing.wrote(bytes.size(), m_clock());
        writes.emplace_back(bytes.begin(), bytes.end());
    }
    // No line speed unless a test gives one, with its own clock (seconds) that each write and
    // each delivery is timed on.
    bool arrivedAhead() const override { return m_timing.ahead(); }
    void timeLine(std::function<double()> clock) {
        m_clock = std::move(clock);
        m_timing.setByteSeconds(10.0 / 4800.0);
    }

    void discardInput() override {
        m_input.clear();
        ++inputDiscards;
    }
    void discardOutput() override { ++outputDiscards; }
    void setDataReceivedHandler(std::function<void()> handler) override { m_handler = std::move(handler); }

    // The instrument sends bytes; the handler runs while the threshold is met and it reads.
    void deliver(std::vector<std::uint8_t> bytes) {
        if (!m_open) return;
        if (m_clock) m_timing.arrived(bytes.size(), m_clock());
        m_input.insert(m_input.end(), bytes.begin(), bytes.end());
        while (m_handler && m_threshold > 0 && bytesWaiting() >= m_threshold) {
            const int before = bytesWaiting();
            m_handler();
            if (bytesWaiting() >= before) break;
        }
    }

    // The device goes away: the port closes and the number no longer opens.
    void hangUp() {
        presentPorts.erase(m_openedPort);
        close();
    }

    // Every byte written since the last call, as the line carried it.
    std::vector<std::uint8_t> takeLine() {
        std::vector<std::uint8_t> out;
        for (const auto& w : writes)
            out.insert(out.end(), w.begin(), w.end());
        writes.clear();
        return out;
    }

    std::vector<std::vector<std::uint8_t>> writes; // one entry per write call
    std::vector<int> openCalls;
    int inputDiscards = 0;
    int outputDiscards = 0;

  private:
    bool m_open = false;
    int m_openedPort = 0;
    int m_threshold = 0;
    std::deque<std::uint8_t> m_input;
    std::function<void()> m_handler;
    std::function<double()> m_clock;
    platform::LineTiming m_timing;
};

} // namespace hvr::testing
