#pragma once

#include <string>

#include <optional>

#include "main_window/form1.h"
#include "analysis/group_analysis.h"
#include "verdict/columns.h"

namespace hvr::cli {

// One JSON object on one line: the captions of the live panel and the statistics, by control
// name, exactly as shown; then the time and the reading as numbers (currents in amperes, null
// where none is shown) and its flags.
// With verdict columns, the verdict of the reading against them follows (empty without a
// nameplate yet).
std::string jsonLine(Form1& form, const std::string& time,
                     const std::optional<verdict::Columns>& columns = {}, bool withVerdict = false);

// The CSV header (after a UTF-8 byte-order mark), and one row of the reading last shown: the
// time, both currents in amperes, ratio, referred values and frequencies as plain numbers, and
// the no-signal, over-range and low-battery flags as 0 or 1.
std::string csvHeader(bool withVerdict = false);
std::string csvRow(const Form1& form, const std::string& time,
                   const std::optional<verdict::Columns>& columns = {}, bool withVerdict = false);

// A text as a JSON string, quotes included.
std::string jsonString(const std::string& text);

} // namespace hvr::cli
