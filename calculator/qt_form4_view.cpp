#include "calculator/qt_form4_view.h"

namespace hvr::gui {

QtForm4View::QtForm4View(Form4& form, QWidget* parent)
    : FormDialog({form.controls(), form.Me, "Form4", [&form](const std::string& name) { form.Click(name); },
                  [&form](const std::string& name) { form.SelectOption(name); }},
                 form, parent),
      m_form(form) {
    setModal(false);
    render();
}

void QtForm4View::reject() {
    forward([this] { m_form.Command2_Click(); });
}

} // namespace hvr::gui
