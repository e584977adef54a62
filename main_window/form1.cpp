#include "main_window/form1.h"

#include "texts/texts.h"

namespace hvr {

Form1::Form1(platform::Services services) : MSComm1(services.serial), m_services(services) {
#define HVR_LIST_CONTROL(kind, name, container, caption, left, top, width, height, visible, design)                  \
    m_controls.push_back(&name);
    HVR_FORM1_CONTROLS(HVR_LIST_CONTROL)
#undef HVR_LIST_CONTROL

    Combo1.setItems({"1", "2", "3", "4"});
    Combo1.setToolTip("选择COM");
    Command3.setToolTip("阅读上一页");
    Command4.setToolTip("阅读下一页");
    Timer1.setInterval(20);
    Timer2.setInterval(50);
    Timer2.setEnabled(false);
    Timer3.setInterval(300);
    Label9.setForeColor(colors::kRed);
    Label10.setForeColor(colors::kGreen);
    Label6.setForeColor(colors::kDarkGreen);
    Text37.setForeColor(colors::kGreen);
    Text37.setBackColor(colors::kCurveBackground);
    Picture1.setBackColor(colors::kCurveBackground);
    Text28.setBackColor(colors::kInfoBackground);
    Shape1.setFillColor(colors::kGreen);
    Shape1.setBorderColor(colors::kPurple);
    Shape4.setFillColor(colors::kGreen);
    Shape4.setBorderColor(colors::kPurple);
    Option4.setValue(true);
    Option5.setValue(true);

    for (const Control* c : m_controls)
        m_design.push_back(*c);

    MSComm1.setOnComm([this] {
        MSComm1_OnComm();
        if (m_serialEventObserver) m_serialEventObserver();
    });
}

Control* Form1::control(std::string_view name) {
    for (Control* c : m_controls)
        if (c->name() == name) return c;
    return nullptr;
}

} // namespace hvr
