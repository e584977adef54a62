#pragma once

#include <string>

#include "main_window/form1.h"

namespace hvr::cli {

// One JSON object on one line: the captions of the live panel and the statistics, by control
// name, exactly as shown.
std::string jsonLine(Form1& form);

// The CSV header, and one row of the reading last shown (values without blanks around them).
std::string csvHeader();
std::string csvRow(const Form1& form, const std::string& time);

// A text as a JSON string, quotes included.
std::string jsonString(const std::string& text);

} // namespace hvr::cli
