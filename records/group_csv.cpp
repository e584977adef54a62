#include "records/group_csv.h"

#include "units/ratio.h"
#include "units/number_text.h"
#include "units/range_code.h"

namespace hvr {

namespace {

constexpr const char* kBom = "\xEF\xBB\xBF";
constexpr const char* kHeader = "组号,一次电流(A),二次电流(A),变比,一次电流频率(Hz),无信号,超量程,电池电压低";

// A stored reading in amperes, as exact as the instrument sent it; empty for an unknown code.
std::string amperes(std::int64_t raw, std::uint8_t code) {
    switch (code) {
    case '0':
        return decimalText(raw, 0);
    case '1':
        return decimalText(raw, 1);
    case '2':
        return decimalText(raw, 2);
    case '3':
        return decimalText(raw, 3);
    case '@':
        return decimalText(raw, 3);
    case 'A':
        return decimalText(raw, 4);
    case 'B':
        return decimalText(raw, 5);
    case 'C':
        return decimalText(raw, 6);
    default:
        return {};
    }
}

std::int64_t whole(float value) {
    return roundHalfEven(static_cast<double>(value));
}

} // namespace

verdict::Reading groupReading(const RecordStore& store, int slot) {
    const auto i = static_cast<std::size_t>(slot);
    const auto base = [](std::int64_t raw, std::uint8_t code, Channel channel) -> std::int64_t {
        const auto range = rangeOf(code, channel);
        return range ? raw * range->factor : 0;
    };
    return {base(whole(store.rec_pri_raw[i]), store.rec_pri_code[i], Channel::Primary),
            base(whole(store.rec_sec_raw[i]), store.rec_sec_code[i], Channel::Secondary),
            store.rec_status[i] == 5,
            // Over range by the instrument's marks, as a live reading is.
            overRange(static_cast<std::uint16_t>(whole(store.rec_sec_raw[i])), store.rec_sec_code[i], Channel::Secondary) ||
                overRange(static_cast<std::uint16_t>(whole(store.rec_pri_raw[i])), store.rec_pri_code[i], Channel::Primary),
            store.rec_low_batt[i] == 1,
            !rangeOf(store.rec_pri_code[i], Channel::Primary) || !rangeOf(store.rec_sec_code[i], Channel::Secondary)};
}

GroupTexts groupTexts(const RecordStore& store, int slot) {
    const auto i = static_cast<std::size_t>(slot);
    const std::int64_t priRaw = whole(store.rec_pri_raw[i]);
    const std::int64_t secRaw = whole(store.rec_sec_raw[i]);
    // Every value the instrument sent, as a number wherever its range code is known; the ratio
    // wherever both currents are numbers and the secondary is not zero.
    GroupTexts t{decimalText(whole(store.rec_group_no[i])),
                 amperes(priRaw, store.rec_pri_code[i]),
                 amperes(secRaw, store.rec_sec_code[i]),
                 {}};
    const auto pri = rangeOf(store.rec_pri_code[i], Channel::Primary);
    const auto sec = rangeOf(store.rec_sec_code[i], Channel::Secondary);
    if (pri && sec && secRaw != 0)
        t.ratio = decimalText(ratioTenths(priRaw * pri->factor, secRaw * sec->factor), 1);
    return t;
}

std::string groupsCsv(const RecordStore& store, int groups, const verdict::Columns* columns) {
    std::string out = std::string(kBom) + kHeader + (columns ? verdict::csvHeaderCells() : "") + "\r\n";
    for (int slot = 0; slot < groups && slot < kStoreSlots; ++slot) {
        const auto i = static_cast<std::size_t>(slot);
        if (store.rec_sec_code[i] == 0) continue;
        // The flags say what the listing marks.
        const GroupTexts t = groupTexts(store, slot);
        const verdict::Reading r = groupReading(store, slot);
        out += t.number + "," + t.primary + "," + t.secondary + "," + t.ratio + "," +
               decimalText(store.rec_pri_freq[i]) + "," + (r.noSignal ? "1" : "0") + "," +
               (r.overRange ? "1" : "0") + "," + (r.lowBattery ? "1" : "0") +
               (columns ? verdict::csvCells(*columns, r) : "") + "\r\n";
    }
    return out;
}

} // namespace hvr
