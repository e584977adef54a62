#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace hvr {

// Currents are compared in a base unit of 0.01 mA: 1 A is 100000, 1 mA is 100.
inline constexpr std::int64_t kBasePerAmp = 100000;
inline constexpr std::int64_t kBasePerMilliamp = 100;

enum class Channel { Primary, Secondary };

// What a range code byte says about a raw reading: shown value = raw / 10^decimals in `unit`,
// base units = raw * factor.
struct RangeInfo {
    std::int64_t factor;
    int decimals;
    std::string_view unit;
};

// The instrument's range codes. "3" (amperes, three decimals) exists for the primary only;
// any other byte has no range.
std::optional<RangeInfo> rangeOf(std::uint8_t code, Channel channel);

// Whether the instrument marks a reading as beyond its range: the secondary's overload mark
// (raw 4000, whatever the code) or its full scale (code "2", raw 10000), the primary's full
// scale (code "0", raw 10000 or 10001). One rule for live readings and stored groups.
bool overRange(std::uint16_t raw, std::uint8_t code, Channel channel);
bool isFullScale(std::uint16_t raw, std::uint8_t code, Channel channel);
inline constexpr std::uint16_t kSecondaryOverloadRaw = 4000;

} // namespace hvr
