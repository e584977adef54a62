#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hvr {

// A limit exactly as typed: mantissa × 10^exponent ("1.1" is 11 × 10^-1). Held exactly, so that
// a reading of exactly the limit is "at the limit" whatever the digits.
struct DecimalLimit {
    std::int64_t mantissa = 0;
    int exponent = 0;
    bool operator==(const DecimalLimit&) const = default;
};

// Alarm limit of each current. A limit counts only while its channel is locked (alarm_on 100)
// and has a unit (48 amperes, 64 milliamperes).
struct AlarmVariables {
    static constexpr std::uint8_t kUnitAmp = 48;
    static constexpr std::uint8_t kUnitMilliamp = 64;
    static constexpr std::uint8_t kOn = 100;

    DecimalLimit pri_limit;
    std::uint8_t pri_limit_unit = 0;
    std::uint8_t pri_alarm_on = 0;
    std::uint8_t pri_alarm = 0;
    std::uint8_t pri_blink = 0;

    DecimalLimit sec_limit;
    std::uint8_t sec_limit_unit = 0;
    std::uint8_t sec_alarm_on = 0;
    std::uint8_t sec_alarm = 0;
    std::uint8_t sec_blink = 0;
};

// A limit entry read as a number: blanks around it, an optional sign, digits with an optional
// point, an optional exponent ("2.5", " 600", "-1", ".5", "1e3"). None for anything else, and
// none for a value beyond single precision (|x| > 3.4e38), which no instrument reading reaches.
std::optional<DecimalLimit> parseLimit(std::string_view text);

// Whether a reading in base units (0.01 mA) is at or above the limit in that unit (48 amperes,
// 64 milliamperes). The primary compares with the limit rounded to whole base units (half to
// even); the secondary with the exact limit.
bool primaryLimitReached(std::int64_t base, const DecimalLimit& limit, std::uint8_t unit);
bool secondaryLimitReached(std::int64_t base, const DecimalLimit& limit, std::uint8_t unit);

// The limit written back as a plain decimal ("2.5", "600").
std::string limitText(const DecimalLimit& limit);

} // namespace hvr
