#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Is a CT within its class: the nameplate, the ratio error of a reading against it, the
// limit of the accuracy class at the reading's load, and the verdict. Exact: currents are
// whole base units (0.01 mA), nameplate currents decimals as typed, every comparison in
// integers.
namespace hvr::verdict {

// A positive decimal as typed: mantissa × 10^exponent ("12.5" is 125 × 10^-1).
struct Decimal {
    std::int64_t mantissa = 0;
    int exponent = 0;
    bool operator==(const Decimal&) const = default;
};
// A decimal number above zero in plain digits ("600", "12.5"); none for anything else.
std::optional<Decimal> parsePositive(std::string_view text);
std::string decimalString(const Decimal& d);

// Rated primary and secondary current in A; the rated ratio Kn is their quotient.
struct Nameplate {
    Decimal primary;
    Decimal secondary;
    bool guessed = false; // inferred from the readings, not given
    bool operator==(const Nameplate&) const = default;
};
// "600/5", "12.5/1"; none for a zero, a negative, anything not a number, and a nameplate no CT
// has: rated secondaries are 1 A, 2 A and 5 A, rated primaries from 1 A to 100 kA.
std::optional<Nameplate> parseNameplate(std::string_view text);
inline constexpr std::int64_t kMaxRatedPrimary = 100000;
bool ratedCurrentsExist(const Nameplate& nameplate);
// "600/5", or "推测额定变比 600/5" for a guess.
std::string nameplateText(const Nameplate& nameplate);

enum class AccuracyClass { C0_1, C0_2, C0_2S, C0_5, C0_5S, C1, C3, C5, None };
// "0.1", "0.2", "0.2S", "0.5", "0.5S", "1", "3", "5" and "不判定"; none for anything else.
std::optional<AccuracyClass> parseClass(std::string_view text);
std::string classText(AccuracyClass accuracy);
// Every class in the order offered, "不判定" last.
std::vector<std::string> classTexts();

// A listed point of a class's limit: the load in % of rated current and the ± limit there, in
// hundred-thousandths of a percent. Between two points the limit is linear in the load.
struct LimitPoint {
    int load = 0;
    std::int64_t limitMicro = 0;
};
// The class's points from its lowest load to 120 %; none for "不判定".
std::vector<LimitPoint> limitPoints(AccuracyClass accuracy);

// One reading or group as judged: both currents in base units and what the instrument
// flagged about it.
struct Reading {
    std::int64_t primary = 0;
    std::int64_t secondary = 0;
    bool noSignal = false;
    bool overRange = false;
    bool lowBattery = false;
    // A current came with a range code the instrument does not define: it has no value.
    bool invalidRange = false;
    bool operator==(const Reading&) const = default;
};

// A figure exactly, as a quotient of whole numbers (den > 0): the ratio error, load and limit
// in percent, before anything is rounded.
__extension__ typedef __int128 Wide;
struct Exact {
    Wide num = 0;
    Wide den = 1;
    bool operator==(const Exact&) const = default;
};
// How an exact figure becomes a shown one: rounded once to the nearest, halves to the even
// neighbour; or down or up, for a load at the edge of a class's range.
enum class Rounding { HalfEven, Down, Up };
// The figure to `decimals` decimals, rounded once from the exact value; trailing zeros kept,
// never a negative zero ("0.175", "-0.365", "0.300").
std::string exactText(const Exact& value, int decimals, Rounding rounding = Rounding::HalfEven);
long double approximately(const Exact& value);

enum class Outcome { Pass, Fail, None };
struct Judgement {
    Outcome outcome = Outcome::None;
    std::string
        reason; // why there is no verdict: 无信号, 量程代码无效, 超量程, 电池电压低, 电流为零,
                // 超出准确级范围, 不判定
    // Ratio error and load, when the currents allow them; the limit, when the class has one
    // at this load. In hundred-thousandths of a percent, rounded half to even.
    // In hundred-thousandths of a percent, for sorting and drawing; what is shown is rounded
    // once from the exact figures.
    std::optional<std::int64_t> errorMicro;
    std::optional<std::int64_t> loadMicro;
    std::optional<std::int64_t> limitMicro;
    std::optional<Exact> error, load, limit;
    // The load is shown to 0.1 %, except where that would show a load of the class's table
    // (5 %, 20 %, …) that the exact load has not reached or has passed: then to 0.001 %,
    // rounded away from that load, so that the digit that decides is shown ("4.999").
    Rounding loadRounding = Rounding::HalfEven;

    std::string verdictText() const; // "合格", "不合格", "—"
    // The verdict, or "—(reason)" where there is none and a reason is known.
    std::string verdictWithReason() const;
    std::string errorText() const; // "+0.175%", "-0.400%", "0.000%"; empty without one
    std::string loadText() const;  // "100.0%", "4.999%"
    std::string limitText() const; // "±0.625%", "±0.300%"
    // The same figures without the unit and the ±, as the CSV and JSON columns carry them.
    std::string errorNumber() const;
    std::string loadNumber() const;
    std::string limitNumberText() const;
};

Judgement judge(const Reading& reading, const Nameplate& nameplate, AccuracyClass accuracy);

// The standard nameplate nearest in ratio to the median measured ratio of the readings that
// have both currents: rated primaries 10, 12.5, 15, 20, 25, 30, 40, 50, 60, 75 A times 1, 10,
// 100, 1000 or 10000, over 5 A (preferred on a tie) or 1 A. None without a usable reading.
std::optional<Nameplate> guessNameplate(const std::vector<Reading>& readings);

// Over a set of groups: how many were judged, passed and failed; the error's mean, standard
// deviation, least and greatest; the largest |error| and its group (1-based); and the overall
// verdict: pass only when at least one group is judged and none fails.
struct Summary {
    int judged = 0;
    int passed = 0;
    int failed = 0;
    // From the exact errors, in extended precision.
    std::optional<long double> meanPercent;
    std::optional<long double> deviationPercent;
    std::optional<Exact> min, max, largest; // exact, |ε| for the largest
    int largestGroup = 0;
    Outcome overall = Outcome::None;
};
Summary summarize(const std::vector<Judgement>& judgements);

// To 0.001 % with its sign and the unit ("+0.175%", "-0.400%", "0.000%"), rounded once.
std::string signedPercentText(const Exact& percent);
// A figure in percent known only approximately (a mean, a deviation), to 0.001 %: "+0.012%",
// or without the sign.
std::string signedPercentText(long double percent);
std::string percentText(long double percent);
// The overall verdict of a set of groups: "合格", "不合格", or "未判定" when none was judged.
std::string overallText(Outcome overall);

} // namespace hvr::verdict
