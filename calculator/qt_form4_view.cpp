#include "calculator/qt_form4_view.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace hvr::gui {

namespace {

QFont song(double points) {
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(points);
    return font;
}

} // namespace

QtForm4View::QtForm4View(Form4& form, QWidget* parent)
    : QDialog(parent), m_form(form),
      m_widgets(form.controls(), *this, "Form4",
                {[this](const std::string& name) { forward([this, name] { m_form.Click(name); }); },
                 [this](const std::string& name) { forward([this, name] { m_form.SelectOption(name); }); },
                 [this] { render(); }}) {
    setModal(false);
    setFont(song(9));
    setFixedSize(form.Me.rect().width / 15, form.Me.rect().height / 15);
    setWindowTitle(QString::fromStdString(form.Me.text()));
    for (const char* name : {"Label1", "Label2", "Label3"})
        widget(name)->setFont(song(12));
    widget("Label5")->setFont(song(10.5));
    for (const char* name : {"Label4", "Label6", "Label8"}) {
        auto* result = static_cast<QLabel*>(widget(name));
        result->setFont(song(12));
        result->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    for (const char* name : {"Text1", "Text2"}) {
        auto* entry = static_cast<QLineEdit*>(widget(name));
        entry->setFont(song(14.25));
        entry->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        entry->setMaxLength(5);
    }
    auto* compute = static_cast<QPushButton*>(widget("Command1"));
    compute->setDefault(true); // Enter computes
    compute->setAutoDefault(true);
    render();
}

void QtForm4View::forward(const std::function<void()>& handler) {
    handler();
    render();
    if (m_form.closed()) QDialog::reject();
}

void QtForm4View::render() {
    m_widgets.render();
}

QWidget* QtForm4View::widget(const std::string& name) const {
    return m_widgets.widget(name);
}

void QtForm4View::reject() {
    forward([this] { m_form.Command2_Click(); });
}

} // namespace hvr::gui
