// Live decode: one reading frame into the captions of the live panel, the alarm states, the
// curve histories and the running statistics of both currents.
#include "link/live_decode.h"

#include "units/number_text.h"
#include "link/protocol.h"
#include "main_window/form1.h"
#include "texts/texts.h"

namespace hvr {

namespace {

constexpr std::int64_t kCurveOverload = 2370000; // where an overloaded secondary is drawn
constexpr std::int64_t kCurveCeiling = 2380000;  // secondary values from here on are not drawn
constexpr std::int64_t kMaxCeiling = 2370000;
constexpr std::int32_t kColorAlarm = 255;
constexpr std::int32_t kColorNormal = 65280;

std::string concat(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (auto p : parts)
        out.append(p);
    return out;
}

// Caption of a primary statistic; values of 100000000 and more leave the caption as it was.
void showPrimaryStatistic(Control& label, std::string_view prefix, std::int64_t value) {
    if (value < 100000000) label.setText(concat({prefix, statisticText(value)}));
}

// Caption of a secondary statistic, and the value it retains for redisplay: an overload
// reading shows "OL" once the statistic has reached amperes.
ShownStatistic showSecondaryStatistic(Control& label, std::string_view prefix,
                                      std::string_view overloadCaption, std::int64_t value,
                                      bool overloadReading) {
    const ShownStatistic shown =
        value >= 100000 && overloadReading ? ShownStatistic::overload() : ShownStatistic::value(value);
    label.setText(secondaryStatisticCaption(prefix, overloadCaption, shown));
    return shown;
}

} // namespace

std::string statisticText(std::int64_t base) {
    if (base < 100000) return decimalText(base, 2) + texts::kMilliamp;
    return decimalText(base / 1000, 2) + texts::kAmp;
}

std::string secondaryStatisticCaption(std::string_view prefix, std::string_view overloadCaption,
                                      const ShownStatistic& shown) {
    if (shown.kind == ShownStatistic::Kind::Overload) return std::string(overloadCaption);
    const std::int64_t value = shown.kind == ShownStatistic::Kind::Value ? shown.base : 0;
    return concat({prefix, statisticText(value)});
}

ReadingText readingText(std::uint16_t raw, std::uint8_t code, Channel channel) {
    const auto range = rangeOf(code, channel);
    if (!range) return {};
    if (isFullScale(raw, code, channel))
        return {channel == Channel::Secondary ? texts::kSecondaryOverloadFullScale : texts::kPrimaryOverload, ""};
    std::string text = decimalText(raw, range->decimals);
    if (raw == 0 && range->decimals > 0)
        text = "0." + std::string(static_cast<std::size_t>(range->decimals), '0');
    return {std::move(text), std::string(range->unit)};
}

void Form1::DecodeLiveFrame() {
    const auto& rx = rx_bytes;

    // The first two frames after a (re)start are only counted.
    ++live_frames;
    if (live_frames > 2) live_frames = 9;

    // The second copy of the battery flag decides.
    low_batt = rx.size() > 0 && (rx[0] & 0x80) != 0 ? 1 : 0;
    low_batt = rx.size() > 3 && (rx[3] & 0x80) != 0 ? 1 : 0;

    if (live_frames != 9) return;
    if (!Command5.enabled()) Command5.setEnabled(true);

    const auto bytes = protocol::fullFrame(rx);
    if (!bytes || (*bytes)[2] == 0xFF) return;
    const protocol::ReadingFrame frame = protocol::decodeFrame(*bytes);
    const bool noSignal = frame.status == protocol::kNoSignalStatus;
    const bool secOverload = frame.secRaw == kSecondaryOverloadRaw;
    const std::string status = decimalText(frame.status);

    // Primary in base units; a code outside the table counts as 0.
    const auto priRange = rangeOf(frame.priCode, Channel::Primary);
    const std::int64_t p = priRange ? frame.priRaw * priRange->factor : 0;

    pushHistory(pri_history, p);
    pushHistory(status_history, status);

    if (pri_alarm_on == kOn && pri_limit_unit != 0)
        pri_alarm = primaryLimitReached(p, pri_limit, pri_limit_unit) ? 100 : 0;

    last_status = status;

    // Secondary in base units. Without a known code the raw reading stands in for the alarm,
    // the curve and the statistics, while the ratios see no secondary at all.
    const auto secRange = rangeOf(frame.secCode, Channel::Secondary);
    const std::int64_t s = secRange ? frame.secRaw * secRange->factor : frame.secRaw;
    const RatioTexts ratios = ratioTexts(p, secRange ? s : 0);

    if (!noSignal) {
        if (p > pri_max) pri_max = p;
        if (p < pri_min) pri_min = p;
        pri_sum += p;
        ++pri_n;
        pri_avg = pri_sum / pri_n;
    }
    showPrimaryStatistic(Label13, texts::kMaximum, pri_max);
    showPrimaryStatistic(Label14, texts::kMinimum, pri_min);
    showPrimaryStatistic(Label15, texts::kAverage, pri_avg);

    ReadingText secondary = readingText(frame.secRaw, frame.secCode, Channel::Secondary);

    if (sec_alarm_on == kOn && sec_limit_unit != 0)
        sec_alarm = secondaryLimitReached(s, sec_limit, sec_limit_unit) ? 100 : 0;

    const bool drawing = live_polling == 1 && MSComm1.PortOpen();
    if (!secOverload) {
        if (s < kCurveCeiling) {
            pushHistory(sec_curve, static_cast<double>(s));
            pushHistory(sec_curve_color, sec_alarm == 100 ? kColorAlarm : kColorNormal);
            if (drawing) DrawCurve();
        }
    } else {
        secondary.text = texts::kSecondaryOverload;
        pushHistory(sec_curve, static_cast<double>(kCurveOverload));
        if (drawing) DrawCurve();
    }

    // Running mean of every reading since the last reset.
    sec_sum1 += s;
    ++sec_n1;
    const std::int64_t average = sec_sum1 / sec_n1; // base units: hundredths of a milliampere
    sec_avg_shown =
        showSecondaryStatistic(Label5, texts::kAverage, texts::kAverageOverload, average, secOverload);

    const ReadingText primary = readingText(frame.priRaw, frame.priCode, Channel::Primary);

    Label18.setText(concat({texts::kSecondaryFrequency, decimalText(sec_freq), texts::kHertz}));
    Label10.setText(secondary.text + secondary.unit);
    LiveShown shown;
    shown.noSignal = noSignal;
    shown.lowBattery = low_batt == 1;
    shown.secondary = secondary;
    shown.primaryHz = noSignal ? 0 : pri_freq;
    shown.secondaryHz = sec_freq;
    if (noSignal) {
        Label9.setText(texts::kNoSignal);
        Label11.setText(texts::kRatioEmpty);
        Label12.setText(texts::kPrimaryFrequency);
        Label16.setText(concat({texts::kFiveAmpReferred, texts::kFiveAmpEmpty}));
        Label17.setText(texts::kYyRatio);
    } else {
        shown.primary = primary;
        shown.ratios = {ratios.ratio, ratios.fiveAmp.empty() ? "0" : ratios.fiveAmp,
                        ratios.yy.empty() ? "0" : ratios.yy};
        Label9.setText(primary.text + primary.unit);
        Label11.setText(texts::kRatio + shown.ratios.ratio);
        Label12.setText(concat({texts::kPrimaryFrequency, decimalText(pri_freq), texts::kHertz}));
        Label16.setText(concat({texts::kFiveAmpReferred, " ", shown.ratios.fiveAmp, texts::kFiveAmpSuffix}));
        Label17.setText(concat({texts::kYyRatio, " ", shown.ratios.yy}));
    }
    // The numbers the instrument sent, wherever the range is known; the flags say what the
    // captions mark.
    const auto isReading = [](const ReadingText& t) { return !t.unit.empty(); };
    if (priRange) shown.primaryBase = p;
    if (secRange) shown.secondaryBase = s;
    shown.secondaryOverload = secOverload || (secRange && !isReading(secondary));
    shown.primaryOverload = !noSignal && priRange && !isReading(primary);
    last_shown = std::move(shown);
    ++live_shown_count;

    Text41.setText(low_batt == 1 ? texts::kLowBattery : "");

    if (s == kStatisticsOverload) sec_max = kMaxCeiling;
    if (s < kMaxCeiling && s > sec_max && !(sec_max == 0 && s == 6500)) sec_max = s;
    if (s < sec_min) sec_min = s;
    sec_max_shown =
        showSecondaryStatistic(Label1, texts::kMaximum, texts::kMaximumOverload, sec_max, secOverload);
    sec_min_shown =
        showSecondaryStatistic(Label2, texts::kMinimum, texts::kMinimumOverload, sec_min, secOverload);
    ++m_shownLiveFrames;
    ShowLiveAgain();
}

} // namespace hvr
