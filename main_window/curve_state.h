#pragma once

#include <array>
#include <cstdint>

#include "records/record_store.h"

namespace hvr {

// Which curve the chart shows and how.
struct CurveState {
    static constexpr std::uint8_t kLiveCurve = 0;
    static constexpr std::uint8_t kHistoryCurve = 100;

    std::uint8_t curve_mode = kLiveCurve;
    double curve_scale = 3000; // mA per vertical division
    double plot_first = 0;
    double plot_last = 0;
    std::array<double, kStoreSlots> plot_sec{};
    std::array<double, kStoreSlots> plot_pri{};
    std::int16_t drag_x = 0;
    std::int16_t drag_y = 0;
};

} // namespace hvr
