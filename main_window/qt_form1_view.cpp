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
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

#include "main_window/curve_chart.h"
#include "platform/qt_canvas.h"
#include "forms/qt_form_widgets.h"
#include "forms/qt_text_fit.h"

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
    // The design's font at the window's zoom.
    void setDesignFont(const QFont& font, double zoom) {
        m_designFont = font;
        m_zoom = zoom;
        showText(text());
    }
    void showText(const QString& text) {
        QFont font = m_designFont;
        const int room = std::max(1, width() - 4);
        while (font.pointSizeF() > 12 * m_zoom && QFontMetrics(font).horizontalAdvance(text) > room)
            font.setPointSizeF(font.pointSizeF() - 2 * m_zoom);
        if (font != this->font()) setFont(font);
        if (text != this->text()) setText(text);
    }

  private:
    QFont m_designFont;
    double m_zoom = 1;
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
    void setZoom(double zoom) {
        m_zoom = zoom;
        m_cachedFrame.clear();
        update();
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
            platform::QtCanvas canvas(framePainter, platform::pictureFont(), m_zoom);
            platform::paint(m_picture.begin(), curves, canvas);
            m_cachedFrame.assign(m_picture.begin(), curves);
        }
        QPainter painter(this);
        painter.drawPixmap(0, 0, m_frameImage);
        platform::QtCanvas canvas(painter, platform::pictureFont(), m_zoom);
        platform::paint(curves, m_picture.end(), canvas);
    }
    // The model counts in the design's pixels: a position on screen divided by the zoom.
    void mousePressEvent(QMouseEvent* e) override {
        const QPoint p = design(e);
        m_mouse.down(p.x(), p.y());
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (!rect().contains(e->position().toPoint())) return;
        const QPoint p = design(e);
        m_mouse.up(p.x(), p.y());
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!rect().contains(e->position().toPoint())) return m_mouse.leave();
        const QPoint p = design(e);
        m_mouse.move(p.x(), p.y());
    }
    void leaveEvent(QEvent*) override { m_mouse.leave(); }

  private:
    QPoint design(const QMouseEvent* e) const {
        return {static_cast<int>(std::lround(e->position().x() / m_zoom)),
                static_cast<int>(std::lround(e->position().y() / m_zoom))};
    }

    const platform::Picture& m_picture;
    Mouse m_mouse;
    double m_zoom = 1;
    platform::Picture m_cachedFrame;
    QPixmap m_frameImage;
};

} // namespace

QtForm1View::QtForm1View(Form1& form, QWidget* parent) : QMainWindow(parent), m_form(form) {
    setObjectName("Form1");
    build();
}

QtForm1View::~QtForm1View() = default;

namespace {

// The form's area below the menu bar, in twips.
constexpr Rect kClientTwips{0, 0, 15240, 10680};

// The steps of Ctrl+= and Ctrl+-.
constexpr double kZoomSteps[] = {0.6, 0.67, 0.75, 0.8, 0.9, 1, 1.1, 1.25, 1.5, 1.75, 2, 2.5, 3, 4};

} // namespace

void QtForm1View::build() {
    // The band fills the window; the client inside it is the form at its zoom, centred.
    m_band = new QWidget(this);
    m_band->setObjectName("Form1Band");
    m_band->installEventFilter(this);
    setCentralWidget(m_band);
    auto* client = new QWidget(m_band);
    m_client = client;
    client->setObjectName("Form1Client");
    const QFont windowFont = fontOf(design::kPlain);
    client->setFont(windowFont);
    menuBar()->setFont(windowFont); // the menu bar keeps the design's size: the system's strip
    client->setFixedSize(pixels(kClientTwips).size());
    m_band->setMinimumSize(pixels(kClientTwips, kMinimumZoom).size());

    auto* zoomIn = new QAction(this);
    zoomIn->setObjectName("zoomIn");
    zoomIn->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)});
    connect(zoomIn, &QAction::triggered, this, [this] {
        const double fit = fittingZoom();
        for (double step : kZoomSteps)
            if (step > m_zoom + 1e-6) return zoomTo(std::max(m_zoom, std::min(step, fit)));
    });
    auto* zoomOut = new QAction(this);
    zoomOut->setObjectName("zoomOut");
    zoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    connect(zoomOut, &QAction::triggered, this, [this] {
        double below = kMinimumZoom;
        for (double step : kZoomSteps)
            if (step < m_zoom - 1e-6) below = step;
        zoomTo(below);
    });
    auto* zoomReset = new QAction(this);
    zoomReset->setObjectName("zoomReset");
    zoomReset->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    connect(zoomReset, &QAction::triggered, this, [this] { zoomTo(1); });
    addActions({zoomIn, zoomOut, zoomReset});

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

QSize QtForm1View::sizeAt(double zoom) const {
    return pixels(kClientTwips, zoom).size() + QSize(0, menuBar()->sizeHint().height());
}

double QtForm1View::fittingZoom() const {
    const QScreen* s = screen();
    if (s == nullptr) return 1;
    // The frame around the client area, as the window system draws it (none before the
    // window is shown: a title bar's worth is kept free).
    QSize frame = frameGeometry().size() - geometry().size();
    if (!isVisible()) frame = frame.expandedTo(QSize(16, 40));
    const QSize room = s->availableGeometry().size() - frame - QSize(0, menuBar()->sizeHint().height());
    const QSize design = pixels(kClientTwips).size();
    return std::max(kMinimumZoom, std::min(static_cast<double>(room.width()) / design.width(),
                                           static_cast<double>(room.height()) / design.height()));
}

void QtForm1View::zoomTo(double zoom) {
    setZoom(std::max(kMinimumZoom, zoom));
    resize(sizeAt(m_zoom));
    keepOnScreen();
}

void QtForm1View::keepOnScreen() {
    const QScreen* s = screen();
    if (s == nullptr) return;
    const QRect area = s->availableGeometry();
    // The frame the window system draws around it (before it is shown, a title bar's worth).
    const QRect inner = geometry(), outerNow = frameGeometry();
    const QMargins frame = isVisible() ? QMargins(inner.left() - outerNow.left(), inner.top() - outerNow.top(),
                                                  outerNow.right() - inner.right(), outerNow.bottom() - inner.bottom())
                                       : QMargins(8, 32, 8, 8);
    QSize outer = size().grownBy(frame);
    if (outer.width() > area.width() || outer.height() > area.height()) {
        setZoom(std::min(m_zoom, fittingZoom()));
        resize(sizeAt(m_zoom).boundedTo(area.size().shrunkBy(frame)));
        outer = size().grownBy(frame);
    }
    const int x = std::max(area.left(), std::min(pos().x(), area.right() + 1 - outer.width()));
    const int y = std::max(area.top(), std::min(pos().y(), area.bottom() + 1 - outer.height()));
    if (QPoint(x, y) != pos()) move(x, y);
}

void QtForm1View::setZoom(double zoom) {
    m_zoom = zoom;
    m_client->setFont(fontOf(design::kPlain, zoom));
    m_client->setFixedSize(pixels(kClientTwips, zoom).size());
    for (Binding& b : m_bindings) {
        if (b.widget == nullptr) continue;
        const Design& design = b.control->design();
        applyDesignFont(*b.widget, design, zoom);
        if (qobject_cast<QRadioButton*>(b.widget) != nullptr) zoomOptionMark(*b.widget, zoom);
        if (auto* reading = dynamic_cast<ReadingLabel*>(b.widget))
            reading->setDesignFont(fontOf(design, zoom), zoom);
        if (auto* curve = dynamic_cast<CurveBox*>(b.widget)) curve->setZoom(zoom);
        b.rendered = ~std::uint64_t{0}; // placed anew
    }
    render();
    placeClient();
}

void QtForm1View::placeClient() {
    m_client->move(std::max(0, (m_band->width() - m_client->width()) / 2),
                   std::max(0, (m_band->height() - m_client->height()) / 2));
}

bool QtForm1View::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_band && event->type() == QEvent::Resize) {
        // The zoom that fits the band; kept while the form's size would not change by it.
        const QSize design = pixels(kClientTwips).size();
        const double fit =
            std::max(kMinimumZoom, std::min(static_cast<double>(m_band->width()) / design.width(),
                                            static_cast<double>(m_band->height()) / design.height()));
        if (pixels(kClientTwips, fit).size() != pixels(kClientTwips, m_zoom).size()) setZoom(fit);
        placeClient();
    }
    return QMainWindow::eventFilter(watched, event);
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
    if (w != nullptr) applyDesign(*w, design, m_zoom);
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
    keepOnScreen();
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
    w->setGeometry(pixels(c.rect(), m_zoom));
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
    if (dynamic_cast<ReadingLabel*>(w) == nullptr) fitText(*w, fontOf(c.design(), m_zoom));
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
