#include "splash/qt_form2_view.h"

#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

#include "texts/texts.h"
#include "forms/qt_form_widgets.h"

namespace hvr::gui {

namespace {

// A picture or area of the splash that reports a click.
class ClickArea final : public QLabel {
  public:
    ClickArea(std::function<void()> onClick, QWidget* parent)
        : QLabel(parent), m_onClick(std::move(onClick)) {}

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) m_onClick();
    }

  private:
    std::function<void()> m_onClick;
};

QFont face(const char* family, double points, bool bold = false) {
    QFont font(QString::fromUtf8(family));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// A sine wave across a rectangle.
QPainterPath wave(const QRectF& box, double cycles, double phase) {
    QPainterPath path;
    for (int i = 0; i <= 200; ++i) {
        const double t = i / 200.0;
        const QPointF p(box.left() + t * box.width(),
                        box.center().y() -
                            box.height() / 2 * std::sin(2 * std::numbers::pi * (cycles * t) + phase));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    return path;
}

} // namespace

QPixmap QtForm2View::background() {
    QPixmap pixmap(802, 466);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 466);
    sky.setColorAt(0, QColor(10, 36, 84));
    sky.setColorAt(1, QColor(4, 14, 36));
    p.fillRect(pixmap.rect(), sky);

    // A current transformer: the core ring, its winding, and the conductor through it.
    const QPointF centre(600, 190);
    p.setPen(QPen(QColor(200, 150, 60), 4));
    p.drawLine(QPointF(centre.x(), 30), QPointF(centre.x(), 350));
    QRadialGradient core(centre, 95);
    core.setColorAt(0.55, QColor(0, 0, 0, 0));
    core.setColorAt(0.6, QColor(120, 130, 150));
    core.setColorAt(0.85, QColor(70, 80, 100));
    core.setColorAt(0.9, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(core);
    p.drawEllipse(centre, 95, 95);
    p.setPen(QPen(QColor(210, 120, 40), 2));
    for (int i = 0; i < 36; ++i) {
        const double a = i * std::numbers::pi / 18;
        p.drawLine(centre + QPointF(55 * std::cos(a), 55 * std::sin(a)),
                   centre + QPointF(88 * std::cos(a), 88 * std::sin(a)));
    }

    // Primary and secondary current, red and green as the program draws them.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(230, 60, 60), 3));
    p.drawPath(wave(QRectF(40, 250, 400, 60), 3, 0));
    p.setPen(QPen(QColor(60, 220, 90), 3));
    p.drawPath(wave(QRectF(40, 265, 400, 30), 3, 0.3));

    p.setPen(Qt::white);
    p.setFont(face("黑体", 30, true));
    p.drawText(QRectF(40, 70, 520, 60), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("无线高压变比监控软件"));
    p.setFont(face("黑体", 14));
    p.setPen(QColor(170, 200, 240));
    p.drawText(QRectF(42, 135, 500, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("电流互感器变比测试 · 实时监控 · 历史数据 · 打印"));
    p.drawText(QRectF(42, 170, 200, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("V1.0.1"));

    // The maker's corner, where a click opens the web site.
    p.setFont(face("宋体", 11));
    p.setPen(QColor(200, 210, 230));
    p.drawText(QRectF(528, 372, 240, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8(texts::kMakerName));
    p.setPen(QColor(120, 180, 255));
    p.drawText(QRectF(528, 398, 240, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8(texts::kMakerWebAddress));
    return pixmap;
}

QPixmap QtForm2View::smallPicture(int which) {
    QPixmap pixmap(97, 49);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(pixmap.rect(), QColor(4, 14, 36));
    p.setPen(QPen(which == 1 ? QColor(60, 220, 90) : QColor(250, 210, 60), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1, 1, 95, 47), 8, 8);
    p.setFont(face("黑体", 12, true));
    p.drawText(QRectF(0, 0, 97, 49), Qt::AlignCenter, QStringLiteral("进  入"));
    return pixmap;
}

QtForm2View::QtForm2View(Form2& form, double zoom, QWidget* parent) : QDialog(parent), m_form(form) {
    setObjectName("Form2");
    setWindowFlag(Qt::FramelessWindowHint);
    setFixedSize(pixels(form.Me.rect(), zoom).size());
    setWindowTitle(QStringLiteral("无线高压变比监控软件"));

    // Command1 lies under the pictures: it takes Enter and Esc and is never seen.
    auto* enter = new QPushButton(QString::fromStdString(form.Command1.text()), this);
    enter->setDefault(true);
    connect(enter, &QPushButton::clicked, this, [this] { forward([this] { m_form.Click("Command1"); }); });
    m_widgets["Command1"] = enter;

    const auto area = [this](const std::string& name) {
        return new ClickArea([this, name] { forward([this, name] { m_form.Click(name); }); }, this);
    };
    auto* image1 = area("Image1");
    image1->setPixmap(background());
    m_widgets["Image1"] = image1;
    for (int which : {1, 2}) {
        const std::string name = "Picture" + std::to_string(which);
        auto* picture = area(name);
        picture->setPixmap(smallPicture(which));
        picture->setCursor(Qt::PointingHandCursor);
        m_widgets[name] = picture;
    }
    auto* image2 = area("Image2");
    image2->setCursor(Qt::PointingHandCursor);
    m_widgets["Image2"] = image2;

    enter->lower();
    for (Control* c : form.controls()) {
        const auto found = m_widgets.find(c->name());
        if (found == m_widgets.end()) continue;
        found->second->setObjectName(QString::fromStdString(c->name()));
        found->second->setGeometry(pixels(c->rect(), zoom));
        if (auto* picture = qobject_cast<QLabel*>(found->second)) picture->setScaledContents(zoom != 1);
    }
    enter->setFocus();
    render();
}

void QtForm2View::forward(const std::function<void()>& handler) {
    handler();
    render();
}

void QtForm2View::render() {
    for (Control* c : m_form.controls()) {
        const auto found = m_widgets.find(c->name());
        if (found != m_widgets.end() && c->name() != "Command1") found->second->setVisible(c->visible());
    }
    if (m_form.closed()) hide();
}

QWidget* QtForm2View::widget(const std::string& name) const {
    const auto found = m_widgets.find(name);
    return found == m_widgets.end() ? nullptr : found->second;
}

void QtForm2View::reject() {
    forward([this] { m_form.Click("Command1"); }); // Esc enters the program too
}

} // namespace hvr::gui
