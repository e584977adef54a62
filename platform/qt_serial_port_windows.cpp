// The serial line on Windows: COM1…COM16 by name, opened as \\.\COMn at 4800 baud 8N1, read
// without waiting from a short timer on the thread of the port, as the handler expects.
#include "platform/qt_serial_port.h"

// clang-format off
#include <windows.h>
#include <initguid.h>
#include <devguid.h>
#include <setupapi.h>
// clang-format on

#include <algorithm>
#include <cstdlib>
#include <map>

#include "platform/windows_text.h"

namespace hvr::platform {

namespace {

constexpr int kPollMilliseconds = 5;

HANDLE handleOf(void* handle) {
    return static_cast<HANDLE>(handle);
}

// The system's name of a device: COMn and \\.\COMn alike open as \\.\COMn, which also reaches
// COM10 and above.
std::wstring systemName(const std::string& device) {
    return device.starts_with("\\\\.\\") ? windows::wide(device) : L"\\\\.\\" + windows::wide(device);
}

} // namespace

// The COM ports' own names, as the system knows them from their drivers ("USB-SERIAL CH340"),
// by port name ("COM3").
std::map<std::string, std::string> QtSerialPort::adapterNames() {
    std::map<std::string, std::string> names;
    const HDEVINFO devices = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) return names;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(devices, i, &device); ++i) {
        wchar_t port[64] = {};
        if (const HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
            key != INVALID_HANDLE_VALUE) {
            DWORD size = sizeof port - sizeof(wchar_t);
            RegQueryValueExW(key, L"PortName", nullptr, nullptr, reinterpret_cast<BYTE*>(port), &size);
            RegCloseKey(key);
        }
        wchar_t friendly[256] = {};
        if (port[0] == L'\0' ||
            !SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_FRIENDLYNAME, nullptr,
                                               reinterpret_cast<BYTE*>(friendly), sizeof friendly - sizeof(wchar_t),
                                               nullptr))
            continue;
        // "USB-SERIAL CH340 (COM3)": the port's name is the table's already.
        std::wstring name = friendly;
        if (const auto paren = name.rfind(L" (COM"); paren != std::wstring::npos) name.resize(paren);
        names[windows::utf8(port)] = windows::utf8(name);
    }
    SetupDiDestroyDeviceInfoList(devices);
    return names;
}

std::string QtSerialPort::deviceExamples() {
    return "COM3, \\\\.\\COM21";
}

PortTable QtSerialPort::currentPortTable() {
    std::vector<std::string> system;
    for (int n = kFirstPort; n <= kLastPort; ++n)
        system.push_back("COM" + std::to_string(n));
    return PortTable::choose(std::getenv("HVR_PORTS"), std::move(system));
}

QtSerialPort::QtSerialPort(std::function<PortTable()> portTable, QObject* parent)
    : QObject(parent), m_portTable(std::move(portTable)) {
    m_poll.setInterval(kPollMilliseconds);
    connect(&m_poll, &QTimer::timeout, this, &QtSerialPort::poll);
}

QtSerialPort::~QtSerialPort() {
    closeHandle();
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

bool QtSerialPort::openDevice(const QString& path) {
    closeHandle();
    const std::string device = path.toStdString();
    const HANDLE port = CreateFileW(systemName(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        ++m_failedOpens;
        m_lastFailure = device + ": " +
                        (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? "设备不存在"
                         : error == ERROR_ACCESS_DENIED                                 ? "正被其他程序使用"
                                                                                        : windows::errorText(error));
        return false;
    }
    // 4800 baud 8N1 without flow control; reads return at once with what has arrived; a write
    // waits no longer than its bytes take at that speed, and two seconds more.
    DCB settings{};
    settings.DCBlength = sizeof settings;
    COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 3, 2000};
    const bool configured = GetCommState(port, &settings) != 0 && [&] {
        settings.BaudRate = 4800;
        settings.ByteSize = 8;
        settings.Parity = NOPARITY;
        settings.StopBits = ONESTOPBIT;
        settings.fBinary = TRUE;
        settings.fParity = FALSE;
        settings.fOutxCtsFlow = settings.fOutxDsrFlow = FALSE;
        settings.fDtrControl = DTR_CONTROL_ENABLE;
        settings.fRtsControl = RTS_CONTROL_ENABLE;
        settings.fDsrSensitivity = FALSE;
        settings.fOutX = settings.fInX = FALSE;
        settings.fNull = FALSE;
        settings.fAbortOnError = FALSE;
        return SetCommState(port, &settings) != 0;
    }() && SetCommTimeouts(port, &timeouts) != 0;
    if (!configured) {
        ++m_failedOpens;
        m_lastFailure = device + ": " + windows::errorText(GetLastError());
        CloseHandle(port);
        return false;
    }
    PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR);
    m_handle = port;
    m_received.clear();
    m_poll.start();
    m_devicePath = device;
    m_timing.setByteSeconds(10.0 / 4800.0); // COM ports are serial lines; a simulator behind one is paced as one
    if (std::find(m_opened.begin(), m_opened.end(), m_devicePath) == m_opened.end())
        m_opened.push_back(m_devicePath);
    m_failedOpens = 0;
    m_lastFailure.clear();
    return true;
}


std::string QtSerialPort::device() const {
    return isOpen() ? m_devicePath : std::string();
}

void QtSerialPort::closeHandle() {
    m_poll.stop();
    if (m_handle != nullptr) CloseHandle(handleOf(m_handle));
    m_handle = nullptr;
    m_received.clear();
}

void QtSerialPort::close() {
    closeHandle();
}

bool QtSerialPort::isOpen() const {
    return m_handle != nullptr;
}

void QtSerialPort::setThreshold(int bytes) {
    m_threshold = bytes;
}

std::vector<std::uint8_t> QtSerialPort::read(int maxBytes) {
    if (!isOpen() || maxBytes <= 0) return {};
    const auto n = std::min(m_received.size(), static_cast<std::size_t>(maxBytes));
    std::vector<std::uint8_t> out(m_received.begin(), m_received.begin() + static_cast<std::ptrdiff_t>(n));
    m_received.erase(m_received.begin(), m_received.begin() + static_cast<std::ptrdiff_t>(n));
    return out;
}

int QtSerialPort::bytesWaiting() const {
    return isOpen() ? static_cast<int>(m_received.size()) : 0;
}

void QtSerialPort::write(std::span<const std::uint8_t> bytes) {
    m_timing.wrote(bytes.size(), now());
    if (!isOpen()) return;
    DWORD written = 0;
    if (!WriteFile(handleOf(m_handle), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        GetLastError() != ERROR_TIMEOUT)
        closeHandle(); // the adapter is gone: the port scan takes over
}

void QtSerialPort::discardInput() {
    if (!isOpen()) return;
    PurgeComm(handleOf(m_handle), PURGE_RXCLEAR);
    m_received.clear();
}

void QtSerialPort::discardOutput() {
    if (isOpen()) PurgeComm(handleOf(m_handle), PURGE_TXCLEAR);
}

void QtSerialPort::poll() {
    if (!isOpen()) return;
    std::uint8_t buffer[512];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(handleOf(m_handle), buffer, sizeof buffer, &got, nullptr)) {
            closeHandle(); // unplugged: closing lets the port scan take over
            return;
        }
        m_received.insert(m_received.end(), buffer, buffer + got);
        if (got > 0) m_timing.arrived(got, now());
        if (got < sizeof buffer) break;
    }
    if (!m_delivering) deliver();
}

void QtSerialPort::deliver() {
    m_delivering = true;
    while (m_handler && m_threshold > 0 && bytesWaiting() >= m_threshold) {
        const int before = bytesWaiting();
        m_handler();
        if (bytesWaiting() >= before) break; // the handler read nothing: wait for more bytes
    }
    m_delivering = false;
}

} // namespace hvr::platform
