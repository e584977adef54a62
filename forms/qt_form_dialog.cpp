#include "forms/qt_form_dialog.h"

namespace hvr::gui {

FormDialog::FormDialog(const Model& model, ClosableForm& closing, QWidget* parent)
    : QDialog(parent), m_closing(closing),
      m_widgets(
          model.controls, *this, model.name,
          {[this, click = model.click](const std::string& name) { forward([&] { click(name); }); },
           [this, select = model.selectOption](const std::string& name) { forward([&] { select(name); }); },
           [this, change = model.change](const std::string& name) {
               if (change)
                   forward([&] { change(name); });
               else
                   render();
           },
           model.make}) {
    m_window = model.window.rect();
    setFont(fontOf(design::kPlain));
    setFixedSize(pixels(m_window).size());
    setWindowTitle(QString::fromStdString(model.window.text()));
}

void FormDialog::forward(const std::function<void()>& handler) {
    handler();
    render();
    afterEvent();
    if (m_closing.closed()) finish();
}

void FormDialog::showEvent(QShowEvent* event) {
    m_closing.shown();
    QDialog::showEvent(event);
}

void FormDialog::setZoom(double zoom) {
    setFont(fontOf(design::kPlain, zoom));
    setFixedSize(pixels(m_window, zoom).size());
    m_widgets.setZoom(zoom);
}

void FormDialog::render() {
    m_widgets.render();
}

QWidget* FormDialog::widget(const std::string& name) const {
    return m_widgets.widget(name);
}

} // namespace hvr::gui
