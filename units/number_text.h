#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hvr {

// Shortest decimal text of value / 10^decimals, computed exactly: no exponent, no trailing zeros,
// no point for whole numbers, one "0" before the point below 1 ("0.25", "-0.5", "12").
std::string decimalText(std::int64_t value, int decimals);

// Whole-number text of a value.
inline std::string decimalText(std::int64_t value) {
    return decimalText(value, 0);
}

// A number as the program writes it, whatever the user's locale: `decimals` decimals after a
// point, rounded once from the exact value of the double ("-0.05", "12.30").
std::string fixedText(double value, int decimals);

// A decimal number at the start of the text, read as the program writes numbers whatever the
// user's locale: an optional sign, digits with a point, an exponent ("+1.5", ".5", "-2e3").
// Its value and how many characters it took; none where no number starts there. Beyond a
// double's range it is infinite, or zero below it, and says so.
struct LeadingNumber {
    double value = 0;
    std::size_t length = 0;
    bool outOfRange = false;
};
std::optional<LeadingNumber> leadingNumber(std::string_view text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
std::int64_t roundHalfEven(double value);

} // namespace hvr
