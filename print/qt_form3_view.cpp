#include "print/qt_form3_view.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>

namespace hvr::gui {

QtForm3View::QtForm3View(Form3& form, QWidget* parent)
    : QDialog(parent), m_form(form),
      m_widgets(form.controls(), *this, "Form3",
                {[this](const std::string& name) { forward([this, name] { m_form.Click(name); }); },
                 [this](const std::string& name) { forward([this, name] { m_form.SelectOption(name); }); },
                 [this] { render(); }}) {
    setModal(true);
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(9);
    setFont(font);
    setFixedSize(form.Me.rect().width / 15, form.Me.rect().height / 15);
    setWindowTitle(QString::fromStdString(form.Me.text()));
    for (const char* box : {"Text1", "Text2"})
        static_cast<QLineEdit*>(widget(box))->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* print = static_cast<QPushButton*>(widget("Command2"));
    print->setDefault(true); // Enter prints
    print->setAutoDefault(true);
    render();
}

void QtForm3View::forward(const std::function<void()>& handler) {
    handler();
    render();
    if (m_form.closed()) accept();
}

void QtForm3View::render() {
    m_widgets.render();
}

QWidget* QtForm3View::widget(const std::string& name) const {
    return m_widgets.widget(name);
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
