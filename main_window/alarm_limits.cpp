// The alarm limits: the exact limit as typed, the comparison of a reading with it, and the two
// lock buttons.
#include "main_window/alarm_limits.h"

#include <cctype>
#include <string>

#include "main_window/form1.h"
#include "units/number_text.h"
#include "texts/texts.h"

namespace hvr {

namespace {

__extension__ typedef __int128 Wide; // exact products of an 18-digit mantissa

constexpr int kMaxDigits = 18;               // what an int64 mantissa holds exactly
constexpr int kSinglePrecisionExponent = 38; // 3.4028235e38 is the largest single-precision value
constexpr int kFarExponent = 20;             // 10^20 × an 18-digit mantissa still fits 128 bits

Wide power10(int n) {
    Wide p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// Base units per unit of the limit, as a power of ten: 10^5 per ampere, 10^2 per milliampere.
std::optional<int> unitExponent(std::uint8_t unit) {
    if (unit == AlarmVariables::kUnitAmp) return 5;
    if (unit == AlarmVariables::kUnitMilliamp) return 2;
    return std::nullopt;
}

// -1, 0 or 1 as base is below, at or above mantissa × 10^exponent.
int compare(std::int64_t base, std::int64_t mantissa, int exponent) {
    if (exponent >= 0) {
        if (exponent > kFarExponent) return mantissa > 0 ? -1 : mantissa < 0 ? 1 : (base > 0) - (base < 0);
        const Wide right = static_cast<Wide>(mantissa) * power10(exponent);
        return (base > right) - (base < right);
    }
    if (-exponent > kFarExponent) return base > 0 ? 1 : base < 0 ? -1 : (0 > mantissa) - (0 < mantissa);
    const Wide left = static_cast<Wide>(base) * power10(-exponent);
    return (left > mantissa) - (left < mantissa);
}

// mantissa × 10^exponent rounded to a whole number, halves to the even neighbour.
Wide roundedHalfEven(std::int64_t mantissa, int exponent) {
    if (exponent >= 0) return static_cast<Wide>(mantissa) * power10(std::min(exponent, kFarExponent));
    if (-exponent > kFarExponent) return 0;
    const Wide divisor = power10(-exponent);
    Wide quotient = mantissa / divisor;
    const Wide twice = 2 * (mantissa % divisor);
    const Wide away = mantissa < 0 ? -1 : 1;
    if (twice * away > divisor || (twice * away == divisor && quotient % 2 != 0)) quotient += away;
    return quotient;
}

} // namespace

std::optional<DecimalLimit> parseLimit(std::string_view text) {
    std::size_t i = 0;
    auto blanks = [&] {
        while (i < text.size() && text[i] == ' ')
            ++i;
    };
    auto digit = [&] { return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0; };

    blanks();
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    DecimalLimit limit;
    int digits = 0;
    bool any = false;
    auto take = [&](bool fraction) {
        for (; digit(); ++i) {
            any = true;
            if (digits == 0 && text[i] == '0') {
                if (fraction) --limit.exponent;
                continue;
            }
            if (digits == kMaxDigits) {
                if (!fraction) ++limit.exponent; // further digits only scale the value
                continue;
            }
            limit.mantissa = limit.mantissa * 10 + (text[i] - '0');
            ++digits;
            if (fraction) --limit.exponent;
        }
    };
    take(false);
    if (i < text.size() && text[i] == '.') {
        ++i;
        take(true);
    }
    if (!any) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
        if (!digit()) return std::nullopt;
        int exponent = 0;
        for (; digit(); ++i)
            exponent = std::min(exponent * 10 + (text[i] - '0'), 100000);
        limit.exponent += negativeExponent ? -exponent : exponent;
    }
    blanks();
    if (i != text.size()) return std::nullopt;
    if (negative) limit.mantissa = -limit.mantissa;
    if (limit.mantissa == 0) return DecimalLimit{};
    // Beyond single precision: 3.4028235e38 has 39 digits before the point.
    const int magnitude = digits + limit.exponent; // digits before the point
    if (magnitude > kSinglePrecisionExponent + 1 ||
        (magnitude == kSinglePrecisionExponent + 1 &&
         compare(340282350, limit.mantissa < 0 ? -limit.mantissa : limit.mantissa, limit.exponent - 30) < 0))
        return std::nullopt;
    return limit;
}

bool primaryLimitReached(std::int64_t base, const DecimalLimit& limit, std::uint8_t unit) {
    const auto scale = unitExponent(unit);
    if (!scale) return false;
    const Wide rounded = roundedHalfEven(limit.mantissa, limit.exponent + *scale);
    return static_cast<Wide>(base) >= rounded;
}

bool secondaryLimitReached(std::int64_t base, const DecimalLimit& limit, std::uint8_t unit) {
    const auto scale = unitExponent(unit);
    if (!scale) return false;
    return compare(base, limit.mantissa, limit.exponent + *scale) >= 0;
}

// The lock button of one channel: lock the typed limit, or release it.
void Form1::LockAlarm(AlarmChannel channel) {
    const bool primary = channel == AlarmChannel::Primary;
    Control& button = primary ? Command10 : Command6;
    Control& entry = primary ? Text29 : Text35;
    Control& milliamp = primary ? Option5 : Option4;
    Control& amp = primary ? Option6 : Option3;
    Control& lamp = primary ? Shape4 : Shape1;
    DecimalLimit& limit = primary ? pri_limit : sec_limit;
    std::uint8_t& unit = primary ? pri_limit_unit : sec_limit_unit;
    std::uint8_t& armed = primary ? pri_alarm_on : sec_alarm_on;
    std::uint8_t& blink = primary ? pri_blink : sec_blink;
    std::uint8_t& alarm = primary ? pri_alarm : sec_alarm;

    auto release = [&] {
        button.setText(texts::kLockReleased);
        amp.setEnabled(true);
        milliamp.setEnabled(true);
        entry.setEnabled(true);
        limit = {};
        unit = 0;
        armed = 0;
        blink = 0;
        alarm = 0;
    };

    if (button.text() == texts::kLockLocked) {
        release();
        lamp.setFillColor(colors::kGreen);
        lamp.setBorderColor(colors::kPurple);
        return;
    }
    if (amp.value()) unit = kUnitAmp;
    if (milliamp.value()) unit = kUnitMilliamp;
    if (entry.text().empty()) {
        unit = 0;
    } else if (const auto typed = parseLimit(entry.text())) {
        limit = *typed;
    } else {
        m_services.dialogs.message(texts::kBadLimit, texts::kMessageTitle);
        entry.setText("");
        release();
        return;
    }
    if (!amp.value() && !milliamp.value()) unit = 0;
    armed = kOn;
    ShowAlarmPanel(channel);
}

std::string limitText(const DecimalLimit& limit) {
    if (limit.exponent <= 0) return decimalText(limit.mantissa, -limit.exponent);
    return decimalText(limit.mantissa) + std::string(static_cast<std::size_t>(limit.exponent), '0');
}

void Form1::ShowAlarmPanel(AlarmChannel channel) {
    const bool primary = channel == AlarmChannel::Primary;
    if ((primary ? pri_alarm_on : sec_alarm_on) != kOn) return; // released: as the window was designed
    Control& entry = primary ? Text29 : Text35;
    Control& milliamp = primary ? Option5 : Option4;
    Control& amp = primary ? Option6 : Option3;
    const std::uint8_t unit = primary ? pri_limit_unit : sec_limit_unit;
    (primary ? Command10 : Command6).setText(texts::kLockLocked);
    if (entry.text().empty() && unit != 0) entry.setText(limitText(primary ? pri_limit : sec_limit));
    if (unit != 0) {
        amp.setValue(unit == kUnitAmp);
        milliamp.setValue(unit == kUnitMilliamp);
    }
    for (Control* c : {&milliamp, &amp, &entry})
        c->setEnabled(false);
}

void Form1::Command10_Click() {
    LockAlarm(AlarmChannel::Primary);
}

void Form1::Command6_Click() {
    LockAlarm(AlarmChannel::Secondary);
}

} // namespace hvr
