#pragma once

#include <string>

#include "verdict/verdict.h"

// The verdict of each reading or group as columns of the data the programs write.
namespace hvr::verdict {

struct Columns {
    Nameplate nameplate;
    AccuracyClass accuracy = AccuracyClass::None;
};

// ",额定变比,变比误差(%),负荷(%),允许误差(%),结论": appended to a CSV header.
std::string csvHeaderCells();
// The same cells for one reading: the nameplate (marked when guessed), the error, load and
// limit as plain numbers (empty where there is none), and "合格", "不合格" or "—(reason)".
std::string csvCells(const Columns& columns, const Reading& reading);
// Empty cells, for a row before any nameplate is known.
std::string csvEmptyCells();
// The same as JSON members, to append inside an object: ,"rated_ratio":"600/5",
// "ratio_error_pct":-0.4,"load_pct":100,"limit_pct":0.5,"verdict":"合格" (null where none).
std::string jsonMembers(const Columns& columns, const Reading& reading);
std::string jsonEmptyMembers();

} // namespace hvr::verdict
