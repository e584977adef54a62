#include "platform/port_table.h"

#include <algorithm>
#include <cctype>

namespace hvr::platform {
namespace {

// USB serial adapters first, then USB modems (ACM), then everything else.
int rank(std::string_view path) {
    const auto slash = path.rfind('/');
    const auto name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (name.starts_with("ttyUSB")) return 0;
    if (name.starts_with("ttyACM")) return 1;
    return 2;
}

// Compares digit runs by value, everything else by character.
bool naturalLess(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::isdigit(static_cast<unsigned char>(a[i])) &&
            std::isdigit(static_cast<unsigned char>(b[j]))) {
            std::size_t ei = i, ej = j;
            while (ei < a.size() && std::isdigit(static_cast<unsigned char>(a[ei])))
                ++ei;
            while (ej < b.size() && std::isdigit(static_cast<unsigned char>(b[ej])))
                ++ej;
            auto da = a.substr(i, ei - i), db = b.substr(j, ej - j);
            while (da.size() > 1 && da.front() == '0')
                da.remove_prefix(1);
            while (db.size() > 1 && db.front() == '0')
                db.remove_prefix(1);
            if (da.size() != db.size()) return da.size() < db.size();
            if (da != db) return da < db;
            i = ei;
            j = ej;
        } else {
            if (a[i] != b[j]) return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

} // namespace

std::vector<std::string> PortTable::parseList(std::string_view list) {
    std::vector<std::string> out;
    while (true) {
        const auto comma = list.find(',');
        auto item = list.substr(0, comma);
        while (!item.empty() && std::isspace(static_cast<unsigned char>(item.front())))
            item.remove_prefix(1);
        while (!item.empty() && std::isspace(static_cast<unsigned char>(item.back())))
            item.remove_suffix(1);
        out.emplace_back(item);
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return out;
}

std::vector<std::string> PortTable::stableOrder(std::vector<std::string> devices) {
    std::sort(devices.begin(), devices.end(), [](const std::string& a, const std::string& b) {
        const int rankA = rank(a), rankB = rank(b);
        if (rankA != rankB) return rankA < rankB;
        return naturalLess(a, b);
    });
    devices.erase(std::unique(devices.begin(), devices.end()), devices.end());
    return devices;
}

PortTable PortTable::choose(const char* hvrPorts, std::vector<std::string> systemDevices) {
    if (hvrPorts != nullptr) return PortTable(parseList(hvrPorts));
    return PortTable(stableOrder(std::move(systemDevices)));
}

std::optional<std::string> PortTable::device(int portNumber) const {
    if (portNumber < kFirstPort || portNumber > kLastPort) return std::nullopt;
    const auto index = static_cast<std::size_t>(portNumber - kFirstPort);
    if (index >= m_devices.size() || m_devices[index].empty()) return std::nullopt;
    return m_devices[index];
}

std::optional<PortChoice> parsePort(const std::string& text) {
    if (text.find('/') != std::string::npos || text.starts_with("\\\\")) return PortChoice{0, text};
    // "COM3" (any case) is port 3, as the window names it.
    if (text.size() > 3 && (text[0] | 0x20) == 'c' && (text[1] | 0x20) == 'o' && (text[2] | 0x20) == 'm')
        return parsePort(text.substr(3));
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int number = std::stoi(text);
    if (number < 1 || number > 16) return std::nullopt;
    return PortChoice{number, {}};
}

PortTable PortTable::onlyDevice(const std::string& device) {
    return PortTable(std::vector<std::string>(kLastPort, device));
}

} // namespace hvr::platform
