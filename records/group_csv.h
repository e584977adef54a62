#pragma once

#include <string>

#include "records/record_store.h"

namespace hvr {

// The stored groups as data a spreadsheet opens: a header row in Chinese, then one row per
// group in store order: group number, primary and secondary current in amperes (plain numbers,
// every digit of the reading), the ratio as a number (empty where the row text shows none),
// the primary frequency in Hz, and the no-signal, over-range and low-battery flags as 0 or 1.
// UTF-8 with a byte-order mark, CR LF line ends.
std::string groupsCsv(const RecordStore& store, int groups);

} // namespace hvr
