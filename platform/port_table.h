#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hvr::platform {

inline constexpr int kFirstPort = 1;
inline constexpr int kLastPort = 16;

// The port a user asks for: a device path, a port number 1..16, or neither (scan).
struct PortChoice {
    int number = 0;
    std::string device;
    bool given() const { return number != 0 || !device.empty(); }
};

// A device path (it holds a '/', or begins "\\" as \\.\COM3 does), or a port 1..16 written as its
// number or as COMn; none otherwise.
std::optional<PortChoice> parsePort(const std::string& text);

// Maps the port numbers 1..16 to device paths. By default COMn is the n-th serial device of
// the system: USB adapters, then ACM adapters, then the rest, each group in natural order
// (ttyUSB2 before ttyUSB10). HVR_PORTS, a comma-separated list of device paths (position = port number, an
// empty entry leaves that number without a device), replaces the system's list.
class PortTable {
  public:
    PortTable() = default;
    explicit PortTable(std::vector<std::string> devices) : m_devices(std::move(devices)) {}

    // The table from HVR_PORTS when it is set (not null), else from the system's devices.
    static PortTable choose(const char* hvrPorts, std::vector<std::string> systemDevices);
    // Every port number names this one device, so the port scan always lands on it.
    static PortTable onlyDevice(const std::string& device);

    static std::vector<std::string> parseList(std::string_view commaSeparated);
    static std::vector<std::string> stableOrder(std::vector<std::string> devices);

    // The device of a port number; none outside 1..16 or past the table's end.
    std::optional<std::string> device(int portNumber) const;

    const std::vector<std::string>& devices() const { return m_devices; }

  private:
    std::vector<std::string> m_devices;
};

} // namespace hvr::platform
