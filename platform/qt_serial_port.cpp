#include "platform/qt_serial_port.h"

#include <QFileInfo>
#include <QSerialPortInfo>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace hvr::platform {

std::string QtSerialPort::deviceExamples() {
    return "/dev/ttyUSB0, 伪终端";
}

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
    if (!device) {
        ++m_failedOpens;
        m_lastFailure = "COM" + std::to_string(portNumber) + " 没有对应的设备";
        return false;
    }
    return openDevice(QString::fromStdString(*device));
}

namespace {

// The system's reason in words a user acts on, its own text after them; a reason without such
// words as the system gives it.
std::string inWords(const QString& systemText) {
    const std::string text = systemText.toStdString();
    static const std::pair<int, const char*> kWords[] = {
        {ENOTTY, "不是串口"},        {ENXIO, "设备不存在"}, {ENODEV, "设备不存在"}, {ENOENT, "设备不存在"},
        {EBUSY, "正被其他程序使用"}, {EACCES, "没有权限"},  {EPERM, "没有权限"},    {EIO, "设备出错"}};
    for (const auto& [code, words] : kWords)
        if (text == std::strerror(code)) return std::string(words) + " (" + text + ")";
    return text;
}

// Why a device cannot be opened, as the user can act on it.
std::string openFailureReason(const QString& path, QSerialPort::SerialPortError error,
                              const QString& qtText) {
    const std::string device = path.toStdString();
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return device + ": 设备不存在";
    case QSerialPort::PermissionError:
        if (::access(device.c_str(), R_OK | W_OK) != 0 && errno == EACCES)
            return device +
                   ": 没有权限 (把用户加入 dialout 组: sudo usermod -aG dialout $USER, 然后重新登录)";
        return device + ": 正被其他程序使用";
    case QSerialPort::OpenError:
        return device + ": 已被打开";
    default:
        return device + ": " + inWords(qtText);
    }
}

} // namespace

bool QtSerialPort::openDevice(const QString& path) {
    if (m_port.isOpen()) m_port.close();
    m_port.setPortName(path);
    m_lastError = QSerialPort::NoError;
    if (!m_port.open(QIODevice::ReadWrite)) {
        ++m_failedOpens;
        m_lastFailure = openFailureReason(path, m_lastError, m_lastErrorText);
        return false;
    }
    const bool configured = m_port.setBaudRate(4800) && m_port.setDataBits(QSerialPort::Data8) &&
                            m_port.setParity(QSerialPort::NoParity) &&
                            m_port.setStopBits(QSerialPort::OneStop) &&
                            m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        m_port.close();
        return false;
    }
    m_port.clear();
    m_devicePath = path.toStdString();
    const bool timed = !QFileInfo(path).canonicalFilePath().startsWith(QStringLiteral("/dev/pts/"));
    m_timing.setByteSeconds(timed ? 10.0 / 4800.0 : 0);
    m_buffered = 0;
    if (std::find(m_opened.begin(), m_opened.end(), m_devicePath) == m_opened.end())
        m_opened.push_back(m_devicePath);
    m_failedOpens = 0;
    m_lastFailure.clear();
    return true;
}

std::map<std::string, std::string> QtSerialPort::adapterNames() {
    // The adapter's own name, as the system read it from the USB device (sysfs, udev).
    std::map<std::string, std::string> names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        QString name = info.description();
        if (!info.manufacturer().isEmpty() && !name.contains(info.manufacturer()))
            name = info.manufacturer() + " " + name;
        if (!name.trimmed().isEmpty())
            names[info.systemLocation().toStdString()] = name.trimmed().toStdString();
    }
    return names;
}

std::string QtSerialPort::device() const {
    return m_port.isOpen() ? m_devicePath : std::string();
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
    m_buffered = m_port.bytesAvailable();
    return {data.begin(), data.end()};
}

int QtSerialPort::bytesWaiting() const {
    return m_port.isOpen() ? static_cast<int>(m_port.bytesAvailable()) : 0;
}

void QtSerialPort::write(std::span<const std::uint8_t> bytes) {
    m_timing.wrote(bytes.size(), now());
    if (m_port.isOpen())
        m_port.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

void QtSerialPort::discardInput() {
    if (!m_port.isOpen()) return;
    // Drop what the driver holds and what Qt has already buffered.
    m_port.clear(QSerialPort::Input);
    m_port.readAll();
    m_buffered = 0;
}

void QtSerialPort::discardOutput() {
    if (m_port.isOpen()) m_port.clear(QSerialPort::Output);
}

void QtSerialPort::onReadyRead() {
    const qint64 waiting = m_port.bytesAvailable();
    if (waiting > m_buffered) m_timing.arrived(static_cast<std::size_t>(waiting - m_buffered), now());
    m_buffered = waiting;
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
    if (error != QSerialPort::NoError) {
        m_lastError = error;
        m_lastErrorText = m_port.errorString();
    }
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::UnsupportedOperationError: // modem lines on a pseudo-terminal: harmless
    case QSerialPort::TimeoutError:
        return;
    case QSerialPort::ResourceError: // adapter unplugged
    case QSerialPort::ReadError:     // a read that ends or fails: the line has hung up
        // Closing stops the reads at once (a hung-up line is always readable) and lets the
        // port scan take over, as with an adapter pulled out.
        close();
        return;
    default:
        m_port.clearError();
        return;
    }
}

} // namespace hvr::platform
