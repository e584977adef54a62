#include "records/row_format.h"

#include <string_view>

#include "units/ratio.h"
#include "units/number_text.h"
#include "units/range_code.h"
#include "texts/texts.h"

namespace hvr {
namespace {

std::int64_t rounded(float value) {
    return roundHalfEven(static_cast<double>(value));
}

// The shown value compared with a bound, exactly: raw / 10^decimals against bound.
int decimalsOf(std::uint8_t code) {
    switch (code) {
    case '1':
    case 'A':
        return 1;
    case '2':
    case 'B':
        return 2;
    case '3':
    case 'C':
        return 3;
    default:
        return 0;
    }
}

std::int64_t scaled(std::int64_t bound, std::uint8_t code) {
    std::int64_t s = bound;
    for (int i = 0; i < decimalsOf(code); ++i)
        s *= 10;
    return s;
}

std::string secondaryPadding(std::int64_t raw, std::uint8_t code) {
    const auto below = [&](std::int64_t bound) { return raw < scaled(bound, code); };
    switch (code) {
    case 'B':
        return below(10) ? " " : "";
    case 'A':
        if (raw <= scaled(10, code)) return "  ";
        return below(100) ? " " : "";
    case '@':
        return below(1000) ? "   " : " ";
    case '2':
        return below(10) ? "  " : " ";
    default:
        return "";
    }
}

std::string primaryPadding(std::int64_t raw, std::uint8_t code) {
    const auto below = [&](std::int64_t bound) { return raw < scaled(bound, code); };
    switch (code) {
    case '0':
        return below(1000) ? "   " : "  ";
    case '1':
        if (below(10)) return "   ";
        if (raw > scaled(10, code) && below(100)) return "  ";
        return " ";
    case '2':
        return below(10) ? "  " : " ";
    case '@':
        return "  ";
    case 'A':
        if (below(10)) return "  ";
        return below(100) ? " " : "";
    default:
        return "";
    }
}

std::string groupText(float groupNo) {
    std::string g = decimalText(rounded(groupNo));
    if (g.size() < 4) g.insert(0, 4 - g.size(), '0');
    return g;
}

std::string rowRatio(std::int64_t kp, std::uint8_t priCode, std::int64_t ks, std::uint8_t secCode) {
    if (kp == 0 || ks == 0) return "0.0";
    const auto pri = rangeOf(priCode, Channel::Primary);
    const auto sec = rangeOf(secCode, Channel::Secondary);
    const std::int64_t np = pri ? kp * pri->factor : 0;
    const std::int64_t ns = sec ? ks * sec->factor : 0;
    if (ns == 0) return "0.0"; // no factor for the secondary: no ratio, shown as the live panel shows it
    return ratioText(ratioTenths(np, ns));
}

constexpr std::string_view kBatteryMark = "       ■ ";

} // namespace

RowValue rowValue(std::int64_t raw, std::uint8_t code) {
    const std::string unit = code == '0' || code == '1' || code == '2' || code == '3'   ? texts::kAmp
                             : code == '@' || code == 'A' || code == 'B' || code == 'C' ? texts::kMilliamp
                                                                                        : "";
    if (unit.empty()) return {};
    const int decimals = decimalsOf(code);
    std::string text = decimalText(raw, decimals);
    if (decimals == 1 && raw % 10 == 0)
        text += ".0";
    else if (decimals == 2 && raw % 100 == 0)
        text += ".00";
    else if (decimals == 2 && raw % 10 == 0)
        text += "0";
    return {std::move(text), unit};
}

std::int64_t secondaryKey(std::int64_t raw, std::uint8_t code) {
    const auto range = rangeOf(code, Channel::Secondary);
    return range ? raw * range->factor : 0;
}

std::string primaryMark(const RecordStore& store, int slot) {
    const auto i = static_cast<std::size_t>(slot);
    if (store.rec_sec_raw[i] > 3700 && store.rec_sec_raw[i] < 4800) return "OL"; // the secondary overloaded
    if (store.rec_status[i] == 5) return "无信号";
    return {};
}

std::string formatRow(const RecordStore& store, int slot) {
    if (slot < 0 || slot >= kStoreSlots || store.rec_sec_code[slot] == 0) return "    ";
    const auto i = static_cast<std::size_t>(slot);
    const std::uint8_t priCode = store.rec_pri_code[i], secCode = store.rec_sec_code[i];
    const std::int64_t priRaw = rounded(store.rec_pri_raw[i]), secRaw = rounded(store.rec_sec_raw[i]);
    const bool lowBattery = store.rec_low_batt[i] == 1;

    RowValue primary = rowValue(priRaw, priCode);
    RowValue secondary = rowValue(secRaw, secCode);
    const std::string g = groupText(store.rec_group_no[i]);
    std::string ratio = rowRatio(priRaw, priCode, secRaw, secCode);
    secondary.unit += secondaryPadding(secRaw, secCode);

    const std::string mark = primaryMark(store, slot);
    if (mark == "OL")
        return "第" + g + "组:" + "   OL    " + secondary.text + secondary.unit +
               (lowBattery ? std::string(kBatteryMark) : "");
    if (!mark.empty()) {
        primary = {mark, " "};
        ratio = "   ";
    } else {
        primary.unit += primaryPadding(priRaw, priCode);
    }
    if (lowBattery)
        return "第" + g + "组:" + " " + primary.text + primary.unit + "   " + secondary.text +
               secondary.unit + "   " + std::string(kBatteryMark);
    return "第" + g + "组:" + " " + primary.text + primary.unit + std::string(7, ' ') + secondary.text +
           secondary.unit + std::string(15, ' ') + ratio;
}

} // namespace hvr
