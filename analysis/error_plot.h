#pragma once

#include "analysis/group_analysis.h"
#include "platform/canvas.h"

namespace hvr::analysis {

// The limits' blue, 0x00BBGGRR: a blue that stays blue on paper.
inline constexpr std::uint32_t kLimitBlue = 0xFF6420;

// The error curve CT engineers read at a glance: the ratio error (%) of each group against its
// load (% of rated current), a cross per group, green within its limit, red beyond it and grey
// where there is no verdict; the class's limits drawn as lines above and below zero. Drawn in
// twips into a box of the given size, on white.
void drawErrorPlot(platform::Canvas& canvas, double width, double height, const GroupAnalysis& analysis);

// A step for axis ticks: 1, 2, 2.5 or 5 times a power of ten, the least that divides `span`
// into at most `ticks` parts.
double tickStep(double span, int ticks);

} // namespace hvr::analysis
