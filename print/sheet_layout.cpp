// The printed sheet: 156 groups, two to a line, under a title and a column header.
#include "print/sheet_layout.h"

#include <algorithm>

namespace hvr {

namespace {

constexpr const char* kTitle = "变比记录仪                     "; // the title and 21 blanks
constexpr const char* kHeader =
    "   组数   一次电流      二次电流            变比          组数   一次电流      "
    "二次电流              变比";
constexpr double kRightHalf = 6200;

platform::PrintFont song(double points) {
    return {"宋体", points, true}; // bold from the title on, for the whole sheet
}

} // namespace

int sheetCount(int groups) {
    return groups / kGroupsPerSheet + (groups % kGroupsPerSheet == 0 ? 0 : 1);
}

std::vector<PrintedLine> layoutSheet(std::int64_t sheet,
                                     const std::function<std::string(std::int64_t slot)>& rowText,
                                     const std::function<double(const platform::PrintFont&)>& lineHeight) {
    std::vector<PrintedLine> lines;
    lines.reserve(2 * kLinesPerSheet + 6);
    double y = 0;
    const auto print = [&](const platform::PrintFont& font, double x, std::string text) {
        lines.push_back({font, x, y, std::move(text)});
        y += lineHeight(font);
    };
    print(song(20), 0, kTitle);
    print(song(10), 0, "  ");
    print(song(10), 0, kHeader);
    const platform::PrintFont rows = song(9.5);
    for (int n = 0; n < kLinesPerSheet; ++n) {
        const std::int64_t left = sheet * kGroupsPerSheet + n;
        print(rows, 0, rowText(left) + "  ");
        // The right half stands on the left half's line.
        y -= lineHeight(rows);
        print(rows, kRightHalf, rowText(left + kLinesPerSheet));
    }
    print(song(7), 0, "     ");
    print(song(7), 0, "     ");
    return lines;
}

double sheetBottom(const std::vector<PrintedLine>& lines,
                   const std::function<double(const platform::PrintFont&)>& lineHeight) {
    double bottom = 0;
    for (const PrintedLine& line : lines)
        bottom = std::max(bottom, line.y + lineHeight(line.font));
    return bottom;
}

} // namespace hvr
