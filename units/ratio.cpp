#include "units/ratio.h"

#include "units/number_text.h"

namespace hvr {

std::string ratioText(std::int64_t tenths) {
    if (tenths <= 1000000) // up to 100000: one decimal at most
        return decimalText(tenths, 1);
    const std::int64_t whole = tenths / 10;
    if (whole <= 1000000) return decimalText(whole);
    if (whole < 10000000) return decimalText(whole / 1000, 3) + "K6";
    if (whole < 100000000) return decimalText(whole / 10000, 3) + "K7";
    if (whole < 10000000000) return decimalText(whole / 100000, 3) + "K8";
    return decimalText(whole);
}

std::int64_t ratioTenths(std::int64_t p, std::int64_t s) {
    return p == 0 || s == 0 ? 0 : (p * 10) / s;
}

RatioTexts ratioTexts(std::int64_t p, std::int64_t s) {
    RatioTexts out;
    if (s != 0) {
        out.ratio = ratioText(ratioTenths(p, s));
        out.fiveAmp = decimalText(((p * 500) / s) / 10, 1);
        out.yy = decimalText(((p * 380) / 1000) / s, 1);
    }
    if (p == 0 || s == 0) out.ratio = "0.0";
    return out;
}

} // namespace hvr
