#pragma once

#include "forms/closable_form.h"
#include <cstdint>
#include <string_view>
#include <vector>

#include "forms/control.h"
#include "platform/dialogs.h"
#include "print/print_handoff.h"

namespace hvr {

// The dialog's designs other than its plain font (宋体 9 pt).
namespace form3_design {
using design::kPlain;
inline constexpr Design kSheetEntry{.align = Align::Right};
inline constexpr Design kPrint{.defaultButton = true}; // Enter prints
} // namespace form3_design

// Every control of the print options dialog: kind, name, container, caption, left, top, width,
// height in twips, and its design.
#define HVR_FORM3_CONTROLS(X)                                                                                \
    X(Frame, Frame1, "Form3", "打印信息", 360, 840, 1695, 1935, kPlain)                                      \
    X(Label, Label1, "Frame1", "", 120, 360, 1215, 375, kPlain)                                              \
    X(Label, Label2, "Frame1", "开始页数:1", 120, 720, 1095, 375, kPlain)                                    \
    X(Label, Label3, "Frame1", "", 120, 1080, 1215, 375, kPlain)                                             \
    X(Label, Label4, "Frame1", "每页有:156组", 120, 1440, 1215, 375, kPlain)                                 \
    X(Frame, Frame2, "Form3", "选项", 2760, 840, 4575, 1935, kPlain)                                         \
    X(OptionButton, Option1, "Frame2", "自定义", 240, 360, 855, 375, kPlain)                                 \
    X(Label, Label5, "Frame2", "从", 1320, 480, 375, 255, kPlain)                                            \
    X(TextBox, Text1, "Frame2", "", 1560, 360, 735, 375, kSheetEntry)                                        \
    X(Label, Label6, "Frame2", "到", 2520, 480, 375, 255, kPlain)                                            \
    X(TextBox, Text2, "Frame2", "", 2880, 360, 855, 375, kSheetEntry)                                        \
    X(Label, Label7, "Frame2", "页", 3840, 480, 375, 255, kPlain)                                            \
    X(OptionButton, Option2, "Frame2", "全部", 240, 1080, 975, 495, kPlain)                                  \
    X(CommandButton, Command2, "Form3", "打  印", 1320, 3600, 1095, 495, kPrint)                             \
    X(CommandButton, Command3, "Form3", "取  消", 5160, 3600, 1095, 495, kPlain)

// The print options dialog without pixels: how many groups and sheets there are, all or a
// range of sheets, the checks of a typed range. Its decision goes to the main window's
// hand-off variables; the dialog prints nothing itself.
class Form3 : public ClosableForm {
  public:
    Form3(PrintHandOff& handOff, std::int16_t ji_ge, platform::Dialogs& dialogs);
    Form3(const Form3&) = delete;
    Form3& operator=(const Form3&) = delete;

    Control Me{ControlKind::Form, "Form3", "", "打印选项", {0, 0, 8160, 4530}};
#define HVR_DECLARE_FORM3_CONTROL(kind, name, container, caption, left, top, width, height, design)          \
    Control name{ControlKind::kind,          #name, container, caption,                                      \
                 {left, top, width, height}, true,  true,      form3_design::design};
    HVR_FORM3_CONTROLS(HVR_DECLARE_FORM3_CONTROL)
#undef HVR_DECLARE_FORM3_CONTROL

    const std::vector<Control*>& controls() const {
        return m_controls;
    }
    Control* control(std::string_view name);

    void Form_Load();
    void Command2_Click(); // "打  印"
    void Command3_Click(); // "取  消"
    // The window's own close box: as "取  消" when no decision was made.
    void QueryUnload();
    bool Click(std::string_view name);
    void SelectOption(std::string_view name);

    // A decision was made and the dialog has closed.

  private:
    void decide(int outcome);

    PrintHandOff& m_handOff;
    std::int16_t m_ji_ge;
    platform::Dialogs& m_dialogs;
    std::vector<Control*> m_controls;
};

} // namespace hvr
