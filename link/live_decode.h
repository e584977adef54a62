#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "units/range_code.h"
#include "units/ratio.h"

namespace hvr {

inline constexpr int kCurveNewest = 400; // index of the newest point in the live histories

// The overload marker of the statistics. The secondary minimum starts there, so every real
// reading becomes the minimum and an overload never does.
inline constexpr std::int64_t kStatisticsOverload = 4000000;

// A statistic as last shown: nothing yet, a value in base units, or an overload ("OL").
struct ShownStatistic {
    enum class Kind { Unset, Value, Overload };
    Kind kind = Kind::Unset;
    std::int64_t base = 0;

    static ShownStatistic value(std::int64_t base) { return {Kind::Value, base}; }
    static ShownStatistic overload() { return {Kind::Overload, 0}; }
    bool operator==(const ShownStatistic&) const = default;
};

// Live readings: the latest frame's flags, the curve histories and the running statistics of
// both currents since they were last reset. All currents in base units (0.01 mA).
struct LiveStatistics {
    std::uint8_t low_batt = 0;
    std::string last_status;
    // The link was lost after readings were shown: until the next one, what is shown is old.
    bool live_stale = false;
    // How many live readings have been shown since the program began.
    std::uint64_t live_shown_count = 0;

    std::array<double, 621> sec_curve{};
    std::array<std::int32_t, 801> sec_curve_color{};
    std::array<std::int64_t, 621> pri_history{};
    std::array<std::string, 651> status_history;

    std::int64_t sec_max = 0;
    std::int64_t sec_min = kStatisticsOverload;
    // Sum and count of every secondary reading taken into the average.
    std::int64_t sec_sum1 = 0;
    std::int64_t sec_n1 = 0;
    ShownStatistic sec_max_shown;
    ShownStatistic sec_min_shown;
    ShownStatistic sec_avg_shown;

    std::int64_t pri_max = 0;
    std::int64_t pri_min = 999999999;
    std::int64_t pri_avg = 0;
    // Sum and count of every primary reading with signal taken into the average.
    std::int64_t pri_sum = 0;
    std::int64_t pri_n = 0;
};

// Shift-register push: the value enters at index 400, older values move one index down and
// index 0 drops out. Indexes above 400 are never touched.
template <typename T, std::size_t N, typename V> void pushHistory(std::array<T, N>& history, const V& value) {
    static_assert(N > kCurveNewest);
    for (int i = 0; i < kCurveNewest; ++i)
        history[i] = std::move(history[i + 1]);
    history[kCurveNewest] = value;
}

// The shown text and unit of a raw reading by its range code; empty for a code outside the
// channel's table. Zero shows all its decimals ("0.00"); the full-scale overload of each
// channel shows its "OL" text without unit.
struct ReadingText {
    std::string text;
    std::string unit;
    bool operator==(const ReadingText&) const = default;
};
ReadingText readingText(std::uint16_t raw, std::uint8_t code, Channel channel);

// What the live panel shows of one reading, field by field.
struct LiveShown {
    bool noSignal = false;
    bool lowBattery = false;
    ReadingText primary; // empty while the primary has no signal
    ReadingText secondary;
    RatioTexts ratios; // as shown: "0" for an empty referred value, empty without signal
    int primaryHz = 0;
    int secondaryHz = 0;
    // The same reading as numbers, in base units (0.01 mA), whatever the flags: none only for
    // a current without a known range.
    std::optional<std::int64_t> primaryBase;
    std::optional<std::int64_t> secondaryBase;
    bool secondaryOverload = false;
    bool primaryOverload = false; // shown as "O L"
};

// A current in base units as the statistics show it: milliamperes below 1 A, amperes cut to
// 0.01 A from there ("12.34mA", "5.01A").
std::string statisticText(std::int64_t base);

// The caption of a secondary statistic as last shown: prefix and value, or its "OL" caption.
std::string secondaryStatisticCaption(std::string_view prefix, std::string_view overloadCaption,
                                      const ShownStatistic& shown);

} // namespace hvr
