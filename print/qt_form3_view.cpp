#include "print/qt_form3_view.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace hvr::gui {

namespace {
constexpr int kTwipsPerPixel = 15;
QRect pixels(const Rect& r) {
    return {r.left / kTwipsPerPixel, r.top / kTwipsPerPixel, r.width / kTwipsPerPixel,
            r.height / kTwipsPerPixel};
}
} // namespace

QtForm3View::QtForm3View(Form3& form, QWidget* parent) : QDialog(parent), m_form(form) {
    setObjectName("Form3");
    setModal(true);
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(9);
    setFont(font);
    setFixedSize(form.Me.rect().width / kTwipsPerPixel, form.Me.rect().height / kTwipsPerPixel);
    for (Control* c : form.controls()) {
        QWidget* container = c->container() == "Form3" ? this : m_widgets.at(c->container());
        QWidget* w = nullptr;
        const std::string name = c->name();
        switch (c->kind()) {
        case ControlKind::Frame:
            w = new QGroupBox(container);
            break;
        case ControlKind::Label:
            w = new QLabel(container);
            break;
        case ControlKind::TextBox: {
            auto* edit = new QLineEdit(container);
            edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            connect(edit, &QLineEdit::textEdited, this, [this, c](const QString& text) {
                forward([c, text] { c->setText(text.toStdString()); });
            });
            w = edit;
            break;
        }
        case ControlKind::OptionButton: {
            auto* option = new QRadioButton(container);
            option->setAutoExclusive(false);
            connect(option, &QRadioButton::clicked, this,
                    [this, name] { forward([this, name] { m_form.SelectOption(name); }); });
            w = option;
            break;
        }
        case ControlKind::CommandButton: {
            auto* button = new QPushButton(container);
            button->setDefault(name == "Command2"); // Enter prints
            button->setAutoDefault(name == "Command2");
            connect(button, &QPushButton::clicked, this,
                    [this, name] { forward([this, name] { m_form.Click(name); }); });
            w = button;
            break;
        }
        default:
            continue;
        }
        w->setObjectName(QString::fromStdString(name));
        w->setGeometry(pixels(c->rect()));
        m_widgets[name] = w;
    }
    render();
}

void QtForm3View::forward(const std::function<void()>& handler) {
    handler();
    render();
    if (m_form.closed()) accept();
}

void QtForm3View::render() {
    setWindowTitle(QString::fromStdString(m_form.Me.text()));
    for (Control* c : m_form.controls()) {
        QWidget* w = m_widgets.at(c->name());
        const QString text = QString::fromStdString(c->text());
        if (auto* label = qobject_cast<QLabel*>(w)) label->setText(text);
        if (auto* group = qobject_cast<QGroupBox*>(w)) group->setTitle(text);
        if (auto* button = qobject_cast<QPushButton*>(w)) button->setText(text);
        if (auto* option = qobject_cast<QRadioButton*>(w)) {
            option->setText(text);
            option->setChecked(c->value());
        }
        if (auto* edit = qobject_cast<QLineEdit*>(w); edit != nullptr && edit->text() != text)
            edit->setText(text);
    }
}

QWidget* QtForm3View::widget(const std::string& name) const {
    const auto found = m_widgets.find(name);
    return found == m_widgets.end() ? nullptr : found->second;
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
