#pragma once

#include <cstdint>
#include <string>

namespace hvr {

// Shortest decimal text of value / 10^decimals, computed exactly: no exponent, no trailing zeros,
// no point for whole numbers, one "0" before the point below 1 ("0.25", "-0.5", "12").
std::string decimalText(std::int64_t value, int decimals);

// Whole-number text of a value.
inline std::string decimalText(std::int64_t value) {
    return decimalText(value, 0);
}

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
std::int64_t roundHalfEven(double value);

} // namespace hvr
