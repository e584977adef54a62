#include "units/number_text.h"

#include <cctype>
#include <charconv>
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

std::string fixedText(double value, int decimals) {
    char text[400];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, written.ptr);
}

std::optional<LeadingNumber> leadingNumber(std::string_view text) {
    // from_chars takes no '+', and its "inf", "nan" and bare exponents are no decimals.
    const std::size_t sign = !text.empty() && text.front() == '+' ? 1 : 0;
    const std::string_view rest = text.substr(sign);
    if (rest.empty() || !(std::isdigit(static_cast<unsigned char>(rest.front())) || rest.front() == '.' ||
                          (rest.front() == '-' && rest.size() > 1)))
        return std::nullopt;
    if (sign == 1 && rest.front() == '-') return std::nullopt;
    const std::size_t body = rest.front() == '-' ? 1 : 0;
    if (body < rest.size() && !std::isdigit(static_cast<unsigned char>(rest[body])) && rest[body] != '.')
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (error == std::errc::invalid_argument) return std::nullopt;
    LeadingNumber n{value, sign + static_cast<std::size_t>(end - rest.data()), false};
    if (error == std::errc::result_out_of_range) {
        // Too large, or too small: the exponent's sign says which, else whether any digit
        // stands before the point.
        const std::string_view number(rest.data(), static_cast<std::size_t>(end - rest.data()));
        const auto e = number.find_first_of("eE");
        const bool large = e != std::string_view::npos
                               ? number.substr(e + 1, 1) != "-"
                               : number.substr(0, number.find('.')).find_first_of("123456789") != std::string_view::npos;
        const bool negative = rest.front() == '-';
        n.value = large ? (negative ? -HUGE_VAL : HUGE_VAL) : (negative ? -0.0 : 0.0);
        n.outOfRange = true;
    }
    return n;
}

std::int64_t roundHalfEven(double value) {
    return static_cast<std::int64_t>(
        std::nearbyint(value)); // default rounding mode: to nearest, ties to even
}

} // namespace hvr
