#pragma once

#include <optional>
#include <string>
#include <vector>

#include "link/live_decode.h"
#include "records/record_store.h"
#include "verdict/verdict.h"

// The stored groups and the live reading judged against a nameplate and class: what the
// analysis window, its table and plot, the test report and the command line show.
namespace hvr::analysis {

// One stored group, judged: its texts as the CSV has them and its verdict.
struct GroupRow {
    int number = 0;      // the group's number in the instrument
    std::string primary; // amperes, every digit the instrument sent; empty for an unknown range
    std::string secondary;
    std::string ratio;
    verdict::Reading reading;
    verdict::Judgement judgement;
};

// The nameplate judged against, as given or guessed (marked so), and the class.
struct Basis {
    std::optional<verdict::Nameplate> nameplate; // none: nothing to guess from either
    verdict::AccuracyClass accuracy = verdict::AccuracyClass::None;
};

struct GroupAnalysis {
    Basis basis;
    std::vector<GroupRow> rows; // in store order
    verdict::Summary summary;
    int largestNumber = 0; // the group number of the largest |error|
};

// The first `groups` slots of the store (the slots that hold a group), judged against the
// nameplate given, or else the one guessed from the groups.
GroupAnalysis analyseGroups(const RecordStore& store, int groups,
                            const std::optional<verdict::Nameplate>& given, verdict::AccuracyClass accuracy);

// The group CSV of the store with the verdict columns of the basis (none without a nameplate).
std::string judgedGroupsCsv(const RecordStore& store, int groups, const Basis& basis);

// The reading last shown live, as the verdict judges it.
verdict::Reading liveReading(const LiveShown& shown);
// The measured ratio of a reading to one decimal ("120.5"); empty without both currents.
std::string measuredRatioText(const verdict::Reading& reading);

// The summary as two lines of text: the counts, then the error's statistics.
// "判定 120 组: 合格 118 组, 不合格 2 组"
// "平均 -0.210%  标准差 0.050%  最小 -0.520%  最大 +0.100%  最大|误差| 0.520% (第 43 组)"
std::string summaryCounts(const GroupAnalysis& analysis);
std::string summaryStatistics(const GroupAnalysis& analysis);

} // namespace hvr::analysis
