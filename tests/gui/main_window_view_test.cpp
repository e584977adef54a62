// The main window as a person uses it, driven through its widgets by object name, over the form
// model on fake services.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QMouseEvent>
#include <QTest>

#include "forms/qt_form_widgets.h"
#include "main_window/qt_form1_view.h"
#include "platform/qt_canvas.h"
#include "texts/texts.h"
#include "tests/support/form_harness.h"
#include "tests/support/store_builder.h"

namespace hvr {
namespace {

using gui::QtForm1View;
using testing::FormHarness;
using testing::frame;

class MainWindowView : public ::testing::Test {
  protected:
    void SetUp() override {
        h.form->Form_Load();
        view.render();
    }
    template <typename T> T* find(const char* name) {
        T* w = view.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString text(const char* name) {
        if (auto* label = view.findChild<QLabel*>(name)) return label->text();
        if (auto* edit = view.findChild<QLineEdit*>(name)) return edit->text();
        if (auto* button = view.findChild<QPushButton*>(name)) return button->text();
        return "?";
    }
    bool shown(const char* name) { return find<QWidget>(name)->isVisibleTo(&view); }
    void click(const char* name) { find<QPushButton>(name)->click(); }
    void trigger(const char* name) { find<QAction>(name)->trigger(); }
    // A timer tick, as the program's timers deliver it.
    void tick(void (Form1::*handler)()) {
        (h.form.get()->*handler)();
        view.render();
    }

    FormHarness h;
    QtForm1View view{*h.form};
};

TEST_F(MainWindowView, OptionButtonsAreRadioButtonsToEveryone) {
    for (const char* name : {"Option1", "Option2", "Option3", "Option4", "Option5", "Option6"}) {
        QAccessibleInterface* about = QAccessible::queryAccessibleInterface(find<QRadioButton>(name));
        ASSERT_NE(about, nullptr) << name;
        EXPECT_EQ(about->role(), QAccessible::RadioButton) << name;
    }
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    QRadioButton* milliamps = find<QRadioButton>("Option4");
    ASSERT_TRUE(milliamps->isChecked());
    milliamps->setFocus();
    QTest::keyClick(milliamps, Qt::Key_Down); // to "A", as arrow keys move between radio buttons
    EXPECT_TRUE(h.form->Option3.value()) << "the model decides, and it was told";
    EXPECT_FALSE(h.form->Option4.value());
    EXPECT_TRUE(find<QRadioButton>("Option3")->isChecked());
    EXPECT_FALSE(milliamps->isChecked());
    EXPECT_FALSE(find<QRadioButton>("Option6")->isChecked()) << "each pair is its own group";
}

TEST_F(MainWindowView, EveryControlHasAWidgetOfItsNameParentAndPlace) {
    for (Control* c : h.form->controls()) {
        const QString name = QString::fromStdString(c->name());
        if (c->kind() == ControlKind::Timer) continue;
        if (c->kind() == ControlKind::Menu) {
            EXPECT_NE(view.action(c->name()), nullptr) << c->name();
            continue;
        }
        QWidget* w = view.widget(c->name());
        ASSERT_NE(w, nullptr) << c->name();
        EXPECT_EQ(w->objectName(), name);
        const QString container = QString::fromStdString(c->container());
        EXPECT_EQ(w->parentWidget()->objectName(), container == "Form1" ? "Form1Client" : container)
            << c->name();
        const Rect r = c->rect();
        EXPECT_EQ(w->geometry(), QRect(r.left / 15, r.top / 15, r.width / 15, r.height / 15)) << c->name();
    }
    EXPECT_NE(qobject_cast<QRadioButton*>(view.widget("Option1")), nullptr);
    EXPECT_NE(qobject_cast<QGroupBox*>(view.widget("Frame7")), nullptr);
    EXPECT_NE(qobject_cast<QComboBox*>(view.widget("Combo1")), nullptr);
}

TEST_F(MainWindowView, LoadShowsRealTimeMonitoring) {
    EXPECT_EQ(view.windowTitle(), "无线高压变比监控软件 V1.0.1");
    EXPECT_EQ(text("Command5"), "暂  停");
    EXPECT_EQ(text("Label1"), "最大电流值: 0mA");
    EXPECT_EQ(text("Text40"), "与KOVRA460连接失败");
    EXPECT_TRUE(text("Label4").startsWith("-------------------------------------KOVRA电子科技有限公司"));
    EXPECT_TRUE(shown("Picture1"));
    EXPECT_TRUE(shown("Frame6"));
    EXPECT_TRUE(shown("Picture6"));
    EXPECT_FALSE(shown("Text1"));
    EXPECT_FALSE(shown("Picture4"));
    EXPECT_TRUE(find<QRadioButton>("Option1")->isChecked());
    EXPECT_FALSE(find<QRadioButton>("Option2")->isEnabled());
    EXPECT_TRUE(find<QPushButton>("Command1")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("Command15")->isEnabled());
}

TEST_F(MainWindowView, BothLayoutsAndBack) {
    click("Command9");
    EXPECT_FALSE(shown("Picture5"));
    EXPECT_FALSE(shown("Picture1"));
    EXPECT_FALSE(shown("Picture6"));
    EXPECT_TRUE(shown("Text26"));
    EXPECT_TRUE(shown("Frame5"));
    EXPECT_EQ(text("Text32"), " 历史数据记录");
    EXPECT_EQ(text("Command5"), "读  取");
    EXPECT_TRUE(find<QRadioButton>("Option2")->isChecked());
    EXPECT_TRUE(find<QPushButton>("Command16")->isEnabled());

    trigger("sjk");
    EXPECT_TRUE(shown("Picture1"));
    EXPECT_FALSE(shown("Text26"));
    EXPECT_EQ(text("Command5"), "暂  停");
}

TEST_F(MainWindowView, MenuEntriesActOnlyWhenTheirCaptionsSaySo) {
    trigger("ducu"); // "读  取" while the button pauses: ignored
    EXPECT_EQ(text("Command5"), "暂  停");
    trigger("jx_11"); // "继  续" while the button pauses: ignored
    EXPECT_EQ(h.form->live_polling, 1);
    trigger("zt_1");
    EXPECT_EQ(text("Command5"), "继  续");
    EXPECT_EQ(h.form->live_polling, 0);
    trigger("zt_1");
    EXPECT_EQ(text("Command5"), "继  续");
    trigger("jx_11");
    EXPECT_EQ(text("Command5"), "暂  停");

    trigger("qikon"); // clear: Command2 is disabled in real-time monitoring
    trigger("d_uy_x");
    EXPECT_TRUE(h.dialogs.boxes.empty());

    EXPECT_EQ(find<QAction>("js_f3")->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(find<QAction>("d_uy_x")->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(view.menuBar()->actions().size(), 5);
}

TEST_F(MainWindowView, LockingAChannelAndItsLampOverTheTicks) {
    auto* entry = find<QLineEdit>("Text35");
    EXPECT_EQ(entry->maxLength(), 5);
    QTest::keyClicks(entry, "2.5");
    find<QRadioButton>("Option3")->click(); // "A"
    EXPECT_FALSE(find<QRadioButton>("Option4")->isChecked()) << "one unit at a time";
    click("Command6");
    EXPECT_EQ(text("Command6"), "解除");
    EXPECT_FALSE(entry->isEnabled());
    EXPECT_EQ(h.form->sec_limit, (DecimalLimit{25, -1}));

    h.startLive();
    h.form->live_frames = 9;
    h.live(frame(250, '2', 6000, '1')); // exactly 2.5 A
    EXPECT_EQ(h.form->sec_alarm, 100);
    const auto centre = [&] {
        QWidget* lamp = view.widget("Shape1");
        return lamp->grab().toImage().pixelColor(lamp->width() / 2, lamp->height() / 2);
    };
    std::vector<QColor> seen;
    for (int i = 0; i < 4; ++i) {
        tick(&Form1::Timer3_Timer);
        seen.push_back(centre());
    }
    const QColor red(255, 0, 0);
    EXPECT_TRUE((seen[0] == red) != (seen[1] == red)) << "red every other tick";
    EXPECT_EQ(seen[0], seen[2]);
    EXPECT_EQ(seen[1], seen[3]);

    click("Command6");
    EXPECT_EQ(text("Command6"), "锁定");
    EXPECT_TRUE(entry->isEnabled());
    EXPECT_EQ(h.form->Shape1.fillColor(), colors::kGreen);
}

TEST_F(MainWindowView, ALimitThatIsNotANumberIsSaidInABox) {
    QTest::keyClicks(find<QLineEdit>("Text29"), "abcdefg");
    EXPECT_EQ(text("Text29"), "abcde") << "five characters at most";
    click("Command10");
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.dialogs.boxes[0].text, "数据类型有误");
    EXPECT_EQ(h.dialogs.boxes[0].title, "系统提示");
    EXPECT_EQ(text("Text29"), "");
    EXPECT_EQ(text("Command10"), "锁定");
}

TEST_F(MainWindowView, ExitAndTheCloseBoxEndTheProgram) {
    trigger("l");
    EXPECT_EQ(h.events.quits, 1);
    view.show();
    view.close();
    EXPECT_EQ(h.events.quits, 2);
}

TEST_F(MainWindowView, TheFooterIsALinkAnywhereOnIt) {
    auto* footer = find<QLabel>("Label4");
    EXPECT_EQ(footer->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(footer, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(footer, Qt::LeftButton, {}, QPoint(footer->width() - 5, 5));
    ASSERT_EQ(h.shell.opened.size(), 2u);
    EXPECT_EQ(h.shell.opened[0], texts::kMakerWebAddress);
    EXPECT_TRUE(h.dialogs.boxes.empty());
}

TEST_F(MainWindowView, ReadOnlyBoxesShowNoCaretTheLimitEntriesDo) {
    const auto caretWidth = [&](const char* name) {
        QWidget* w = find<QWidget>(name);
        return w->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, w);
    };
    EXPECT_EQ(caretWidth("Text1"), 0);
    EXPECT_EQ(caretWidth("Text27"), 0);
    EXPECT_EQ(caretWidth("Text40"), 0);
    EXPECT_GT(caretWidth("Text29"), 0);
    EXPECT_GT(caretWidth("Text35"), 0);
    EXPECT_TRUE(find<QLineEdit>("Text1")->isReadOnly());
    EXPECT_FALSE(find<QLineEdit>("Text27")->isReadOnly()) << "the page entry takes a number";
}

TEST_F(MainWindowView, ALiveFrameReRendersOnlyWhatChanged) {
    h.startLive();
    h.form->live_frames = 9;
    h.live(frame(500, '2', 6000, '1'));
    view.render();
    h.live(frame(501, '2', 6000, '1'));
    const int rendered = view.render();
    EXPECT_GT(rendered, 0);
    EXPECT_LT(rendered, 12);
    EXPECT_EQ(text("Label10"), "5.01A");
    EXPECT_EQ(view.render(), 0);
}

TEST_F(MainWindowView, DraggingOnTheHistoryCurveReachesTheModelInPixels) {
    for (int i = 0; i < 100; ++i)
        testing::putGroup(*h.form, i, {i + 1, '2', 1000, '2', 100});
    click("Command9");
    click("Command15");
    QWidget* curve = view.widget("Picture1");
    ASSERT_TRUE(shown("Picture1"));
    QTest::mousePress(curve, Qt::LeftButton, {}, QPoint(96, 100));    // 540 + 900 twips
    QTest::mouseRelease(curve, Qt::LeftButton, {}, QPoint(336, 100)); // 540 + 4500 twips
    EXPECT_EQ(h.form->plot_first, 10);
    EXPECT_EQ(h.form->plot_last, 50);
    EXPECT_TRUE(shown("Frame7")) << "the statistics are seen with the history curve";
    EXPECT_TRUE(text("Label1").startsWith("最大电流值:"));
}

TEST_F(MainWindowView, ThePointerOverTheCurveIsReadOutOnTheSupervisionTick) {
    QWidget* curve = view.widget("Picture1");
    QMouseEvent move(QEvent::MouseMove, QPointF(200, 200), curve->mapToGlobal(QPointF(200, 200)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(curve, &move);
    tick(&Form1::Timer1_Timer);
    EXPECT_TRUE(text("Text37").endsWith("A")) << text("Text37").toStdString();
}

TEST(WindowZoom, EveryControlKeepsItsProportionsAndItsNeighbours) {
    FormHarness h;
    std::vector<const Control*> placed;
    for (const Control* c : h.form->controls())
        if (c->kind() != ControlKind::Menu && c->kind() != ControlKind::Timer) placed.push_back(c);
    for (const Control* c : placed)
        EXPECT_EQ(gui::pixels(c->rect(), 1),
                  QRect(c->rect().left / 15, c->rect().top / 15, c->rect().width / 15, c->rect().height / 15))
            << "zoom 1 is the design: " << c->name();
    for (double zoom : {0.75, 1.0, 1.5, 2.0})
        for (const Control* a : placed)
            for (const Control* b : placed) {
                if (a->container() != b->container()) continue;
                const Rect& r = a->rect();
                const QRect pa = gui::pixels(r, zoom), pb = gui::pixels(b->rect(), zoom);
                if (r.left + r.width == b->rect().left) {
                    EXPECT_EQ(pa.right() + 1, pb.left()) << a->name() << zoom;
                }
                if (r.top + r.height == b->rect().top) {
                    EXPECT_EQ(pa.bottom() + 1, pb.top()) << a->name() << zoom;
                }
            }
    for (const Control* c : placed)
        EXPECT_NEAR(gui::pixels(c->rect(), 1.5).width(), c->rect().width * 1.5 / 15, 1) << c->name();
    // The chart's geometry at zoom 1.5: a tenth of its twips, to the nearest pixel.
    EXPECT_EQ(platform::canvasPixel(540, 1.5), 54);
    EXPECT_EQ(platform::canvasPixel(10755, 1.5), 1076);
    EXPECT_EQ(platform::canvasPixel(10745, 1.5), 1075) << "1074.5 rounds up";
}

TEST_F(MainWindowView, AWindowMadeSmallShowsAllOfItsFormAndCtrl0BringsTheDesignBack) {
    view.show();
    view.resize(800, 600);
    QCoreApplication::processEvents();
    EXPECT_LT(view.zoom(), 0.8);
    const QRect window = view.rect();
    for (const Control* c : h.form->controls()) {
        QWidget* w = view.widget(c->name());
        if (w == nullptr || !w->isVisibleTo(&view)) continue;
        const QRect placed(w->mapTo(&view, QPoint(0, 0)), w->size());
        EXPECT_TRUE(window.contains(placed)) << c->name();
    }
    EXPECT_EQ(find<QLabel>("Label4")->font().pointSizeF(), 9 * view.zoom()) << "the fonts follow the zoom";

    find<QAction>("zoomReset")->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(view.zoom(), 1);
    EXPECT_EQ(view.findChild<QWidget*>("Form1Client")->size(), QSize(1016, 712));
    EXPECT_EQ(view.widget("Command5")->geometry(), gui::pixels(h.form->Command5.rect()));
}

TEST_F(MainWindowView, ADragOnTheCurveCountsInTheDesignsPixels) {
    for (int i = 0; i < 100; ++i)
        testing::putGroup(*h.form, i, {i + 1, '2', 1000, '2', 100});
    view.show();
    view.zoomTo(1.25); // a zoom at which the window fits the laptop's screen
    QCoreApplication::processEvents();
    ASSERT_EQ(view.zoom(), 1.25);
    click("Command9");
    click("Command15");
    QWidget* curve = view.widget("Picture1");
    const double scale = h.form->curve_scale;
    QTest::mousePress(curve, Qt::LeftButton, {}, QPoint(300, 300));
    QTest::mouseRelease(curve, Qt::LeftButton, {}, QPoint(300, 263)); // 37 pixels: 30 of the design, rounded
    EXPECT_EQ(h.form->curve_scale, scale);
    QTest::mousePress(curve, Qt::LeftButton, {}, QPoint(300, 300));
    QTest::mouseRelease(curve, Qt::LeftButton, {}, QPoint(300, 261)); // 39 pixels: 31 of the design
    EXPECT_NE(h.form->curve_scale, scale) << "a coarser scale";
}

} // namespace
} // namespace hvr
