#pragma once

#include <QDialog>

#include <functional>
#include <string>

#include "forms/qt_form_widgets.h"
#include "print/form3.h"

namespace hvr::gui {

// The print options dialog on screen: one widget per control of Form3, named after it,
// centred; Enter is "打  印", Esc and the close box are "取  消". It closes once the model has
// decided.
class QtForm3View final : public QDialog {
  public:
    explicit QtForm3View(Form3& form, QWidget* parent = nullptr);
    void render();
    QWidget* widget(const std::string& name) const;

  protected:
    void reject() override; // Esc and the close box
    void closeEvent(QCloseEvent* event) override;

  private:
    void forward(const std::function<void()>& handler);

    Form3& m_form;
    FormWidgets m_widgets;
};

} // namespace hvr::gui
