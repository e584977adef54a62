#pragma once

#include <QObject>
#ifdef _WIN32
#include <QTimer>
#else
#include <QSerialPort>
#endif

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/line_timing.h"
#include "platform/port_table.h"
#include "platform/serial_port.h"

namespace hvr::platform {

// The serial line: on QSerialPort, or on Windows on the system's communications API (COMn).
// Port numbers go through the port table, looked up at each open so that an adapter plugged in
// later is found.
class QtSerialPort final : public QObject, public SerialPort {
  public:
    // Devices from HVR_PORTS, else from the system's serial ports.
    static PortTable currentPortTable();
    // The port table a choice gives: the current one when nothing is chosen, else every number
    // naming the chosen device (a number is looked up in the current table). Empty, with the
    // reason, when a chosen number has no device.
    static std::function<PortTable()> tableFor(const PortChoice& choice, std::string& error);

    explicit QtSerialPort(std::function<PortTable()> portTable = currentPortTable, QObject* parent = nullptr);
    ~QtSerialPort() override;

    bool open(int portNumber) override;
    // Opens a device by path, for a port given on a command line.
    bool openDevice(const QString& path);
    void close() override;
    bool isOpen() const override;

    void setThreshold(int bytes) override;
    int threshold() const override { return m_threshold; }

    std::vector<std::uint8_t> read(int maxBytes) override;
    int bytesWaiting() const override;
    void write(std::span<const std::uint8_t> bytes) override;
    void discardInput() override;
    void discardOutput() override;
    // A serial line at 4800 baud 8N1; a pseudo-terminal carries bytes as fast as they are written.
    bool arrivedAhead() const override { return m_timing.ahead(); }

    void setDataReceivedHandler(std::function<void()> handler) override { m_handler = std::move(handler); }

    // The device of the open port; empty while closed.
    std::string device() const;
    // Why the last open failed, in one phrase ("设备不存在", "没有权限…", "正被其他程序使用"),
    // with the device it tried; empty after a successful open.
    const std::string& lastOpenFailure() const { return m_lastFailure; }
    // Opens that failed one after the other since the last successful one.
    int failedOpensInARow() const { return m_failedOpens; }
    // The devices opened so far, in the order first opened.
    const std::vector<std::string>& openedDevices() const { return m_opened; }

    // A port of the table as a user checks it: its device, whether it opens (and why not),
    // and the name the adapter gives itself, where the system knows one.
    struct PortReport {
        int number;
        std::string device;
        std::string openFailure; // empty when it opens
        std::string adapter;
    };
    static std::vector<PortReport> describePorts();
    // Devices as a user names them on this system, for examples in help texts.
    static std::string deviceExamples();

  private:
    // The names adapters give themselves, by device, where the system knows them.
    static std::map<std::string, std::string> adapterNames();
    void deliver();
#ifdef _WIN32
    void poll();
    void closeHandle();

    void* m_handle = nullptr; // the open COM port's HANDLE
    QTimer m_poll;            // reads what arrived, as the system does not say when
    std::vector<std::uint8_t> m_received;
#else
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    QSerialPort::SerialPortError m_lastError = QSerialPort::NoError;
    QString m_lastErrorText;
#endif
    std::function<PortTable()> m_portTable;
    std::function<void()> m_handler;
    int m_threshold = 0;
    int m_failedOpens = 0;
    std::string m_lastFailure;
    std::string m_devicePath;
    std::vector<std::string> m_opened;
    // The line's speed, told of every write and every arrival as it happens.
    LineTiming m_timing;
    qint64 m_buffered = 0; // bytes waiting when arrivals were last counted
    static double now() {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    }
    bool m_delivering = false;
    bool m_pending = false;
};

} // namespace hvr::platform
