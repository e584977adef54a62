#include "forms/qt_form_widgets.h"

#include "forms/qt_text_fit.h"
#include "platform/qt_canvas.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QApplication>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>
#include <string_view>

namespace hvr::gui {

FormWidgets::FormWidgets(const std::vector<Control*>& controls, QWidget& root, const std::string& rootName,
                         Handlers handlers)
    : m_controls(controls), m_handlers(std::move(handlers)) {
    root.setObjectName(QString::fromStdString(rootName));
    for (Control* c : controls) {
        QWidget* container = c->container() == rootName ? &root : m_widgets.at(c->container());
        const std::string name = c->name();
        QWidget* w = m_handlers.make ? m_handlers.make(*c, *container) : nullptr;
        if (w == nullptr) switch (c->kind()) {
            case ControlKind::Frame:
                w = new QGroupBox(container);
                break;
            case ControlKind::Label:
                w = new QLabel(container);
                break;
            case ControlKind::PictureBox: {
                auto* box = new QFrame(container);
                box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
                w = box;
                break;
            }
            case ControlKind::TextBox: {
                auto* edit = new QLineEdit(container);
                QObject::connect(edit, &QLineEdit::textEdited, edit, [this, c, name](const QString& text) {
                    c->setText(text.toStdString());
                    if (m_handlers.changed) m_handlers.changed(name);
                });
                w = edit;
                break;
            }
            case ControlKind::ComboBox: {
                auto* list = new QComboBox(container);
                QObject::connect(list, &QComboBox::activated, list, [this, c, list, name](int index) {
                    c->setText(list->itemText(index).toStdString());
                    m_handlers.selectOption(name);
                });
                w = list;
                break;
            }
            case ControlKind::OptionButton: {
                auto* option = new QRadioButton(container);
                joinOptionGroup(*option, *container);
                QObject::connect(option, &QRadioButton::clicked, option,
                                 [this, name] { m_handlers.selectOption(name); });
                w = option;
                break;
            }
            case ControlKind::CommandButton: {
                auto* button = new QPushButton(container);
                button->setAutoDefault(false);
                QObject::connect(button, &QPushButton::clicked, button,
                                 [this, name] { m_handlers.click(name); });
                w = button;
                break;
            }
            default:
                continue;
            }
        w->setObjectName(QString::fromStdString(name));
        w->setGeometry(pixels(c->rect()));
        applyDesign(*w, c->design());
        m_widgets[name] = w;
    }
}

namespace {

// The text cursor is drawn zero pixels wide: the box takes focus and keys, shows no caret.
class NoCaretStyle final : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_TextCursorWidth) return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// One for the program, owned by the application so that it outlives every widget.
QStyle* noCaretStyle() {
    static QPointer<QStyle> style;
    if (style.isNull()) {
        style = new NoCaretStyle;
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

Qt::Alignment alignmentOf(Align align) {
    switch (align) {
    case Align::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case Align::Center:
        return Qt::AlignCenter;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

int pixelEdge(double twips, double zoom) {
    return static_cast<int>(std::floor(twips * zoom / kTwipsPerPixel + 1e-9));
}

QRect pixels(const Rect& r, double zoom) {
    const int left = pixelEdge(r.left, zoom), top = pixelEdge(r.top, zoom);
    return {left, top, pixelEdge(r.left + r.width, zoom) - left, pixelEdge(r.top + r.height, zoom) - top};
}

QFont fontOf(const Design& design, double zoom) {
    QFont font(QString::fromUtf8(design.font));
    font.setPointSizeF(design.points * zoom);
    font.setBold(design.bold);
    return font;
}

void applyDesignFont(QWidget& widget, const Design& design, double zoom) {
    const Design& plain = design::kPlain;
    if (std::string_view(design.font) != plain.font || design.points != plain.points ||
        design.bold != plain.bold)
        widget.setFont(fontOf(design, zoom));
}

void applyDesign(QWidget& widget, const Design& design, double zoom) {
    applyDesignFont(widget, design, zoom);
    if (auto* label = qobject_cast<QLabel*>(&widget)) label->setAlignment(alignmentOf(design.align));
    if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
        edit->setAlignment(alignmentOf(design.align));
        if (design.maxLength > 0) edit->setMaxLength(design.maxLength);
        edit->setFrame(design.frame);
        edit->setReadOnly(design.readOnly);
        if (design.caretHidden) edit->setStyle(noCaretStyle());
        if (!design.takesFocus) edit->setFocusPolicy(Qt::NoFocus);
    }
    if (auto* button = qobject_cast<QPushButton*>(&widget); button != nullptr && design.defaultButton) {
        button->setDefault(true);
        button->setAutoDefault(true);
    }
}

void joinOptionGroup(QRadioButton& option, QWidget& container) {
    auto* group = container.findChild<QButtonGroup*>(QString(), Qt::FindDirectChildrenOnly);
    if (group == nullptr) group = new QButtonGroup(&container); // exclusive
    group->addButton(&option);
}

void showOptionSelected(QRadioButton& option, bool selected) {
    if (option.isChecked() == selected) return;
    QButtonGroup* group = option.group();
    if (!selected && group != nullptr) group->setExclusive(false); // the model may select none
    option.setChecked(selected);
    if (group != nullptr) group->setExclusive(true);
}

void FormWidgets::setZoom(double zoom) {
    m_zoom = zoom;
    for (Control* c : m_controls) {
        const auto found = m_widgets.find(c->name());
        if (found == m_widgets.end()) continue;
        found->second->setGeometry(pixels(c->rect(), zoom));
        applyDesignFont(*found->second, c->design(), zoom);
        if (qobject_cast<QRadioButton*>(found->second) != nullptr) zoomOptionMark(*found->second, zoom);
        fitText(*found->second, fontOf(c->design(), zoom)); // the texts shown stay as they are
    }
}

void FormWidgets::render() {
    for (Control* c : m_controls) {
        const auto found = m_widgets.find(c->name());
        if (found == m_widgets.end()) continue;
        QWidget* w = found->second;
        const QString text = QString::fromStdString(c->text());
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->text() != text) label->setText(text);
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText,
                             c->foreColor() == colors::kWindowText
                                 ? QApplication::palette(label).color(QPalette::WindowText)
                                 : platform::qtColor(c->foreColor()));
            label->setPalette(palette);
        }
        if (auto* list = qobject_cast<QComboBox*>(w)) {
            QStringList items;
            for (const std::string& item : c->items())
                items << QString::fromStdString(item);
            QStringList shown;
            for (int i = 0; i < list->count(); ++i)
                shown << list->itemText(i);
            if (shown != items) {
                list->clear();
                list->addItems(items);
            }
            list->setCurrentIndex(list->findText(text));
        }
        if (auto* group = qobject_cast<QGroupBox*>(w)) group->setTitle(text);
        if (auto* button = qobject_cast<QPushButton*>(w)) button->setText(text);
        if (auto* option = qobject_cast<QRadioButton*>(w)) {
            option->setText(text);
            showOptionSelected(*option, c->value());
        }
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            if (edit->text() != text) edit->setText(text);
            if (c->foreColor() != colors::kWindowText) {
                QPalette palette = edit->palette();
                palette.setColor(QPalette::Text, platform::qtColor(c->foreColor()));
                edit->setPalette(palette);
            }
        }
        if (const auto fitted = m_fitted.find(w); fitted == m_fitted.end() || fitted->second != text) {
            fitText(*w, fontOf(c->design(), m_zoom));
            m_fitted[w] = text;
        }
        w->setEnabled(c->enabled());
        w->setVisible(c->visible());
    }
}

QWidget* FormWidgets::widget(const std::string& name) const {
    const auto found = m_widgets.find(name);
    return found == m_widgets.end() ? nullptr : found->second;
}

} // namespace hvr::gui
