#pragma once

#include <QDialog>

#include <functional>
#include <string>

#include "calculator/form4.h"
#include "forms/qt_form_widgets.h"

namespace hvr::gui {

// The calculator window on screen, beside the main window (not modal): widgets named after
// Form4's controls; Enter is "计 算", Esc is "关 闭".
class QtForm4View final : public QDialog {
  public:
    explicit QtForm4View(Form4& form, QWidget* parent = nullptr);
    void render();
    QWidget* widget(const std::string& name) const;

  protected:
    void reject() override; // Esc and the close box

  private:
    void forward(const std::function<void()>& handler);

    Form4& m_form;
    FormWidgets m_widgets;
};

} // namespace hvr::gui
