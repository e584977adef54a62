// The YY ratio calculator: the checks of the two typed currents and the three results.
#include "calculator/form4.h"

#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "units/number_text.h"
#include "texts/texts.h"

namespace hvr {

namespace {

constexpr double kLimit = 10000; // the largest current either box takes, in its unit
constexpr double kReferredSecondary = 5;
constexpr double kYyFactor = 0.038;

// A typed current: blanks around it, a sign, digits with a point, an exponent; none for
// anything else, an empty box included.
std::optional<double> number(const std::string& text) {
    const char* begin = text.c_str();
    while (*begin == ' ')
        ++begin;
    if (*begin == '\0') return std::nullopt;
    for (const char* c = begin; *c != '\0'; ++c)
        if (std::string_view("0123456789+-.eE ").find(*c) == std::string_view::npos) return std::nullopt;
    const auto n = leadingNumber(begin);
    if (!n) return std::nullopt;
    const char* end = begin + n->length;
    while (*end == ' ')
        ++end;
    if (*end != '\0' || !std::isfinite(n->value)) return std::nullopt;
    return n->value;
}

bool onlyBlanks(const std::string& text) {
    return !text.empty() && text.size() <= 5 && text.find_first_not_of(' ') == std::string::npos;
}

} // namespace

std::string calculatorResultText(double value) {
    const double tenfold = std::nearbyint(value * 10); // halves to even in the default rounding
    if (tenfold == 0 || !std::isfinite(tenfold)) return "0";
    if (std::fabs(tenfold) < 9e18) return decimalText(static_cast<std::int64_t>(tenfold), 1);
    // Beyond 64 bits: the shortest digits that give the double back ("1e+27"), written out
    // without the exponent.
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, tenfold / 10, std::chars_format::scientific);
    const std::string scientific(buffer, written.ptr);
    const auto e = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(0, e))
        if (c != '.' && c != '-') digits += c;
    const int exponent = std::stoi(scientific.substr(e + 1));
    const int whole = exponent + 1; // digits before the point
    if (static_cast<int>(digits.size()) < whole)
        digits.append(static_cast<std::size_t>(whole) - digits.size(), '0');
    return (tenfold < 0 ? "-" : "") + digits.substr(0, static_cast<std::size_t>(whole));
}

Form4::Form4(platform::Dialogs& dialogs) : m_dialogs(dialogs) {
#define HVR_LIST_FORM4_CONTROL(kind, name, container, caption, left, top, width, height, design)             \
    m_controls.push_back(&name);
    HVR_FORM4_CONTROLS(HVR_LIST_FORM4_CONTROL)
#undef HVR_LIST_FORM4_CONTROL
    Option1.setValue(true);
    Option3.setValue(true);
    Text1.setForeColor(0x0000FF); // red
    Text2.setForeColor(0x00C000); // green
}

void Form4::reset(std::string_view boxes) {
    Text1.setText(boxes);
    Text2.setText(boxes);
    Label4.setText("0");
    Label6.setText("0A/5A");
    Label8.setText("0");
}

void Form4::Form_Load() {
    reset("");
}

void Form4::Command3_Click() {
    reset("");
}

void Form4::Command2_Click() {
    close();
}

void Form4::refuse(const char* message, std::string_view boxes) {
    m_dialogs.message(message, texts::kMessageTitle);
    reset(boxes);
}

void Form4::Command1_Click() {
    if (onlyBlanks(Text1.text()) || onlyBlanks(Text2.text())) return refuse(texts::kBadInput, "0");
    const auto secondary = number(Text2.text());
    if (!secondary || *secondary == 0) return refuse(texts::kBadInput, "");
    if (*secondary < 0) return refuse(texts::kBadInput, "");
    if (*secondary > kLimit) return refuse(texts::kOutOfRange, "");
    const auto primary = number(Text1.text());
    if (!primary || *primary > kLimit) return refuse(texts::kOutOfRange, "");

    const double i1 = *primary * (Option2.value() ? 1000 : 1); // mA
    const double i2 = *secondary * (Option4.value() ? 1000 : 1);
    Label4.setText(calculatorResultText(i1 / i2));
    Label6.setText(calculatorResultText(i1 * kReferredSecondary / i2) + "A / 5A");
    Label8.setText(calculatorResultText(i1 * kYyFactor / i2));
}

bool Form4::Click(std::string_view name) {
    if (name == "Command1")
        Command1_Click();
    else if (name == "Command2")
        Command2_Click();
    else if (name == "Command3")
        Command3_Click();
    else
        return false;
    return true;
}

void Form4::SelectOption(std::string_view name) {
    if (name == "Option1" || name == "Option2") {
        Option1.setValue(name == "Option1");
        Option2.setValue(name == "Option2");
    } else if (name == "Option3" || name == "Option4") {
        Option3.setValue(name == "Option3");
        Option4.setValue(name == "Option4");
    }
}

} // namespace hvr
