#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/serial_port.h"

namespace hvr {

// The main window's serial control: port number, settings, open state, receive threshold and
// read length, discards, and the data-received event, over a platform serial port.
class MSComm {
  public:
    static constexpr int comEvReceive = 2;

    explicit MSComm(platform::SerialPort& port);

    int CommPort() const { return m_commPort; }
    void setCommPort(int number) { m_commPort = number; }

    const std::string& Settings() const { return m_settings; }
    void setSettings(std::string settings) { m_settings = std::move(settings); }

    bool PortOpen() const { return m_port.isOpen(); }
    // Opening fails quietly (the port stays closed) for a missing or busy device or settings
    // other than 4800,n,8,1; the result says whether the port is open afterwards.
    bool setPortOpen(bool open);

    int RThreshold() const { return m_port.threshold(); }
    void setRThreshold(int bytes) { m_port.setThreshold(bytes); }
    int InputLen() const { return m_inputLen; }
    void setInputLen(int bytes) { m_inputLen = bytes; }

    // Reads what waits, at most InputLen bytes (everything for InputLen 0).
    std::vector<std::uint8_t> Input();
    void Output(std::span<const std::uint8_t> bytes);

    // Bytes came sooner than an answer to the last output could: they were on their way before it.
    bool arrivedAhead() const { return m_port.arrivedAhead(); }

    int InBufferCount() const { return m_port.bytesWaiting(); }
    void discardInBuffer() { m_port.discardInput(); }   // InBufferCount = 0
    void discardOutBuffer() { m_port.discardOutput(); } // OutBufferCount = 0

    int CommEvent() const { return m_commEvent; }

    // The OnComm event; CommEvent reads comEvReceive while it runs.
    void setOnComm(std::function<void()> handler) { m_onComm = std::move(handler); }

  private:
    platform::SerialPort& m_port;
    int m_commPort = 1;
    std::string m_settings = "9600,n,8,1";
    int m_inputLen = 0;
    int m_commEvent = 0;
    std::function<void()> m_onComm;
};

} // namespace hvr
