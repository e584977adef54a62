// The window's commands by name, the exit, the footer link and the commands whose windows
// come later.
#include <string_view>

#include "main_window/form1.h"
#include "texts/texts.h"

namespace hvr {

namespace {

struct ClickHandler {
    std::string_view name;
    void (Form1::*handler)();
};

// Every control and menu entry that reacts to a click.
constexpr ClickHandler kClickHandlers[] = {
    {"Command1", &Form1::Command1_Click},
    {"Command2", &Form1::Command2_Click},
    {"Command3", &Form1::Command3_Click},
    {"Command4", &Form1::Command4_Click},
    {"Command5", &Form1::Command5_Click},
    {"Command6", &Form1::Command6_Click},
    {"Command7", &Form1::Command7_Click},
    {"Command8", &Form1::Command8_Click},
    {"Command9", &Form1::Command9_Click},
    {"Command10", &Form1::Command10_Click},
    {"Command11", &Form1::Command11_Click},
    {"Command12", &Form1::Command12_Click},
    {"Command13", &Form1::Command13_Click},
    {"Command15", &Form1::Command15_Click},
    {"Command16", &Form1::Command16_Click},
    {"Label4", &Form1::Label4_Click},
    {"lscq", &Form1::lscq_Click},
    {"sjk", &Form1::sjk_Click},
    {"u", &Form1::u_Click},
    {"k", &Form1::k_Click},
    {"l", &Form1::l_Click},
    {"js_f3", &Form1::js_f3_Click},
    {"errorAnalysis", &Form1::errorAnalysis_Click},
    {"testRecords", &Form1::testRecords_Click},
    {"zt_1", &Form1::zt_1_Click},
    {"jx_11", &Form1::jx_11_Click},
    {"ducu", &Form1::ducu_Click},
    {"baoc___1", &Form1::baoc___1_Click},
    {"qikon", &Form1::qikon_Click},
    {"shengcuq", &Form1::shengcuq_Click},
    {"jianxun", &Form1::jianxun_Click},
    {"huaiyuan", &Form1::huaiyuan_Click},
    {"d_uy_x", &Form1::d_uy_x_Click},
};

} // namespace

bool Form1::Click(std::string_view name) {
    for (const ClickHandler& h : kClickHandlers) {
        if (h.name == name) {
            (this->*h.handler)();
            return true;
        }
    }
    return false;
}

void Form1::SelectOption(std::string_view name) {
    Control* chosen = control(name);
    if (chosen == nullptr || chosen->kind() != ControlKind::OptionButton || !chosen->enabled()) return;
    for (Control* c : m_controls)
        if (c->kind() == ControlKind::OptionButton && c->container() == chosen->container())
            c->setValue(c == chosen);
}

void Form1::l_Click() {
    // Ends at once: no prompt, nothing saved.
    m_services.events.quit();
}

void Form1::Label4_Click() {
    m_services.shell.openUrl(texts::kMakerWebAddress);
}

void Form1::js_f3_Click() {
    if (m_openCalculator) m_openCalculator();
}

void Form1::errorAnalysis_Click() {
    if (m_openAnalysis) m_openAnalysis();
}

void Form1::testRecords_Click() {
    if (m_openArchive) m_openArchive();
}

} // namespace hvr
