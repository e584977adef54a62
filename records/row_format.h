#pragma once

#include <cstdint>
#include <string>

#include "records/record_store.h"

namespace hvr {

// The text of one slot as the history view, the listing and the printed sheet show it: group
// number, primary and secondary current with their units, and the ratio, aligned with blanks
// for a fixed-pitch font. An empty slot, or one beyond the store, is four blanks.
// What the listing shows in place of a group's primary current, and then no ratio: "无信号"
// without primary signal, "OL" when the secondary is overloaded; empty for a value.
std::string primaryMark(const RecordStore& store, int slot);

std::string formatRow(const RecordStore& store, int slot);

// A stored reading as the row shows it: "1", "A" with exactly one decimal, "2", "B" with
// exactly two, "3", "C" in shortest form; empty for an unknown code.
struct RowValue {
    std::string text;
    std::string unit;
};
RowValue rowValue(std::int64_t raw, std::uint8_t code);

// Key of a stored reading for sorting and the curve: raw times its range factor, in base
// units; 0 for a code without a factor.
std::int64_t secondaryKey(std::int64_t raw, std::uint8_t code);

} // namespace hvr
