#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/printer.h"

// A text set in a column of a printed page: broken into lines that fit its width, or cut short
// with "…" where only one line may stand.
namespace hvr::report {

// The lines of a text no wider than the width: broken between words where a line of Latin
// script would otherwise split one, anywhere in Chinese and in a word longer than the line; a
// line feed in the text starts a new line. Every character of the text is on one of them but
// the blanks where lines break. An empty text is one empty line.
std::vector<std::string> wrapText(std::string_view text, double width, const platform::PrintFont& font,
                                  const platform::TextMeasure& measure);

// The text on one line no wider than the width: as it is when it fits, else cut short and
// ended with "…". Line feeds stand as blanks.
std::string elideText(std::string_view text, double width, const platform::PrintFont& font,
                      const platform::TextMeasure& measure);

} // namespace hvr::report
