#include "units/range_code.h"

namespace hvr {

std::optional<RangeInfo> rangeOf(std::uint8_t code, Channel channel) {
    switch (code) {
    case '0':
        return RangeInfo{100000, 0, "A"};
    case '1':
        return RangeInfo{10000, 1, "A"};
    case '2':
        return RangeInfo{1000, 2, "A"};
    case '3':
        if (channel == Channel::Primary) return RangeInfo{100, 3, "A"};
        return std::nullopt;
    case '@':
        return RangeInfo{100, 0, "mA"};
    case 'A':
        return RangeInfo{10, 1, "mA"};
    case 'B':
        return RangeInfo{1, 2, "mA"};
    default:
        return std::nullopt;
    }
}

bool isFullScale(std::uint16_t raw, std::uint8_t code, Channel channel) {
    if (channel == Channel::Secondary) return code == '2' && raw == 10000;
    return code == '0' && (raw == 10000 || raw == 10001);
}

bool overRange(std::uint16_t raw, std::uint8_t code, Channel channel) {
    return (channel == Channel::Secondary && raw == kSecondaryOverloadRaw) || isFullScale(raw, code, channel);
}

} // namespace hvr
