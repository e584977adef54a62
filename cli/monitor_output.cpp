#include "cli/monitor_output.h"

#include <cstdio>
#include <iterator>
#include <optional>

#include "units/number_text.h"

namespace hvr::cli {

namespace {

constexpr const char* kPanel[] = {"Label9", "Label10", "Label11", "Label12", "Label16", "Label17", "Label18",
                                  "Text41", "Label1",  "Label2",  "Label5",  "Label13", "Label14", "Label15"};

std::string trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string csvField(const std::string& raw) {
    const std::string s = trimmed(raw);
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

} // namespace

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

namespace {

// A current in amperes as a plain number, or empty.
std::string amperes(const std::optional<std::int64_t>& base) {
    return base ? decimalText(*base, 5) : std::string();
}

// The ratio as the live panel computes it, as a plain number; empty without both currents
// or with a secondary of zero.
std::string ratioNumber(const LiveShown& s) {
    if (!s.primaryBase || !s.secondaryBase || *s.secondaryBase == 0) return {};
    return decimalText(ratioTenths(*s.primaryBase, *s.secondaryBase), 1);
}

// A caption's number when it is a plain decimal, else empty ("600.3" stays, "1K6" does not).
std::string plainNumber(const std::string& text) {
    const std::string t = trimmed(text);
    if (t.empty() || t.find_first_not_of("-0123456789.") != std::string::npos) return {};
    return t;
}

struct LiveNumbers {
    std::string primary, secondary, ratio, fiveAmp, yy, primaryHz, secondaryHz;
    bool noSignal, overRange, lowBattery;
};

LiveNumbers numbers(const LiveShown& s) {
    return {amperes(s.primaryBase),
            amperes(s.secondaryBase),
            ratioNumber(s),
            s.noSignal ? "" : plainNumber(s.ratios.fiveAmp),
            s.noSignal ? "" : plainNumber(s.ratios.yy),
            s.noSignal ? "" : std::to_string(s.primaryHz),
            std::to_string(s.secondaryHz),
            s.noSignal,
            s.secondaryOverload || s.primaryOverload,
            s.lowBattery};
}

std::string jsonNumber(const std::string& number) {
    return number.empty() ? "null" : number;
}

std::string verdictCells(const Form1& form, const std::optional<verdict::Columns>& columns,
                         bool withVerdict) {
    if (!withVerdict) return {};
    return columns ? verdict::csvCells(*columns, analysis::liveReading(form.last_shown))
                   : verdict::csvEmptyCells();
}

} // namespace

std::string jsonLine(Form1& form, const std::string& time, const std::optional<verdict::Columns>& columns,
                     bool withVerdict) {
    std::string out = "{";
    for (const char* name : kPanel)
        out += jsonString(name) + ":" + jsonString(form.control(name)->text()) + ",";
    const LiveNumbers n = numbers(form.last_shown);
    out += "\"time\":" + jsonString(time) + ",\"primary_A\":" + jsonNumber(n.primary) +
           ",\"secondary_A\":" + jsonNumber(n.secondary) + ",\"ratio\":" + jsonNumber(n.ratio) +
           ",\"referred_5A\":" + jsonNumber(n.fiveAmp) + ",\"yy_ratio\":" + jsonNumber(n.yy) +
           ",\"primary_Hz\":" + jsonNumber(n.primaryHz) + ",\"secondary_Hz\":" + jsonNumber(n.secondaryHz) +
           ",\"no_signal\":" + (n.noSignal ? "true" : "false") +
           ",\"over_range\":" + (n.overRange ? "true" : "false") +
           ",\"low_battery\":" + (n.lowBattery ? "true" : "false");
    if (withVerdict)
        out += columns ? verdict::jsonMembers(*columns, analysis::liveReading(form.last_shown))
                       : verdict::jsonEmptyMembers();
    return out + "}";
}

std::string csvHeader(bool withVerdict) {
    return std::string("\xEF\xBB\xBF"
                       "时间,一次电流(A),二次电流(A),变比,二次电流5A折算(A),10KV-YY折算变比,一次电流频率(Hz),"
                       "二次电流频率(Hz),无信号,超量程,电池电压低") +
           (withVerdict ? verdict::csvHeaderCells() : "");
}

std::string csvRow(const Form1& form, const std::string& time, const std::optional<verdict::Columns>& columns,
                   bool withVerdict) {
    const LiveNumbers n = numbers(form.last_shown);
    const std::string fields[] = {time,
                                  n.primary,
                                  n.secondary,
                                  n.ratio,
                                  n.fiveAmp,
                                  n.yy,
                                  n.primaryHz,
                                  n.secondaryHz,
                                  n.noSignal ? "1" : "0",
                                  n.overRange ? "1" : "0",
                                  n.lowBattery ? "1" : "0"};
    std::string out;
    for (std::size_t i = 0; i < std::size(fields); ++i)
        out += (i > 0 ? "," : "") + csvField(fields[i]);
    return out + verdictCells(form, columns, withVerdict);
}

} // namespace hvr::cli
