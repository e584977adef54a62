#include "verdict/verdict.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "units/number_text.h"

namespace hvr::verdict {

namespace {

Wide power10(int n) {
    Wide p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

// n / d rounded half to even (or down, or up), d > 0.
Wide roundedWide(Wide n, Wide d, Rounding rounding = Rounding::HalfEven) {
    const bool negative = n < 0;
    const Wide a = negative ? -n : n;
    Wide q = a / d;
    const Wide r = a % d;
    const Wide r2 = r * 2;
    switch (rounding) {
    case Rounding::HalfEven:
        if (r2 > d || (r2 == d && q % 2 == 1)) ++q;
        break;
    case Rounding::Down: // toward −∞
        if (negative && r != 0) ++q;
        break;
    case Rounding::Up: // toward +∞
        if (!negative && r != 0) ++q;
        break;
    }
    return negative ? -q : q;
}
std::int64_t roundedQuotient(Wide n, Wide d) {
    return static_cast<std::int64_t>(roundedWide(n, d));
}

std::string wideText(Wide v) {
    if (v == 0) return "0";
    std::string digits;
    for (Wide a = v < 0 ? -v : v; a > 0; a /= 10)
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(a % 10)));
    return digits;
}

constexpr std::int64_t kMicro = 100000; // hundred-thousandths of a percent in one percent

// The limit of each class at its listed loads (% of rated current), in hundred-thousandths of a
// percent.
using Point = LimitPoint;
std::vector<Point> limitsOf(AccuracyClass accuracy) {
    const auto pct = [](double p) { return static_cast<std::int64_t>(std::llround(p * kMicro)); };
    switch (accuracy) {
    case AccuracyClass::C0_1:
        return {{5, pct(0.4)}, {20, pct(0.2)}, {100, pct(0.1)}, {120, pct(0.1)}};
    case AccuracyClass::C0_2:
        return {{5, pct(0.75)}, {20, pct(0.35)}, {100, pct(0.2)}, {120, pct(0.2)}};
    case AccuracyClass::C0_5:
        return {{5, pct(1.5)}, {20, pct(0.75)}, {100, pct(0.5)}, {120, pct(0.5)}};
    case AccuracyClass::C1:
        return {{5, pct(3.0)}, {20, pct(1.5)}, {100, pct(1.0)}, {120, pct(1.0)}};
    case AccuracyClass::C0_2S:
        return {{1, pct(0.75)}, {5, pct(0.35)}, {20, pct(0.2)}, {100, pct(0.2)}, {120, pct(0.2)}};
    case AccuracyClass::C0_5S:
        return {{1, pct(1.5)}, {5, pct(0.75)}, {20, pct(0.5)}, {100, pct(0.5)}, {120, pct(0.5)}};
    case AccuracyClass::C3:
        return {{50, pct(3)}, {120, pct(3)}};
    case AccuracyClass::C5:
        return {{50, pct(5)}, {120, pct(5)}};
    case AccuracyClass::None:
        break;
    }
    return {};
}

constexpr std::array<std::pair<AccuracyClass, std::string_view>, 9> kClassNames{{
    {AccuracyClass::C0_1, "0.1"},
    {AccuracyClass::C0_2, "0.2"},
    {AccuracyClass::C0_2S, "0.2S"},
    {AccuracyClass::C0_5, "0.5"},
    {AccuracyClass::C0_5S, "0.5S"},
    {AccuracyClass::C1, "1"},
    {AccuracyClass::C3, "3"},
    {AccuracyClass::C5, "5"},
    {AccuracyClass::None, "不判定"},
}};

double toDouble(const Decimal& d) {
    return static_cast<double>(d.mantissa) * std::pow(10.0, d.exponent);
}

} // namespace

std::optional<Decimal> parsePositive(std::string_view text) {
    Decimal d;
    bool digits = false, point = false;
    for (char c : text) {
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            if (d.mantissa > 100000000000000) return std::nullopt; // more digits than a nameplate has
            d.mantissa = d.mantissa * 10 + (c - '0');
            if (point) --d.exponent;
            digits = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits || d.mantissa == 0) return std::nullopt;
    while (d.mantissa % 10 == 0) {
        d.mantissa /= 10;
        ++d.exponent;
    }
    return d;
}

std::string decimalString(const Decimal& d) {
    if (d.exponent >= 0)
        return decimalText(d.mantissa) + std::string(static_cast<std::size_t>(d.exponent), '0');
    return decimalText(d.mantissa, -d.exponent);
}

bool ratedCurrentsExist(const Nameplate& n) {
    const bool secondary = n.secondary == Decimal{1, 0} || n.secondary == Decimal{2, 0} || n.secondary == Decimal{5, 0};
    // 1 A ≤ primary ≤ 100 kA, compared in whole numbers: mantissa × 10^exponent.
    const Decimal& p = n.primary;
    const Wide scaled = p.exponent >= 0 ? p.mantissa * power10(p.exponent) : p.mantissa;
    const Wide unit = p.exponent >= 0 ? 1 : power10(-p.exponent);
    return secondary && scaled >= unit && scaled <= kMaxRatedPrimary * unit;
}

std::optional<Nameplate> parseNameplate(std::string_view text) {
    const auto slash = text.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const auto primary = parsePositive(text.substr(0, slash));
    const auto secondary = parsePositive(text.substr(slash + 1));
    if (!primary || !secondary) return std::nullopt;
    const Nameplate n{*primary, *secondary, false};
    if (!ratedCurrentsExist(n)) return std::nullopt; // before any arithmetic is done with it
    return n;
}

std::string nameplateText(const Nameplate& n) {
    const std::string ratio = decimalString(n.primary) + "/" + decimalString(n.secondary);
    return n.guessed ? "推测额定变比 " + ratio : ratio;
}

std::optional<AccuracyClass> parseClass(std::string_view text) {
    for (const auto& [accuracy, name] : kClassNames)
        if (text == name) return accuracy;
    return std::nullopt;
}

std::string classText(AccuracyClass accuracy) {
    for (const auto& [candidate, name] : kClassNames)
        if (candidate == accuracy) return std::string(name);
    return {};
}

std::vector<std::string> classTexts() {
    std::vector<std::string> texts;
    for (const auto& entry : kClassNames)
        texts.emplace_back(entry.second);
    return texts;
}

std::vector<LimitPoint> limitPoints(AccuracyClass accuracy) {
    return limitsOf(accuracy);
}

std::string exactText(const Exact& value, int decimals, Rounding rounding) {
    const Wide units = roundedWide(value.num * power10(decimals), value.den, rounding);
    const Wide magnitude = units < 0 ? -units : units;
    const Wide scale = power10(decimals);
    std::string text = wideText(magnitude / scale);
    if (decimals > 0) {
        const std::string fraction = wideText(magnitude % scale);
        text += "." + std::string(static_cast<std::size_t>(decimals) - fraction.size(), '0') + fraction;
    }
    return units < 0 ? "-" + text : text;
}

long double approximately(const Exact& value) {
    return static_cast<long double>(value.num) / static_cast<long double>(value.den);
}

std::string Judgement::verdictText() const {
    return outcome == Outcome::Pass ? "合格" : outcome == Outcome::Fail ? "不合格" : "—";
}

std::string Judgement::verdictWithReason() const {
    return outcome == Outcome::None && !reason.empty() ? verdictText() + "(" + reason + ")" : verdictText();
}

std::string signedPercentText(const Exact& percent) {
    const std::string text = exactText(percent, 3);
    return (text.front() != '-' && text != "0.000" ? "+" : "") + text + "%";
}

std::string percentText(long double percent) {
    std::string text = fixedText(static_cast<double>(percent), 3);
    if (text == "-0.000") text = "0.000";
    return text + "%";
}

std::string signedPercentText(long double percent) {
    const std::string text = percentText(percent);
    return (text.front() != '-' && text != "0.000%" ? "+" : "") + text;
}

std::string overallText(Outcome overall) {
    return overall == Outcome::Pass ? "合格" : overall == Outcome::Fail ? "不合格" : "未判定";
}

std::string Judgement::errorText() const {
    return error ? signedPercentText(*error) : std::string();
}

std::string Judgement::errorNumber() const {
    return error ? exactText(*error, 3) : std::string();
}

std::string Judgement::loadNumber() const {
    if (!load) return {};
    return loadRounding == Rounding::HalfEven ? exactText(*load, 1) : exactText(*load, 3, loadRounding);
}

std::string Judgement::loadText() const {
    return load ? loadNumber() + "%" : std::string();
}

std::string Judgement::limitNumberText() const {
    return limit ? exactText(*limit, 3) : std::string();
}

std::string Judgement::limitText() const {
    return limit ? "±" + limitNumberText() + "%" : std::string();
}

Judgement judge(const Reading& r, const Nameplate& n, AccuracyClass accuracy) {
    Judgement j;
    if (r.noSignal) {
        j.reason = "无信号";
        return j;
    }
    if (r.invalidRange) {
        j.reason = "量程代码无效";
        return j;
    }
    // A reading the instrument flagged is not judged, though its error is shown where it can be.
    const char* flagged = r.overRange ? "超量程" : r.lowBattery ? "电池电压低" : nullptr;
    if (r.primary <= 0 || r.secondary <= 0) {
        j.reason = flagged != nullptr ? flagged : "电流为零";
        return j;
    }
    // ε = (Kn·Is − Ip) / Ip with Kn = Ipn / Isn, the powers of ten brought to whole numbers.
    const int d = n.primary.exponent - n.secondary.exponent;
    const Wide pM = n.primary.mantissa, sM = n.secondary.mantissa, ip = r.primary, is = r.secondary;
    const Wide num = d >= 0 ? pM * power10(d) * is - sM * ip : pM * is - sM * power10(-d) * ip;
    const Wide den = d >= 0 ? sM * ip : sM * power10(-d) * ip;
    j.errorMicro = roundedQuotient(num * 100 * kMicro, den);
    j.error = Exact{num * 100, den};
    // Load = Ip / Ipn × 100 %, Ip in base units of 10^-5 A.
    const int e = -3 - n.primary.exponent;
    const Wide loadNum = e >= 0 ? ip * power10(e) : ip;
    const Wide loadDen = e >= 0 ? pM : pM * power10(-e);
    j.loadMicro = roundedQuotient(loadNum * kMicro, loadDen);
    j.load = Exact{loadNum, loadDen};

    if (flagged != nullptr) {
        j.reason = flagged;
        return j;
    }
    if (accuracy == AccuracyClass::None) {
        j.reason = "不判定";
        return j;
    }
    const std::vector<Point> points = limitsOf(accuracy);
    // A load that would show as one of the table's loads without being it shows the digit that
    // decides.
    for (const Point& p : points)
        if (roundedWide(loadNum * 10, loadDen) == Wide{p.load} * 10 && loadNum != Wide{p.load} * loadDen)
            j.loadRounding = loadNum < Wide{p.load} * loadDen ? Rounding::Down : Rounding::Up;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const Point a = points[i], b = points[i + 1];
        // a.load ≤ L ≤ b.load, with L = loadNum / loadDen.
        if (loadNum < a.load * loadDen || loadNum > b.load * loadDen) continue;
        // The limit, interpolated linearly in the load: limitNum / limitDen.
        const Wide span = b.load - a.load;
        const Wide limitNum =
            a.limitMicro * loadDen * span + (b.limitMicro - a.limitMicro) * (loadNum - a.load * loadDen);
        const Wide limitDen = loadDen * span;
        j.limitMicro = roundedQuotient(limitNum, limitDen);
        j.limit = Exact{limitNum, limitDen * kMicro};
        // |ε| ≤ limit, exactly: |num| / den × 10^7 ≤ limitNum / limitDen.
        const Wide absNum = num < 0 ? -num : num;
        j.outcome = absNum * 100 * kMicro * limitDen <= limitNum * den ? Outcome::Pass : Outcome::Fail;
        return j;
    }
    j.reason = "超出准确级范围";
    return j;
}

std::optional<Nameplate> guessNameplate(const std::vector<Reading>& readings) {
    std::vector<double> ratios;
    for (const Reading& r : readings)
        if (!r.noSignal && !r.overRange && r.primary > 0 && r.secondary > 0)
            ratios.push_back(static_cast<double>(r.primary) / static_cast<double>(r.secondary));
    if (ratios.empty()) return std::nullopt;
    std::sort(ratios.begin(), ratios.end());
    const std::size_t m = ratios.size() / 2;
    const double median = ratios.size() % 2 == 1 ? ratios[m] : (ratios[m - 1] + ratios[m]) / 2;

    constexpr std::array<Decimal, 10> kBase{
        {{10, 0}, {125, -1}, {15, 0}, {20, 0}, {25, 0}, {30, 0}, {40, 0}, {50, 0}, {60, 0}, {75, 0}}};
    std::optional<Nameplate> best;
    double bestDistance = 0;
    for (int secondary : {5, 1}) // 5 A first: it wins a tie
        for (int decade = 0; decade <= 4; ++decade)
            for (Decimal primary : kBase) {
                primary.exponent += decade;
                const Nameplate candidate{primary, {secondary, 0}, true};
                if (!ratedCurrentsExist(candidate)) continue;
                const double distance = std::abs(std::log(median / (toDouble(primary) / secondary)));
                if (!best || distance < bestDistance - 1e-12) {
                    best = candidate;
                    bestDistance = distance;
                }
            }
    return best;
}

Summary summarize(const std::vector<Judgement>& judgements) {
    Summary s;
    long double sum = 0, squares = 0;
    const auto less = [](const Exact& a, const Exact& b) { return a.num * b.den < b.num * a.den; };
    for (std::size_t i = 0; i < judgements.size(); ++i) {
        const Judgement& j = judgements[i];
        if (j.outcome == Outcome::None || !j.error) continue;
        ++s.judged;
        (j.outcome == Outcome::Pass ? s.passed : s.failed)++;
        const Exact& e = *j.error;
        const long double percent = approximately(e);
        sum += percent;
        squares += percent * percent;
        if (!s.min || less(e, *s.min)) s.min = e;
        if (!s.max || less(*s.max, e)) s.max = e;
        const Exact magnitude{e.num < 0 ? -e.num : e.num, e.den};
        if (!s.largest || less(*s.largest, magnitude)) {
            s.largest = magnitude;
            s.largestGroup = static_cast<int>(i) + 1;
        }
    }
    if (s.judged > 0) {
        const long double mean = sum / s.judged;
        s.meanPercent = mean;
        s.deviationPercent = std::sqrt(std::max(0.0L, squares / s.judged - mean * mean));
        s.overall = s.failed == 0 ? Outcome::Pass : Outcome::Fail;
    }
    return s;
}

} // namespace hvr::verdict
