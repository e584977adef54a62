#include "analysis/group_analysis.h"

#include <cstdio>

#include "records/group_csv.h"
#include "records/row_format.h"
#include "units/number_text.h"
#include "units/ratio.h"

namespace hvr::analysis {

GroupAnalysis analyseGroups(const RecordStore& store, int groups,
                            const std::optional<verdict::Nameplate>& given, verdict::AccuracyClass accuracy) {
    GroupAnalysis a;
    a.basis.accuracy = accuracy;
    std::vector<verdict::Reading> readings;
    std::vector<int> slots;
    for (int slot = 0; slot < groups && slot < kStoreSlots; ++slot) {
        if (store.rec_sec_code[static_cast<std::size_t>(slot)] == 0) continue;
        slots.push_back(slot);
        readings.push_back(groupReading(store, slot));
    }
    a.basis.nameplate = given ? given : verdict::guessNameplate(readings);
    a.rows.reserve(slots.size());
    std::vector<verdict::Judgement> judgements;
    judgements.reserve(slots.size());
    for (std::size_t i = 0; i < slots.size(); ++i) {
        GroupTexts t = groupTexts(store, slots[i]);
        // The table shows what the listing shows: a mark the instrument gave instead of a
        // current it disowned, and no ratio beside it.
        if (std::string mark = primaryMark(store, slots[i]); !mark.empty()) {
            t.primary = std::move(mark);
            t.ratio.clear();
        }
        GroupRow row{static_cast<int>(store.rec_group_no[static_cast<std::size_t>(slots[i])] + 0.5f),
                     std::move(t.primary),
                     std::move(t.secondary),
                     std::move(t.ratio),
                     readings[i],
                     {}};
        if (a.basis.nameplate) row.judgement = verdict::judge(readings[i], *a.basis.nameplate, accuracy);
        judgements.push_back(row.judgement);
        a.rows.push_back(std::move(row));
    }
    a.summary = verdict::summarize(judgements);
    if (a.summary.largestGroup > 0)
        a.largestNumber = a.rows[static_cast<std::size_t>(a.summary.largestGroup - 1)].number;
    return a;
}

std::string judgedGroupsCsv(const RecordStore& store, int groups, const Basis& basis) {
    if (!basis.nameplate) return groupsCsv(store, groups);
    const verdict::Columns columns{*basis.nameplate, basis.accuracy};
    return groupsCsv(store, groups, &columns);
}

verdict::Reading liveReading(const LiveShown& s) {
    return {s.primaryBase.value_or(0),
            s.secondaryBase.value_or(0),
            s.noSignal,
            s.secondaryOverload || s.primaryOverload,
            s.lowBattery,
            !s.primaryBase || !s.secondaryBase};
}

std::string measuredRatioText(const verdict::Reading& r) {
    if (r.noSignal || r.primary <= 0 || r.secondary <= 0) return {};
    return decimalText(ratioTenths(r.primary, r.secondary), 1);
}

std::string summaryCounts(const GroupAnalysis& a) {
    const verdict::Summary& s = a.summary;
    const int excluded = static_cast<int>(a.rows.size()) - s.judged;
    std::string text = "共 " + std::to_string(a.rows.size()) + " 组, 判定 " + std::to_string(s.judged) +
                       " 组: 合格 " + std::to_string(s.passed) + " 组, 不合格 " + std::to_string(s.failed) +
                       " 组";
    if (excluded > 0) text += ", 未判定 " + std::to_string(excluded) + " 组";
    return text;
}

std::string summaryStatistics(const GroupAnalysis& a) {
    const verdict::Summary& s = a.summary;
    if (!s.meanPercent) return {};
    // Every figure rounded once to 0.001 %: the extremes from their exact values, the mean and
    // the deviation from the exact errors in extended precision.
    return "平均 " + verdict::signedPercentText(*s.meanPercent) + "  标准差 " +
           verdict::percentText(*s.deviationPercent) + "  最小 " + verdict::signedPercentText(*s.min) +
           "  最大 " + verdict::signedPercentText(*s.max) + "  最大|误差| " +
           verdict::exactText(*s.largest, 3) + "% (第 " + std::to_string(a.largestNumber) + " 组)";
}

} // namespace hvr::analysis
