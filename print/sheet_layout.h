#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/printer.h"

namespace hvr {

inline constexpr int kGroupsPerSheet = 156;
inline constexpr int kLinesPerSheet = 78;

// One printed line of a sheet: its font, where it stands (twips from the printable area's
// top-left corner) and its text.
struct PrintedLine {
    platform::PrintFont font;
    double x = 0;
    double y = 0;
    std::string text;
    bool operator==(const PrintedLine&) const = default;
};

// The lines of sheet s: the title, a blank line and the column header, then 78 lines carrying
// slot 156s + n on the left and 156s + 78 + n on the right, on the same line, then two short
// closing lines. Each line moves down by the pitch of its font.
std::vector<PrintedLine> layoutSheet(std::int64_t sheet,
                                     const std::function<std::string(std::int64_t slot)>& rowText,
                                     const std::function<double(const platform::PrintFont&)>& lineHeight);

// Where the sheet ends at the bottom and at the right, in twips, for fitting it to the page.
double sheetBottom(const std::vector<PrintedLine>& lines,
                   const std::function<double(const platform::PrintFont&)>& lineHeight);

// The number of sheets that hold groups: groups / 156 rounded up. A sheet with no group on it
// is never printed.
int sheetCount(int groups);

} // namespace hvr
