// The print options dialog: all sheets or a typed range, checked, handed to the main window.
#include "print/form3.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

#include "units/number_text.h"
#include "texts/texts.h"
#include "print/sheet_layout.h"

namespace hvr {

namespace {

// A typed sheet number: blanks around it, a sign, digits with a point, an exponent.
std::optional<double> number(const std::string& text) {
    const char* begin = text.c_str();
    while (*begin == ' ')
        ++begin;
    if (*begin == '\0') return std::nullopt;
    const auto n = leadingNumber(begin);
    if (!n || n->outOfRange) return std::nullopt;
    const char* end = begin + n->length;
    while (*end == ' ')
        ++end;
    if (*end != '\0' || !std::isfinite(n->value)) return std::nullopt;
    return n->value;
}

// A sheet number as a 16-bit integer, rounded half to even and held within 16 bits.
std::int16_t sheet16(double value) {
    const double clamped = std::clamp(value, -32768.0, 32767.0);
    return static_cast<std::int16_t>(roundHalfEven(clamped));
}

} // namespace

Form3::Form3(PrintHandOff& handOff, std::int16_t ji_ge, platform::Dialogs& dialogs)
    : m_handOff(handOff), m_ji_ge(ji_ge), m_dialogs(dialogs) {
#define HVR_LIST_FORM3_CONTROL(kind, name, container, caption, left, top, width, height, design)             \
    m_controls.push_back(&name);
    HVR_FORM3_CONTROLS(HVR_LIST_FORM3_CONTROL)
#undef HVR_LIST_FORM3_CONTROL
    Option2.setValue(true);
}

Control* Form3::control(std::string_view name) {
    for (Control* c : m_controls)
        if (c->name() == name) return c;
    return nullptr;
}

void Form3::Form_Load() {
    Label1.setText("共有:" + decimalText(m_ji_ge - 1) + "组");
    Label3.setText("结束页数:" + decimalText(sheetCount(m_ji_ge - 1)) + "页");
}

void Form3::decide(int outcome) {
    close();
    m_handOff.dayinlin = outcome;
}

void Form3::Command2_Click() {
    if (closed()) return;
    if (!Option1.value()) {
        if (m_ji_ge == 1) {
            decide(PrintHandOff::kCancel); // nothing stored, nothing to print
            return;
        }
        m_handOff.dakai = 0;
        m_handOff.dajie = sheetCount(m_ji_ge - 1);
        decide(PrintHandOff::kPrint);
        return;
    }

    if (Text2.text().empty() || Text1.text().empty()) {
        m_dialogs.message(texts::kInputError, texts::kMessageTitle);
        return;
    }
    const auto first = number(Text1.text());
    const auto last = number(Text2.text());
    if (!first || !last || *first == 0 || *last == 0) {
        if (!first || !last) m_dialogs.message(texts::kNotANumber, texts::kMessageTitle);
        if (!first || *first == 0) m_dialogs.message(texts::kFirstSheetZero, texts::kMessageTitle);
        if (!last || *last == 0) m_dialogs.message(texts::kLastSheetZero, texts::kMessageTitle);
        return;
    }
    const int limit = m_ji_ge / kGroupsPerSheet + 1;
    if (*last > limit) Text2.setText(decimalText(limit));
    // A range that holds no sheet would print nothing after the printer was chosen: said, and
    // the dialog stays open as for the other input errors.
    const int sheets = sheetCount(m_ji_ge - 1);
    if (sheet16(*first) > sheets) {
        m_dialogs.message(texts::kFirstBeyondSheets + decimalText(sheets) + "页", texts::kMessageTitle);
        return;
    }
    const std::int16_t lastSheet = sheet16(*last > limit ? limit : *last);
    if (sheet16(*first) > lastSheet) {
        m_dialogs.message(texts::kFirstAfterLast, texts::kMessageTitle);
        return;
    }
    // Both sheet numbers stay within 16 bits and the first is never before sheet 0, so no job
    // starts with thousands of blank sheets.
    m_handOff.dajie = std::max<std::int16_t>(0, lastSheet);
    m_handOff.dakai = std::max<std::int16_t>(0, sheet16(*first - 1));
    decide(PrintHandOff::kPrint);
}

void Form3::Command3_Click() {
    if (!closed()) decide(PrintHandOff::kCancel);
}

void Form3::QueryUnload() {
    Command3_Click();
}

bool Form3::Click(std::string_view name) {
    if (name == "Command2") {
        Command2_Click();
        return true;
    }
    if (name == "Command3") {
        Command3_Click();
        return true;
    }
    return false;
}

void Form3::SelectOption(std::string_view name) {
    Option1.setValue(name == "Option1");
    Option2.setValue(name == "Option2");
}

} // namespace hvr
