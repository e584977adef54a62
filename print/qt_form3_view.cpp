#include "print/qt_form3_view.h"

#include <QCloseEvent>

namespace hvr::gui {

QtForm3View::QtForm3View(Form3& form, QWidget* parent)
    : FormDialog({form.controls(), form.Me, "Form3", [&form](const std::string& name) { form.Click(name); },
                  [&form](const std::string& name) { form.SelectOption(name); }},
                 form, parent),
      m_form(form) {
    setModal(true);
    render();
}

void QtForm3View::finish() {
    accept();
}

void QtForm3View::reject() {
    m_form.Command3_Click();
    QDialog::reject();
}

void QtForm3View::closeEvent(QCloseEvent* event) {
    m_form.QueryUnload();
    QDialog::closeEvent(event);
}

} // namespace hvr::gui
