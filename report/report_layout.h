#pragma once

#include <string>

#include "analysis/group_analysis.h"
#include "platform/documents.h"

// The test report of a CT's ratio: one A4 portrait document, laid out to the last mark, that a
// PDF writer or a printer only has to draw.
namespace hvr::report {

// What the report says about the test beside the readings.
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

// The title, the particulars, nameplate and class, the summary and overall verdict, the error
// plot, then the table of every group (its header on every page) and the signature lines;
// "第 n 页 共 m 页" at the foot of each page.
platform::Document layoutReport(const ReportInput& input);

// How many table rows the first page and each following page hold.
inline constexpr int kFirstPageRows = 15;
inline constexpr int kPageRows = 47;

} // namespace hvr::report
