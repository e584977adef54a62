#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "link/live_decode.h"
#include "main_window/curve_state.h"
#include "platform/canvas.h"
#include "records/record_store.h"

namespace hvr {

// The chart's geometry in twips inside Picture1.
namespace chart {
inline constexpr double kPictureWidth = 11295;
inline constexpr double kPictureHeight = 5775;
inline constexpr double kPlotLeft = 540;    // the vertical axis
inline constexpr double kPlotWidth = 9000;  // the history curve spans 540…9540
inline constexpr double kBaseLine = 4780;   // where a value of 0 is drawn
inline constexpr double kPlotHeight = 4180; // full scale above the base line
inline constexpr int kDivisions = 7;
inline constexpr std::uint32_t kBackground = 0x404040;
inline constexpr std::uint32_t kAxis = 0xFFFFFF; // the caption-text colour of the standard scheme
inline constexpr std::uint32_t kSecondary = 0x00FF00;
inline constexpr std::uint32_t kPrimary = 0x0000FF;

// The scale ladder, mA per division, and one step along it (the ends stay).
inline constexpr std::array<double, 10> kLadder{1, 5, 19, 71, 243, 857, 3000, 8570, 30000, 150000};
double scaleUp(double scale);
double scaleDown(double scale);

// The scale is shown in amperes when its full scale exceeds 999 mA.
inline bool inAmperes(double scale) {
    return scale * kDivisions > 999;
}
// The scale label of division n (1…7), without its leading blank: "2.1" A or "497" mA.
std::string scaleLabel(int n, double scale);
// Where a value in base units is drawn, and the value drawn at a height.
double yOf(double base, double scale);
double valueAt(double y, double scale);
} // namespace chart

// What the chart is drawn from: the curve state, the live histories and the stored statuses.
struct ChartInputs {
    const CurveState& curve;
    const LiveStatistics& live;
    const RecordStore& store;
};

// The whole picture of Picture1 for the current state: the clear, axes, captions, ticks, grid,
// scale labels, then the live or the history curve. Segments are computed in double and
// clipped to the picture.
platform::Picture drawChart(const ChartInputs& inputs);

// How many primitives at the start of a chart's picture draw its frame (the clear, axes,
// captions, ticks, grid and labels), which changes only with the scale and the curve form.
std::size_t chartFrameLength(const platform::Picture& picture);

// Text of a history statistic: amperes truncated to 0.1 A, or milliamperes where the ampere
// form would be 0 ("50mA", "5.67mA", "0.5A").
std::string rangeStatisticText(std::int64_t base);

} // namespace hvr
