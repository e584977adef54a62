#include "report/text_lines.h"

namespace hvr::report {

namespace {

// The length of the UTF-8 sequence a byte begins; a stray byte stands alone.
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) return 4;
    if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0) return 2;
    return 1;
}

// The character at `at` as its bytes, `at` moved past it; empty for the CR of a CR LF, which is
// one line feed. Control characters but the line feed become blanks.
std::string nextCharacter(std::string_view text, std::size_t& at) {
    const std::size_t n = std::min(sequenceLength(static_cast<unsigned char>(text[at])), text.size() - at);
    std::string c(text.substr(at, n));
    at += n;
    if (c == "\r" && at < text.size() && text[at] == '\n') return {};
    if (c.size() == 1 && static_cast<unsigned char>(c[0]) < 0x20 && c != "\n") c = " ";
    return c;
}

std::vector<std::string> charactersOf(std::string_view text) {
    std::vector<std::string> characters;
    for (std::size_t at = 0; at < text.size();)
        if (std::string c = nextCharacter(text, at); !c.empty()) characters.push_back(std::move(c));
    return characters;
}

bool isLatin(const std::string& c) {
    return c.size() == 1 && c != " " && c != "\n";
}

} // namespace

std::vector<std::string> wrapText(std::string_view text, double width, const platform::PrintFont& font,
                                  const platform::TextMeasure& measure) {
    std::vector<std::string> lines;
    std::vector<std::string> line; // the characters of the line being set
    const auto joined = [](const std::vector<std::string>& cs, std::size_t from, std::size_t to) {
        std::string s;
        for (std::size_t i = from; i < to; ++i)
            s += cs[i];
        return s;
    };
    const auto end = [&] {
        lines.push_back(joined(line, 0, line.size()));
        line.clear();
    };
    for (const std::string& c : charactersOf(text)) {
        if (c == "\n") {
            end();
            continue;
        }
        if (c == " " && line.empty() && !lines.empty()) continue; // a line broken at a blank
        line.push_back(c);
        if (line.size() == 1 || measure.textWidth(font, joined(line, 0, line.size())) <= width) continue;
        // Too wide: a blank at the end is dropped; a Latin word is moved whole to the next line
        // where a blank before it allows; anything else breaks before its last character.
        if (c == " ") {
            line.pop_back();
            end();
            continue;
        }
        std::size_t word = line.size() - 1;
        while (word > 0 && isLatin(line[word - 1]))
            --word;
        const bool wholeWord = isLatin(c) && word > 0 && line[word - 1] == " " &&
                               measure.textWidth(font, joined(line, word, line.size())) <= width;
        std::vector<std::string> carried(
            line.begin() + static_cast<std::ptrdiff_t>(wholeWord ? word : line.size() - 1), line.end());
        line.resize(line.size() - carried.size());
        while (!line.empty() && line.back() == " ")
            line.pop_back();
        end();
        line = std::move(carried);
    }
    end();
    return lines;
}

std::string elideText(std::string_view text, double width, const platform::PrintFont& font,
                      const platform::TextMeasure& measure) {
    // From the front, keeping the longest beginning that fits with "…": the work is that of one
    // line, however long the text.
    std::string best = "…", prefix;
    for (std::size_t at = 0; at < text.size();) {
        const std::string c = nextCharacter(text, at);
        prefix += c == "\n" ? " " : c;
        if (measure.textWidth(font, prefix) > width) return best;
        std::string shortened = prefix;
        while (!shortened.empty() && shortened.back() == ' ')
            shortened.pop_back();
        if (measure.textWidth(font, shortened + "…") <= width) best = shortened + "…";
    }
    return prefix;
}

} // namespace hvr::report
