#include "units/number_text.h"

#include <cmath>
#include <cstdlib>

namespace hvr {

std::string decimalText(std::int64_t value, int decimals) {
    const bool negative = value < 0;
    // Work on the magnitude as unsigned so that INT64_MIN survives.
    std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::string digits = std::to_string(magnitude);
    if (decimals > 0) {
        if (digits.size() <= static_cast<std::size_t>(decimals))
            digits.insert(0, static_cast<std::size_t>(decimals) - digits.size() + 1, '0');
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
        while (digits.back() == '0')
            digits.pop_back();
        if (digits.back() == '.') digits.pop_back();
    }
    if (negative && digits != "0") digits.insert(0, 1, '-');
    return digits;
}

std::int64_t roundHalfEven(double value) {
    return static_cast<std::int64_t>(
        std::nearbyint(value)); // default rounding mode: to nearest, ties to even
}

} // namespace hvr
