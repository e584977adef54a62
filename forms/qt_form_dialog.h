#pragma once

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

#include "forms/closable_form.h"
#include "forms/control.h"
#include "forms/qt_form_widgets.h"

namespace hvr::gui {

// A small form's window: a dialog of the form's size and caption, centred by its owner, in
// the plain font, with one widget per control bound to the model. After every event of the
// user the widgets are rendered and afterEvent() runs; the window closes once the model says
// it is closed, and each time it is shown the model hears it is open again.
class FormDialog : public QDialog {
  public:
    struct Model {
        const std::vector<Control*>& controls;
        const Control& window; // the form itself: caption and size
        std::string name;      // "Form3"
        std::function<void(const std::string& name)> click;
        std::function<void(const std::string& name)> selectOption;
        std::function<void(const std::string& name)> change = {}; // a box was edited
        std::function<QWidget*(const Control& control, QWidget& container)> make = {};
    };
    FormDialog(const Model& model, ClosableForm& closing, QWidget* parent);

    void render();
    QWidget* widget(const std::string& name) const;
    // The window and every control at the zoom: the main window's, which it follows.
    virtual void setZoom(double zoom);
    double zoom() const { return m_widgets.zoom(); }

  protected:
    // Runs a handler of the model, renders, then asks afterEvent().
    void forward(const std::function<void()>& handler);
    virtual void afterEvent() {}
    // How the window closes once the model has closed it.
    virtual void finish() { QDialog::reject(); }
    void showEvent(QShowEvent* event) override;

  private:
    ClosableForm& m_closing;
    FormWidgets m_widgets;
    Rect m_window; // the window's own size in twips
};

} // namespace hvr::gui
