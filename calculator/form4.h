#pragma once

#include "forms/closable_form.h"
#include <string>
#include <string_view>
#include <vector>

#include "forms/control.h"
#include "platform/dialogs.h"

namespace hvr {

// The calculator's designs other than its plain font (宋体 9 pt).
namespace form4_design {
using design::kPlain;
inline constexpr Design kCaption{.points = 12};
inline constexpr Design kSmallCaption{.points = 10.5};
inline constexpr Design kResult{.points = 12, .align = Align::Right};
inline constexpr Design kEntry{.points = 14.25, .align = Align::Right, .maxLength = 5};
inline constexpr Design kCompute{.defaultButton = true}; // Enter computes
} // namespace form4_design

// Every control of the calculator window: kind, name, container, caption, left, top, width,
// height in twips, and its design.
#define HVR_FORM4_CONTROLS(X)                                                                                \
    X(Frame, Frame1, "Form4", "", 120, 120, 6135, 3255, kPlain)                                              \
    X(PictureBox, Picture1, "Frame1", "", 120, 240, 5775, 615, kPlain)                                       \
    X(Label, Label1, "Picture1", "输入一次电流:", 0, 0, 1815, 615, kCaption)                                 \
    X(TextBox, Text1, "Picture1", "", 1680, 0, 2535, 375, kEntry)                                            \
    X(OptionButton, Option1, "Picture1", "mA", 4320, 0, 495, 375, kPlain)                                    \
    X(OptionButton, Option2, "Picture1", "A", 5040, 0, 615, 375, kPlain)                                     \
    X(PictureBox, Picture2, "Frame1", "", 120, 840, 5775, 615, kPlain)                                       \
    X(Label, Label2, "Picture2", "输入二次电流:", 0, 0, 1695, 615, kCaption)                                 \
    X(TextBox, Text2, "Picture2", "", 1680, 0, 2535, 375, kEntry)                                            \
    X(OptionButton, Option3, "Picture2", "mA", 4320, 0, 735, 375, kPlain)                                    \
    X(OptionButton, Option4, "Picture2", "A", 5040, 0, 495, 375, kPlain)                                     \
    X(Label, Label3, "Frame1", "变        比:", 120, 1560, 1575, 495, kCaption)                              \
    X(PictureBox, Picture3, "Frame1", "", 1800, 1440, 3495, 495, kPlain)                                     \
    X(Label, Label4, "Picture3", "0", 0, 0, 3435, 435, kResult)                                              \
    X(Label, Label5, "Frame1", "二次电流5A折算:", 120, 2160, 1575, 375, kSmallCaption)                       \
    X(PictureBox, Picture4, "Frame1", "", 1800, 2040, 3495, 495, kPlain)                                     \
    X(Label, Label6, "Picture4", "0A/5A", 0, 0, 3435, 435, kResult)                                          \
    X(Label, Label7, "Frame1", "10KV--YY折算变比:", 120, 2760, 1815, 375, kPlain)                            \
    X(PictureBox, Picture5, "Frame1", "", 1800, 2640, 3495, 495, kPlain)                                     \
    X(Label, Label8, "Picture5", "0", 0, 0, 3435, 435, kResult)                                              \
    X(CommandButton, Command1, "Form4", "计 算", 360, 3480, 1095, 495, kCompute)                             \
    X(CommandButton, Command3, "Form4", "清 空", 2760, 3480, 1095, 495, kPlain)                              \
    X(CommandButton, Command2, "Form4", "关 闭", 4920, 3480, 1095, 495, kPlain)

// The YY ratio calculator without pixels: two currents typed in with their units, the checks,
// and the ratio, the primary referred to 5 A and the 10 kV Y-Y ratio.
class Form4 : public ClosableForm {
  public:
    explicit Form4(platform::Dialogs& dialogs);
    Form4(const Form4&) = delete;
    Form4& operator=(const Form4&) = delete;

    Control Me{ControlKind::Form, "Form4", "", "YY折算变比计算器", {0, 0, 6480, 4185}};
#define HVR_DECLARE_FORM4_CONTROL(kind, name, container, caption, left, top, width, height, design)          \
    Control name{ControlKind::kind,          #name, container, caption,                                      \
                 {left, top, width, height}, true,  true,      form4_design::design};
    HVR_FORM4_CONTROLS(HVR_DECLARE_FORM4_CONTROL)
#undef HVR_DECLARE_FORM4_CONTROL

    const std::vector<Control*>& controls() const {
        return m_controls;
    }

    void Form_Load();
    void Command1_Click(); // "计 算"
    void Command2_Click(); // "关 闭"
    void Command3_Click(); // "清 空"
    bool Click(std::string_view name);
    void SelectOption(std::string_view name);

    // "关 闭" was pressed: the window goes.

  private:
    // The reset: both boxes given the text, the results back to their zeros.
    void reset(std::string_view boxes);
    void refuse(const char* message, std::string_view boxes);

    platform::Dialogs& m_dialogs;
    std::vector<Control*> m_controls;
};

// A result rounded to one decimal, halves to the even neighbour, in shortest form ("600",
// "4.6", "-2"); never "-0".
std::string calculatorResultText(double value);

} // namespace hvr
