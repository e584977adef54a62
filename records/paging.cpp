// The record store's counts and the paging of the history view.
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "units/number_text.h"
#include "main_window/form1.h"
#include "texts/texts.h"
#include "records/row_format.h"

namespace hvr {

namespace {

// A number as the jump box takes it: blanks around, a sign, digits with an optional point,
// an optional exponent.
std::optional<double> numberIn(const std::string& text) {
    std::size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1])))
        --e;
    if (b == e) return std::nullopt;
    const std::string core = text.substr(b, e - b);
    std::size_t i = 0;
    if (core[i] == '+' || core[i] == '-') ++i;
    bool digits = false;
    while (i < core.size() && std::isdigit(static_cast<unsigned char>(core[i]))) {
        ++i;
        digits = true;
    }
    if (i < core.size() && core[i] == '.') {
        ++i;
        while (i < core.size() && std::isdigit(static_cast<unsigned char>(core[i]))) {
            ++i;
            digits = true;
        }
    }
    if (!digits) return std::nullopt;
    if (i < core.size() && (core[i] == 'e' || core[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < core.size() && (core[j] == '+' || core[j] == '-')) ++j;
        const std::size_t start = j;
        while (j < core.size() && std::isdigit(static_cast<unsigned char>(core[j])))
            ++j;
        if (j == start) return std::nullopt;
        i = j;
    }
    if (i != core.size()) return std::nullopt;
    return leadingNumber(core)->value; // checked above: the whole of it is a number
}

} // namespace

void Form1::CountStoredGroups() {
    int filled = 0;
    for (const auto code : rec_sec_code)
        filled += code != 0;
    ji_ge = static_cast<std::int16_t>(1 + filled);
    page_count = static_cast<std::int16_t>(ji_ge / kRowsPerPage + 1);
}

std::string Form1::PageStatusText(int page) const {
    return decimalText(page) + "/" + decimalText(page_count) + texts::kPageUnit + "   " +
           decimalText(ji_ge - 1) + texts::kGroupUnit;
}

void Form1::FormatPageRow(std::int16_t pageIndex, std::int16_t row) {
    const auto slot = static_cast<std::int16_t>(pageIndex * kRowsPerPage + row);
    row_text = formatRow(*this, slot);
}

void Form1::ShowPage(std::int16_t page) {
    for (int r = 0; r < kRowsPerPage; ++r) {
        FormatPageRow(static_cast<std::int16_t>(page - 1), static_cast<std::int16_t>(r));
        pageRow(r).setText(row_text);
    }
    current_page = page;
}

Control& Form1::pageRow(int row) {
    Control* rows[kRowsPerPage] = {&Text1,  &Text2,  &Text3,  &Text4,  &Text5,  &Text6,  &Text7,
                                   &Text8,  &Text9,  &Text10, &Text11, &Text12, &Text13, &Text14,
                                   &Text15, &Text16, &Text17, &Text18, &Text19, &Text20, &Text21,
                                   &Text22, &Text23, &Text24, &Text25, &Text26};
    return *rows[row];
}

void Form1::showPageWithStatus(std::int16_t page) {
    CountStoredGroups();
    Text41.setText(PageStatusText(page));
    ShowPage(page);
}

void Form1::Command3_Click() {
    if (storeBusy()) return;
    std::int16_t target = static_cast<std::int16_t>(current_page - 1);
    if (current_page <= 1) {
        target = 1;
        m_services.dialogs.message(texts::kFirstPageAlready, texts::kMessageTitle);
    }
    showPageWithStatus(target);
}

void Form1::Command4_Click() {
    if (storeBusy()) return;
    CountStoredGroups();
    auto target = static_cast<std::int16_t>(current_page + 1);
    if (target > page_count) {
        m_services.dialogs.message(texts::kLastPageAlready, texts::kMessageTitle);
        target = page_count;
    }
    showPageWithStatus(target);
}

void Form1::Command8_Click() {
    if (storeBusy()) return;
    CountStoredGroups();
    std::optional<double> entry = numberIn(Text27.text());
    if ((entry && *entry > page_count) || (!entry && !Text27.text().empty())) {
        Text27.setText(decimalText(page_count));
        entry = page_count;
    }
    if (Text27.text().empty()) {
        Text27.setText("1");
        entry = 1;
    }
    if (entry && *entry == 0) {
        Text27.setText("1");
        entry = 1;
    }
    const double rounded = std::nearbyint(*entry);
    if (rounded < 1) {
        // No page of that number: stay where we are, and say so in the box.
        Text27.setText(decimalText(current_page));
        showPageWithStatus(current_page);
        return;
    }
    showPageWithStatus(static_cast<std::int16_t>(rounded));
}

} // namespace hvr
