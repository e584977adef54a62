#include "cli/monitor_output.h"

#include <cstdio>
#include <iterator>

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

std::string jsonLine(Form1& form) {
    std::string out = "{";
    bool first = true;
    for (const char* name : kPanel) {
        if (!first) out += ",";
        first = false;
        out += jsonString(name) + ":" + jsonString(form.control(name)->text());
    }
    return out + "}";
}

std::string csvHeader() {
    return "时间,一次电流,一次电流单位,二次电流,二次电流单位,变比,二次电流5A折算,10KV-YY折算变比,"
           "一次电流频率,"
           "二次电流频率,无信号,电池电压低";
}

std::string csvRow(const Form1& form, const std::string& time) {
    const LiveShown& s = form.last_shown;
    const std::string fields[] = {time,
                                  s.primary.text,
                                  s.primary.unit,
                                  s.secondary.text,
                                  s.secondary.unit,
                                  s.ratios.ratio,
                                  s.ratios.fiveAmp,
                                  s.ratios.yy,
                                  s.noSignal ? "" : std::to_string(s.primaryHz),
                                  std::to_string(s.secondaryHz),
                                  s.noSignal ? "1" : "0",
                                  s.lowBattery ? "1" : "0"};
    std::string out;
    for (std::size_t i = 0; i < std::size(fields); ++i)
        out += (i > 0 ? "," : "") + csvField(fields[i]);
    return out;
}

} // namespace hvr::cli
