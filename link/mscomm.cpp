#include "link/mscomm.h"

namespace hvr {

namespace {
constexpr const char* kLineSettings = "4800,n,8,1";
}

MSComm::MSComm(platform::SerialPort& port) : m_port(port) {
    m_port.setDataReceivedHandler([this] {
        m_commEvent = comEvReceive;
        if (m_onComm) m_onComm();
        m_commEvent = 0;
    });
}

bool MSComm::setPortOpen(bool open) {
    if (!open) {
        m_port.close();
        return false;
    }
    if (m_port.isOpen()) return true;
    if (m_settings != kLineSettings) return false;
    return m_port.open(m_commPort);
}

std::vector<std::uint8_t> MSComm::Input() {
    const int wanted = m_inputLen > 0 ? m_inputLen : m_port.bytesWaiting();
    return m_port.read(wanted);
}

void MSComm::Output(std::span<const std::uint8_t> bytes) {
    if (m_port.isOpen()) m_port.write(bytes);
}

} // namespace hvr
