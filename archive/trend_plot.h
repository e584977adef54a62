#pragma once

#include <vector>

#include "archive/archive.h"
#include "platform/canvas.h"

namespace hvr::archive {

// A CT over the years: for each of its tests in date order, the mean ratio error as a cross and
// its range (least to greatest) as a bar, so that a drift is seen at once. Twips, on white.
void drawTrend(platform::Canvas& canvas, double width, double height, std::vector<TestSummary> tests);

} // namespace hvr::archive
