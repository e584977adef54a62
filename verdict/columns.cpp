#include "verdict/columns.h"

namespace hvr::verdict {

namespace {

// A percentage as a plain number to the decimals it is shown with ("-0.40", "84.4"); a limit
// to its last significant one ("0.625", "0.5").
std::string plainPercent(std::int64_t micro, int decimals, bool trim = false) {
    std::string text = percentText(micro, decimals);
    while (trim && text.back() == '0')
        text.pop_back();
    if (trim && text.back() == '.') text.pop_back();
    return text.find_first_not_of("-0.") == std::string::npos ? text.substr(text[0] == '-' ? 1 : 0) : text;
}

struct Cells {
    std::string rated, error, load, limit, verdict;
};

Cells cellsOf(const Columns& columns, const Reading& reading) {
    const Judgement j = judge(reading, columns.nameplate, columns.accuracy);
    return {nameplateText(columns.nameplate), j.errorMicro ? plainPercent(*j.errorMicro, 2) : "",
            j.loadMicro ? plainPercent(*j.loadMicro, 1) : "",
            j.limitMicro ? plainPercent(*j.limitMicro, 3, true) : "",
            j.outcome == Outcome::None ? j.verdictText() + "(" + j.reason + ")" : j.verdictText()};
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
