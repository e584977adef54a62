#include "main_window/qt_form1_view.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <functional>
#include <optional>

#include "main_window/curve_chart.h"
#include "platform/qt_canvas.h"
#include "forms/qt_form_widgets.h"

namespace hvr::gui {

namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

// A colour of the model (0x00BBGGRR, or a system colour with the top bit set) on screen.
QColor color(std::uint32_t value, const QPalette& palette) {
    if ((value & 0x80000000u) != 0) {
        switch (value) {
        case colors::kButtonFace:
            return palette.color(QPalette::Button);
        case colors::kWindowText:
            return palette.color(QPalette::WindowText);
        case colors::kWindowBackground:
            return palette.color(QPalette::Base);
        case colors::kInfoBackground:
            return palette.color(QPalette::ToolTipBase);
        default:
            return palette.color(QPalette::Window);
        }
    }
    return platform::qtColor(value);
}

// "文件(F)" is shown with F as its access key.
QString menuTitle(const std::string& caption) {
    const std::size_t n = caption.size();
    if (n >= 3 && caption[n - 3] == '(' && caption[n - 1] == ')' && caption[n - 2] >= 'A' &&
        caption[n - 2] <= 'Z')
        return qt(caption.substr(0, n - 2) + "&" + caption.substr(n - 2));
    return qt(caption);
}

// A shape control: a lamp (circle, filled, border 2 pixels wide) or an outline (rectangle).
class ShapeWidget final : public QWidget {
  public:
    ShapeWidget(bool circle, QWidget* parent) : QWidget(parent), m_circle(circle) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    void setColors(const QColor& fill, const QColor& border) {
        m_fill = fill;
        m_border = border;
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        if (m_circle) {
            const int side = std::min(width(), height()) - 2;
            const QRect box((width() - side) / 2, (height() - side) / 2, side, side);
            p.setPen(QPen(m_border, 2));
            p.setBrush(m_fill);
            p.drawEllipse(box);
        } else {
            p.setPen(QPen(palette().color(QPalette::Dark), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }

  private:
    bool m_circle;
    QColor m_fill;
    QColor m_border;
};

// A label that reports clicks (the footer link).
class ClickableLabel final : public QLabel {
  public:
    ClickableLabel(std::function<void()> onClick, QWidget* parent)
        : QLabel(parent), m_onClick(std::move(onClick)) {
        setCursor(Qt::PointingHandCursor);
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) m_onClick();
    }

  private:
    std::function<void()> m_onClick;
};

// The big readings: the design's font, made smaller only when a reading would not fit the
// label, so that no digit is cut off.
class ReadingLabel final : public QLabel {
  public:
    ReadingLabel(const QFont& font, QWidget* parent) : QLabel(parent), m_designFont(font) { setFont(font); }
    void showText(const QString& text) {
        QFont font = m_designFont;
        const int room = std::max(1, width() - 4);
        while (font.pointSizeF() > 12 && QFontMetrics(font).horizontalAdvance(text) > room)
            font.setPointSizeF(font.pointSizeF() - 2);
        if (font != this->font()) setFont(font);
        if (text != this->text()) setText(text);
    }

  private:
    QFont m_designFont;
};

// A picture box: a sunken panel whose background is the control's back colour.
class PictureBox : public QFrame {
  public:
    explicit PictureBox(QWidget* parent) : QFrame(parent) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setAutoFillBackground(true);
    }
};

// The curve's picture box: paints the model's picture and reports the mouse inside it, in
// pixels from its top-left corner.
class CurveBox final : public PictureBox {
  public:
    struct Mouse {
        std::function<void(int, int)> down, up, move;
        std::function<void()> leave;
    };
    CurveBox(const platform::Picture& picture, Mouse mouse, QWidget* parent)
        : PictureBox(parent), m_picture(picture), m_mouse(std::move(mouse)) {
        setFrameStyle(QFrame::NoFrame);
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent); // the picture covers every pixel
    }

  protected:
    // The frame of the chart changes only with its scale: it is kept as an image and only the
    // curves are painted anew.
    void paintEvent(QPaintEvent*) override {
        const auto curves = m_picture.begin() + static_cast<std::ptrdiff_t>(chartFrameLength(m_picture));
        if (!std::equal(m_picture.begin(), curves, m_cachedFrame.begin(), m_cachedFrame.end()) ||
            m_frameImage.size() != size() * devicePixelRatio()) {
            m_frameImage = QPixmap(size() * devicePixelRatio());
            m_frameImage.setDevicePixelRatio(devicePixelRatio());
            m_frameImage.fill(Qt::black);
            QPainter framePainter(&m_frameImage);
            platform::QtCanvas canvas(framePainter, platform::pictureFont());
            platform::paint(m_picture.begin(), curves, canvas);
            m_cachedFrame.assign(m_picture.begin(), curves);
        }
        QPainter painter(this);
        painter.drawPixmap(0, 0, m_frameImage);
        platform::QtCanvas canvas(painter, platform::pictureFont());
        platform::paint(curves, m_picture.end(), canvas);
    }
    void mousePressEvent(QMouseEvent* e) override {
        m_mouse.down(e->position().toPoint().x(), e->position().toPoint().y());
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (rect().contains(e->position().toPoint()))
            m_mouse.up(e->position().toPoint().x(), e->position().toPoint().y());
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (rect().contains(e->position().toPoint()))
            m_mouse.move(e->position().toPoint().x(), e->position().toPoint().y());
        else
            m_mouse.leave();
    }
    void leaveEvent(QEvent*) override { m_mouse.leave(); }

  private:
    const platform::Picture& m_picture;
    Mouse m_mouse;
    platform::Picture m_cachedFrame;
    QPixmap m_frameImage;
};

} // namespace

QtForm1View::QtForm1View(Form1& form, QWidget* parent) : QMainWindow(parent), m_form(form) {
    setObjectName("Form1");
    build();
}

QtForm1View::~QtForm1View() = default;

void QtForm1View::build() {
    auto* client = new QWidget(this);
    client->setObjectName("Form1Client");
    const QFont windowFont = fontOf(design::kPlain);
    client->setFont(windowFont);
    menuBar()->setFont(windowFont);
    setCentralWidget(client);
    client->setFixedSize(15240 / kTwipsPerPixel, 10680 / kTwipsPerPixel);

    std::unordered_map<std::string, QWidget*> containers{{"Form1", client}};
    for (Control* c : m_form.controls()) {
        m_byName[c->name()] = m_bindings.size();
        m_bindings.push_back(Binding{c});
        if (c->kind() == ControlKind::Menu) {
            makeMenu(*c);
        } else if (c->kind() != ControlKind::Timer) {
            QWidget* w = makeWidget(*c, containers.at(c->container()));
            w->setObjectName(qt(c->name()));
            containers[c->name()] = w;
            m_bindings.back().widget = w;
        }
    }
    // The strip between the two row columns lies under the header and the rows' ends.
    widget("Text28")->stackUnder(widget("Text31"));
    render();
}

QWidget* QtForm1View::makeWidget(Control& c, QWidget* container) {
    const std::string name = c.name();
    const Design& design = c.design();
    QWidget* w = nullptr;
    switch (c.kind()) {
    case ControlKind::Label: {
        QLabel* label = nullptr;
        if (design.link)
            label = new ClickableLabel([this, name] { forward([this, name] { m_form.Click(name); }); },
                                       container);
        else if (design.shrinkToFit)
            label = new ReadingLabel(fontOf(design), container);
        else
            label = new QLabel(container);
        // An opaque label repaints alone when its text changes, not the frame beneath it.
        label->setAutoFillBackground(true);
        w = label;
        break;
    }
    case ControlKind::TextBox: {
        auto* edit = new QLineEdit(container);
        Control* control = &c;
        connect(edit, &QLineEdit::textEdited, this, [this, control](const QString& text) {
            forward([control, text] { control->setText(text.toStdString()); });
        });
        w = edit;
        break;
    }
    case ControlKind::CommandButton: {
        auto* button = new QPushButton(container);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this,
                [this, name] { forward([this, name] { m_form.Click(name); }); });
        w = button;
        break;
    }
    case ControlKind::OptionButton: {
        auto* option = new QRadioButton(container);
        joinOptionGroup(*option, *container);
        connect(option, &QRadioButton::clicked, this,
                [this, name] { forward([this, name] { m_form.SelectOption(name); }); });
        w = option;
        break;
    }
    case ControlKind::Frame:
        w = new QGroupBox(container);
        break;
    case ControlKind::PictureBox:
        if (design.canvas) {
            CurveBox::Mouse mouse{
                [this](int x, int y) { forward([this, x, y] { m_form.Picture1_MouseDown(x, y); }); },
                [this](int x, int y) { forward([this, x, y] { m_form.Picture1_Click(x, y); }); },
                [this](int x, int y) { m_form.Picture1_MouseMove(x, y); },
                [this] { m_form.Picture1_MouseLeave(); },
            };
            w = new CurveBox(m_form.picture1(), std::move(mouse), container);
        } else {
            w = new PictureBox(container);
        }
        break;
    case ControlKind::Shape:
        w = new ShapeWidget(design.round, container);
        break;
    case ControlKind::ComboBox: {
        auto* combo = new QComboBox(container);
        combo->setEditable(true);
        Control* control = &c;
        connect(combo, &QComboBox::currentTextChanged, this, [this, control](const QString& text) {
            if (control->text() != text.toStdString())
                forward([control, text] { control->setText(text.toStdString()); });
        });
        w = combo;
        break;
    }
    case ControlKind::Menu:
    case ControlKind::Timer:
    case ControlKind::Table:
    case ControlKind::Form:
        break;
    }
    if (w != nullptr) applyDesign(*w, design);
    return w;
}

void QtForm1View::makeMenu(Control& c) {
    Binding& b = m_bindings.back();
    if (c.container() == "Form1") {
        b.menu = menuBar()->addMenu(menuTitle(c.text()));
        b.menu->setObjectName(qt(c.name()));
        b.action = b.menu->menuAction();
        return;
    }
    QMenu* parentMenu = m_bindings[m_byName.at(c.container())].menu;
    b.action = parentMenu->addAction(qt(c.text()));
    b.action->setObjectName(qt(c.name()));
    if (*c.design().shortcut != '\0') {
        b.action->setShortcut(QKeySequence(QString::fromUtf8(c.design().shortcut)));
        b.action->setShortcutContext(Qt::ApplicationShortcut);
    }
    const std::string name = c.name();
    connect(b.action, &QAction::triggered, this,
            [this, name] { forward([this, name] { m_form.Click(name); }); });
}

void QtForm1View::forward(const std::function<void()>& handler) {
    handler();
    render();
    if (m_afterEvent) m_afterEvent();
}

int QtForm1View::render() {
    renderWindow();
    int rendered = 0;
    for (Binding& b : m_bindings) {
        if (b.rendered == b.control->revision()) continue;
        renderControl(b);
        b.rendered = b.control->revision();
        ++rendered;
    }
    return rendered;
}

void QtForm1View::renderWindow() {
    const Control& me = m_form.Me;
    if (m_windowRendered == me.revision()) return;
    m_windowRendered = me.revision();
    setWindowTitle(qt(me.text()));
    move(x(), me.rect().top / kTwipsPerPixel);
}

void QtForm1View::renderControl(Binding& b) {
    const Control& c = *b.control;
    const QString text = qt(c.text());
    if (b.action != nullptr) {
        if (b.menu != nullptr)
            b.menu->setTitle(menuTitle(c.text()));
        else
            b.action->setText(text);
        b.action->setVisible(c.visible());
        b.action->setEnabled(c.enabled());
        return;
    }
    QWidget* w = b.widget;
    if (w == nullptr) return;
    w->setGeometry(pixels(c.rect()));
    w->setEnabled(c.enabled());
    if (w->toolTip() != qt(c.toolTip())) w->setToolTip(qt(c.toolTip()));
    QPalette palette = w->palette();
    const QPalette base = QWidget::palette();
    if (auto* reading = dynamic_cast<ReadingLabel*>(w)) {
        reading->showText(text); // after the geometry: the font fits the label's width
        palette.setColor(QPalette::WindowText, color(c.foreColor(), base));
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text() != text) label->setText(text);
        palette.setColor(QPalette::WindowText, color(c.foreColor(), base));
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (edit->text() != text) {
            edit->setText(text);
            if (edit->isReadOnly()) edit->setCursorPosition(0); // a shown text reads from its start
        }
        palette.setColor(QPalette::Text, color(c.foreColor(), base));
        palette.setColor(QPalette::Base, color(c.backColor(), base));
    } else if (auto* button = qobject_cast<QRadioButton*>(w)) {
        button->setText(text);
        showOptionSelected(*button, c.value());
    } else if (auto* push = qobject_cast<QPushButton*>(w)) {
        push->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QStringList items;
        for (const auto& item : c.items())
            items << qt(item);
        if (combo->count() != items.size()) {
            const QSignalBlocker quiet(combo);
            combo->clear();
            combo->addItems(items);
        }
        if (combo->currentText() != text) {
            const QSignalBlocker quiet(combo);
            combo->setEditText(text);
        }
    } else if (auto* shape = dynamic_cast<ShapeWidget*>(w)) {
        shape->setColors(color(c.fillColor(), base), color(c.borderColor(), base));
    } else if (dynamic_cast<PictureBox*>(w) != nullptr) {
        palette.setColor(QPalette::Window, color(c.backColor(), base));
        w->update(); // its picture may have changed
    }
    if (palette != w->palette()) w->setPalette(palette); // a new palette repaints the whole widget
    w->setVisible(c.visible());
}

QWidget* QtForm1View::widget(const std::string& name) const {
    const auto found = m_byName.find(name);
    return found == m_byName.end() ? nullptr : m_bindings[found->second].widget;
}

QAction* QtForm1View::action(const std::string& name) const {
    const auto found = m_byName.find(name);
    return found == m_byName.end() ? nullptr : m_bindings[found->second].action;
}

void QtForm1View::closeEvent(QCloseEvent* event) {
    // The close box is the exit command: the program ends with every window it opened.
    event->accept();
    m_form.Click("l");
}

} // namespace hvr::gui
