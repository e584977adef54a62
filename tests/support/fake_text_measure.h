#pragma once

#include <string_view>

#include "platform/printer.h"

namespace hvr::testing {

// Texts measured as a fixed-pitch font would: a Chinese character a square of the font's size,
// anything else half as wide; lines 1.3 times the size apart.
class FakeTextMeasure final : public platform::TextMeasure {
  public:
    double lineHeight(const platform::PrintFont& font) const override { return font.points * 20 * 1.3; }
    double textWidth(const platform::PrintFont& font, std::string_view text) const override {
        double width = 0;
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x80) width += font.points * 10;       // ASCII: half a square
            else if (byte >= 0xE0) width += font.points * 20; // the lead of a three-byte character
            else if (byte >= 0xC0) width += font.points * 10; // a two-byte character
        }
        return width;
    }
};

} // namespace hvr::testing
