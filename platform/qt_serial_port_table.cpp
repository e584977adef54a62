// The port table a command line's choice gives, on every system.
#include "platform/qt_serial_port.h"

namespace hvr::platform {

std::function<PortTable()> QtSerialPort::tableFor(const PortChoice& choice, std::string& error) {
    if (!choice.given()) return currentPortTable;
    std::string device = choice.device;
    if (device.empty()) {
        const auto found = currentPortTable().device(choice.number);
        if (!found || found->empty()) {
            error = "端口表中没有 COM" + std::to_string(choice.number) + " (可用 HVR_PORTS 指定设备)";
            return {};
        }
        device = *found;
    }
    return [device] { return PortTable::onlyDevice(device); };
}

} // namespace hvr::platform
