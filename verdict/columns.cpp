#include "verdict/columns.h"

namespace hvr::verdict {

namespace {

struct Cells {
    std::string rated, error, load, limit, verdict;
};

Cells cellsOf(const Columns& columns, const Reading& reading) {
    const Judgement j = judge(reading, columns.nameplate, columns.accuracy);
    // The numbers as the window and the report show them.
    return {nameplateText(columns.nameplate), j.errorNumber(), j.loadNumber(), j.limitNumberText(),
            j.verdictWithReason()};
}

std::string jsonNumber(const std::string& number) {
    return number.empty() ? "null" : number;
}

} // namespace

std::string csvHeaderCells() {
    return ",额定变比,变比误差(%),负荷(%),允许误差(%),结论";
}

std::string csvCells(const Columns& columns, const Reading& reading) {
    const Cells c = cellsOf(columns, reading);
    return "," + c.rated + "," + c.error + "," + c.load + "," + c.limit + "," + c.verdict;
}

std::string csvEmptyCells() {
    return ",,,,,";
}

std::string jsonEmptyMembers() {
    return ",\"rated_ratio\":null,\"ratio_error_pct\":null,\"load_pct\":null,\"limit_pct\":null,\"verdict\":"
           "null";
}

std::string jsonMembers(const Columns& columns, const Reading& reading) {
    const Cells c = cellsOf(columns, reading);
    return ",\"rated_ratio\":\"" + c.rated + "\",\"ratio_error_pct\":" + jsonNumber(c.error) +
           ",\"load_pct\":" + jsonNumber(c.load) + ",\"limit_pct\":" + jsonNumber(c.limit) +
           ",\"verdict\":\"" + c.verdict + "\"";
}

} // namespace hvr::verdict
