#pragma once

#include "calculator/form4.h"
#include "forms/qt_form_dialog.h"

namespace hvr::gui {

// The calculator window on screen, beside the main window (not modal): widgets named after
// Form4's controls; Enter is "计 算", Esc is "关 闭".
class QtForm4View final : public FormDialog {
  public:
    explicit QtForm4View(Form4& form, QWidget* parent = nullptr);

  protected:
    void reject() override; // Esc and the close box

  private:
    Form4& m_form;
};

} // namespace hvr::gui
