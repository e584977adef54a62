// The splash window: the animation of its two small pictures and the way into the program.
#include "splash/form2.h"

#include "texts/texts.h"

namespace hvr {

namespace {

constexpr int kFirstPause = 2000; // ms before the animation starts
constexpr int kStep = 100;        // ms between the alternations
constexpr int kRest = 1500;       // ms of rest, twice, at the end of a cycle

} // namespace

Form2::Form2(platform::Shell& shell, std::function<void()> enterProgram)
    : m_shell(shell), m_enterProgram(std::move(enterProgram)) {
#define HVR_LIST_FORM2_CONTROL(kind, name, caption, left, top, width, height) m_controls.push_back(&name);
    HVR_FORM2_CONTROLS(HVR_LIST_FORM2_CONTROL)
#undef HVR_LIST_FORM2_CONTROL
    Timer1.setEnabled(false);
}

void Form2::Form_Load() {
    Timer1.setInterval(kFirstPause);
    Timer1.setEnabled(true);
    Picture1.setVisible(true);
    Picture2.setVisible(false);
}

void Form2::Timer1_Timer() {
    if (m_closed) return;
    ++m_counter;
    if (m_counter > 6) m_counter = 0;
    if (m_counter == 6) return;             // the second half of the rest
    const bool second = m_counter % 2 == 0; // 0, 2, 4 show Picture2; 1, 3, 5 Picture1
    Picture1.setVisible(!second);
    Picture2.setVisible(second);
    Timer1.setInterval(m_counter == 5 ? kRest : kStep);
}

void Form2::EnterProgram() {
    if (m_closed) return; // the main window is opened once
    m_closed = true;
    Timer1.setEnabled(false); // the timer goes with the window
    if (m_enterProgram) m_enterProgram();
}

void Form2::Image2_Click() {
    m_shell.openUrl(texts::kMakerWebAddress);
}

bool Form2::Click(std::string_view name) {
    if (name == "Image2") {
        Image2_Click();
        return true;
    }
    if (name == "Image1" || name == "Picture1" || name == "Picture2" || name == "Command1") {
        EnterProgram();
        return true;
    }
    return false;
}

} // namespace hvr
