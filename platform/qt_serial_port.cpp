#include "platform/qt_serial_port.h"

#include <QSerialPortInfo>
#include <QTimer>

#include <cstdlib>

namespace hvr::platform {

PortTable QtSerialPort::currentPortTable() {
    const char* env = std::getenv("HVR_PORTS");
    std::vector<std::string> system;
    if (env == nullptr)
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
            system.push_back(info.systemLocation().toStdString());
    return PortTable::choose(env, std::move(system));
}

QtSerialPort::QtSerialPort(std::function<PortTable()> portTable, QObject* parent)
    : QObject(parent), m_portTable(std::move(portTable)) {
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialPort::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

QtSerialPort::~QtSerialPort() {
    m_port.close();
}

bool QtSerialPort::open(int portNumber) {
    const auto device = m_portTable().device(portNumber);
    if (!device) return false;
    return openDevice(QString::fromStdString(*device));
}

bool QtSerialPort::openDevice(const QString& path) {
    if (m_port.isOpen()) m_port.close();
    m_port.setPortName(path);
    if (!m_port.open(QIODevice::ReadWrite)) return false;
    const bool configured = m_port.setBaudRate(4800) && m_port.setDataBits(QSerialPort::Data8) &&
                            m_port.setParity(QSerialPort::NoParity) &&
                            m_port.setStopBits(QSerialPort::OneStop) &&
                            m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        m_port.close();
        return false;
    }
    m_port.clear();
    return true;
}

void QtSerialPort::close() {
    if (m_port.isOpen()) m_port.close();
}

bool QtSerialPort::isOpen() const {
    return m_port.isOpen();
}

void QtSerialPort::setThreshold(int bytes) {
    m_threshold = bytes;
}

std::vector<std::uint8_t> QtSerialPort::read(int maxBytes) {
    if (!m_port.isOpen() || maxBytes <= 0) return {};
    const QByteArray data = m_port.read(maxBytes);
    return {data.begin(), data.end()};
}

int QtSerialPort::bytesWaiting() const {
    return m_port.isOpen() ? static_cast<int>(m_port.bytesAvailable()) : 0;
}

void QtSerialPort::write(std::span<const std::uint8_t> bytes) {
    if (m_port.isOpen())
        m_port.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

void QtSerialPort::discardInput() {
    if (!m_port.isOpen()) return;
    // Drop what the driver holds and what Qt has already buffered.
    m_port.clear(QSerialPort::Input);
    m_port.readAll();
}

void QtSerialPort::discardOutput() {
    if (m_port.isOpen()) m_port.clear(QSerialPort::Output);
}

void QtSerialPort::onReadyRead() {
    if (m_delivering) {
        m_pending = true; // delivered again once the running handler returns
        return;
    }
    deliver();
}

void QtSerialPort::deliver() {
    m_delivering = true;
    do {
        m_pending = false;
        while (m_handler && m_threshold > 0 && bytesWaiting() >= m_threshold) {
            const int before = bytesWaiting();
            m_handler();
            if (bytesWaiting() >= before)
                break; // the handler read nothing: wait for more bytes rather than spin
        }
    } while (m_pending);
    m_delivering = false;
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::UnsupportedOperationError: // modem lines on a pseudo-terminal: harmless
    case QSerialPort::TimeoutError:
        return;
    case QSerialPort::ResourceError: // adapter unplugged, or the other end of a pty went away
        close();
        return;
    default:
        m_port.clearError();
        return;
    }
}

} // namespace hvr::platform
