// The port table of a command line's choice, and the ports as a user checks them: the same on
// every system.
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

std::vector<QtSerialPort::PortReport> QtSerialPort::describePorts() {
    const PortTable table = currentPortTable();
    const auto names = adapterNames(); // asked of the system once
    std::vector<PortReport> reports;
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        const auto device = table.device(n);
        if (!device || device->empty()) continue;
        PortReport report{n, *device, {}, {}};
        QtSerialPort probe([device] { return PortTable::onlyDevice(*device); });
        if (probe.open(n)) {
            probe.close();
        } else {
            const std::string& why = probe.lastOpenFailure(); // "device: reason"
            report.openFailure = why.starts_with(*device + ": ") ? why.substr(device->size() + 2) : why;
        }
        if (const auto name = names.find(*device); name != names.end()) report.adapter = name->second;
        reports.push_back(std::move(report));
    }
    return reports;
}

} // namespace hvr::platform
