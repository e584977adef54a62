#pragma once

#include <cstdint>
#include <string>

// The ratio of two currents and what is referred from it, exactly, in whole numbers.
namespace hvr {

// Ratio, 5 A-referred primary and 10 kV Y-Y ratio of a primary P and secondary S in base units,
// in whole-number arithmetic with truncating division (64-bit, so large primaries stay exact).
// A division by zero leaves its text empty; a zero P or S makes the ratio "0.0".
struct RatioTexts {
    std::string ratio;
    std::string fiveAmp;
    std::string yy;
    bool operator==(const RatioTexts&) const = default;
};
RatioTexts ratioTexts(std::int64_t primary, std::int64_t secondary);

// The ratio of a primary and a secondary in base units, in tenths, truncated; 0 when either
// is 0.
std::int64_t ratioTenths(std::int64_t primary, std::int64_t secondary);

// A ratio given in tenths, as the live panel writes it: one decimal at most, whole above
// 100000, and the K6/K7/K8 forms above 1000000.
std::string ratioText(std::int64_t tenths);

} // namespace hvr
