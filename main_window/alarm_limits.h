#pragma once

#include <cstdint>

namespace hvr {

// Alarm limit of each current. A limit counts only while its channel is locked (alarm_on 100)
// and has a unit (48 amperes, 64 milliamperes).
struct AlarmVariables {
    static constexpr std::uint8_t kUnitAmp = 48;
    static constexpr std::uint8_t kUnitMilliamp = 64;
    static constexpr std::uint8_t kOn = 100;

    float pri_limit = 0;
    std::uint8_t pri_limit_unit = 0;
    std::uint8_t pri_alarm_on = 0;
    std::uint8_t pri_alarm = 0;
    std::uint8_t pri_blink = 0;

    float sec_limit = 0;
    std::uint8_t sec_limit_unit = 0;
    std::uint8_t sec_alarm_on = 0;
    std::uint8_t sec_alarm = 0;
    std::uint8_t sec_blink = 0;
};

// A limit in base units (0.01 mA), rounded half to even; 0 without a known unit.
std::int64_t limitInBaseUnits(float limit, std::uint8_t unit);

} // namespace hvr
