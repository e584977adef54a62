#pragma once

#include <string>

#include "records/record_store.h"
#include "verdict/columns.h"

namespace hvr {

// The stored groups as data a spreadsheet opens: a header row in Chinese, then one row per
// group in store order: group number, primary and secondary current in amperes (plain numbers,
// every digit of the reading), the ratio as a number (empty where the row text shows none),
// the primary frequency in Hz, and the no-signal, over-range and low-battery flags as 0 or 1.
// UTF-8 with a byte-order mark, CR LF line ends. With columns, each row also carries its
// verdict against that nameplate and class.
std::string groupsCsv(const RecordStore& store, int groups, const verdict::Columns* columns = nullptr);

// A stored group's numbers as the CSV has them: group number, both currents in amperes (empty
// for an unknown range code) and the ratio (empty where there is none).
struct GroupTexts {
    std::string number, primary, secondary, ratio;
};
GroupTexts groupTexts(const RecordStore& store, int slot);

// A stored group as the verdict judges it: both currents in base units (0 for an unknown range
// code) and the flags of the listing.
verdict::Reading groupReading(const RecordStore& store, int slot);

} // namespace hvr
