#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "forms/control.h"
#include "platform/shell.h"

namespace hvr {

// Every control of the splash window: kind, name, caption, left, top, width, height in twips.
#define HVR_FORM2_CONTROLS(X)                                                                                \
    X(PictureBox, Image1, "", 0, 0, 12030, 6990)                                                             \
    X(PictureBox, Picture1, "", 600, 5760, 1455, 735)                                                        \
    X(PictureBox, Picture2, "", 600, 5760, 1455, 735)                                                        \
    X(Label, Image2, "", 7920, 5520, 3615, 1095)                                                             \
    X(CommandButton, Command1, "Command1", 960, 5880, 615, 495)                                              \
    X(Timer, Timer1, "", 0, 0, 0, 0)

// The splash window without pixels: a background with two small pictures alternating on it,
// the way into the program, and the maker's web site.
class Form2 {
  public:
    // `enterProgram` opens the main window; it runs once.
    Form2(platform::Shell& shell, std::function<void()> enterProgram);
    Form2(const Form2&) = delete;
    Form2& operator=(const Form2&) = delete;

    Control Me{ControlKind::Form, "Form2", "", "", {0, 0, 12045, 7005}};
#define HVR_DECLARE_FORM2_CONTROL(kind, name, caption, left, top, width, height)                             \
    Control name{ControlKind::kind, #name, "Form2", caption, {left, top, width, height}};
    HVR_FORM2_CONTROLS(HVR_DECLARE_FORM2_CONTROL)
#undef HVR_DECLARE_FORM2_CONTROL

    const std::vector<Control*>& controls() const {
        return m_controls;
    }

    void Form_Load();
    void Timer1_Timer();
    // A click on the background or either picture, or Enter or Esc (Command1).
    void EnterProgram();
    void Image2_Click(); // the maker's web site
    bool Click(std::string_view name);

    std::int16_t counter() const {
        return m_counter;
    }
    bool closed() const {
        return m_closed;
    }

  private:
    platform::Shell& m_shell;
    std::function<void()> m_enterProgram;
    std::vector<Control*> m_controls;
    std::int16_t m_counter = 0;
    bool m_closed = false;
};

} // namespace hvr
