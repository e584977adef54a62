#pragma once

#include <cstddef>
#include <string>

#include "analysis/group_analysis.h"
#include "platform/documents.h"

// The test report of a CT's ratio: a document laid out to the last mark for a paper (A4 unless
// a printer's is given), that a PDF writer or a printer only has to draw.
namespace hvr::report {

// What the report says about the test beside the readings.
// The most characters a particular may have: what its column of the report holds in a few
// lines, and what the analysis window's boxes take.
inline constexpr std::size_t kParticularCharacters = 40;

struct Particulars {
    std::string station; // 变电站
    std::string device;  // 设备名称/编号
    std::string phase;   // 相别: A, B, C or N
    std::string tester;  // 试验人员
    std::string remark;  // 备注
};

struct ReportInput {
    Particulars particulars;
    const analysis::GroupAnalysis& analysis;
    std::string downloadedAt; // when the groups were read from the instrument; empty: unknown
    std::string version;      // the program's
};

// The title, the particulars (each wrapped in its column), nameplate and class, the summary and
// overall verdict, the error plot, then the table of every group (its header on every page it
// runs on) and the signature lines under the last row; "第 n 页 共 m 页" at the foot of each
// page. Texts are measured as they will be drawn. Paper smaller than A4's width gets the report
// laid out larger, in its proportions, for the painter to scale down.
platform::Document layoutReport(const ReportInput& input, const platform::TextMeasure& measure,
                                const platform::Paper& paper = {});

} // namespace hvr::report
