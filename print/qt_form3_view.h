#pragma once

#include "forms/qt_form_dialog.h"
#include "print/form3.h"

namespace hvr::gui {

// The print options dialog on screen: one widget per control of Form3, named after it,
// centred; Enter is "打  印", Esc and the close box are "取  消". It closes once the model has
// decided.
class QtForm3View final : public FormDialog {
  public:
    explicit QtForm3View(Form3& form, QWidget* parent = nullptr);

  protected:
    void finish() override;
    void reject() override; // Esc and the close box
    void closeEvent(QCloseEvent* event) override;

  private:
    Form3& m_form;
};

} // namespace hvr::gui
