#pragma once

#include <cctype>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace hvr::testing {

// A parameterised case's name as ctest lists it: its position, then what it is about, in the
// letters, digits and underscores a test name may hold ("07_minus5_decimals1").
inline std::string caseName(std::size_t index, std::string_view about) {
    char position[16];
    std::snprintf(position, sizeof position, "%02zu", index);
    std::string name = position;
    name += '_';
    for (const char c : about) {
        if (std::isalnum(static_cast<unsigned char>(c)) != 0)
            name += c;
        else if (c == '-')
            name += "minus";
        else if (c == '.')
            name += 'p';
        else if (name.back() != '_')
            name += '_';
    }
    while (name.back() == '_')
        name.pop_back();
    return name;
}

} // namespace hvr::testing
