// The calculator beside the main window, and the splash that leads into it.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <QSettings>
#include <QTableView>

#include <memory>

#include "analysis/qt_error_analysis_view.h"
#include "calculator/qt_form4_view.h"
#include "main_window/form1.h"
#include "main_window/qt_application.h"
#include "platform/qt_settings.h"
#include "platform/qt_translations.h"
#include "main_window/qt_form1_view.h"
#include "splash/qt_form2_view.h"
#include "tests/support/fake_services.h"
#include "tests/support/store_builder.h"
#include "tests/support/window_program.h"

namespace hvr {
namespace {

std::vector<gui::QtForm4View*> calculators() {
    std::vector<gui::QtForm4View*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* calculator = dynamic_cast<gui::QtForm4View*>(w);
            calculator != nullptr && calculator->isVisible())
            found.push_back(calculator);
    return found;
}

// The whole program on a port that is not there: its windows without an instrument.
std::unique_ptr<gui::MainWindowProgram> startedProgram() {
    return testing::startedOn("/nonexistent/tty");
}

TEST(QtDialogs, SpeakChineseWhateverTheLocale) {
    ASSERT_TRUE(platform::installChineseQtTranslations()) << "qt6-translations-l10n is installed by ./run";
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                             QDialogButtonBox::No | QDialogButtonBox::Save);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Ok)->text(), "确定");
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), "取消");
    EXPECT_EQ(buttons.button(QDialogButtonBox::Yes)->text().left(1), "是");
    EXPECT_EQ(buttons.button(QDialogButtonBox::No)->text().left(1), "否");
    EXPECT_EQ(buttons.button(QDialogButtonBox::Save)->text().left(2), "保存");
}

TEST(CalculatorMenu, GoesBesideTheMainWindowWhereTheScreenHasRoom) {
    const QSize calculator(400, 300);
    const QRect screen(0, 0, 1920, 1040);
    EXPECT_EQ(gui::placeBeside({100, 0, 1030, 760}, calculator, screen), QPoint(1130, 0)) << "to the right";
    EXPECT_EQ(gui::placeBeside({800, 500, 1030, 760}, calculator, screen), QPoint(400, 500)) << "to the left";
    EXPECT_EQ(gui::placeBeside({900, 900, 500, 100}, calculator, screen), QPoint(1400, 740))
        << "beside, and kept on the screen";
    EXPECT_EQ(gui::placeBeside({0, 0, 1366, 740}, calculator, {0, 0, 1366, 740}), QPoint(966, 440))
        << "no room either side: the screen's corner";
}

TEST(CalculatorMenu, F2TwiceShowsOneCalculatorBesideTheMainWindow) {
    const auto started = startedProgram();
    ASSERT_TRUE(started);
    gui::MainWindowProgram& program = *started;
    QAction* f2 = program.view().action("js_f3");
    ASSERT_EQ(f2->shortcut(), QKeySequence(Qt::Key_F2));
    f2->trigger();
    f2->trigger();
    const auto open = calculators();
    ASSERT_EQ(open.size(), 1u);
    EXPECT_FALSE(open[0]->isModal()) << "the main window stays usable";
    EXPECT_EQ(open[0]->windowTitle(), "YY折算变比计算器");
    for (const char* name : {"Option1", "Option2", "Option3", "Option4"})
        EXPECT_EQ(QAccessible::queryAccessibleInterface(open[0]->findChild<QRadioButton*>(name))->role(),
                  QAccessible::RadioButton)
            << name;

    // Typed in, computed with Enter, closed with Esc.
    QTest::keyClicks(open[0]->findChild<QLineEdit*>("Text1"), "600");
    QTest::keyClicks(open[0]->findChild<QLineEdit*>("Text2"), "5");
    open[0]->findChild<QRadioButton*>("Option2")->click();
    open[0]->findChild<QRadioButton*>("Option4")->click();
    QTest::keyClick(open[0]->findChild<QLineEdit*>("Text2"), Qt::Key_Return);
    EXPECT_EQ(open[0]->findChild<QLabel*>("Label6")->text(), "600A / 5A");
    EXPECT_EQ(open[0]->findChild<QLineEdit*>("Text1")->maxLength(), 5);
    QTest::keyClick(open[0], Qt::Key_Escape);
    EXPECT_TRUE(calculators().empty());

    f2->trigger(); // opened again: fresh, units on mA
    ASSERT_EQ(calculators().size(), 1u);
    EXPECT_TRUE(calculators()[0]->findChild<QRadioButton*>("Option1")->isChecked());
    EXPECT_EQ(calculators()[0]->findChild<QLineEdit*>("Text1")->text(), "");
}

TEST(AnalysisMenu, F4ShowsOneAnalysisWindowWithTheGroupsSortableByNumber) {
    QSettings().remove("analysis");
    const auto started = startedProgram();
    ASSERT_TRUE(started);
    gui::MainWindowProgram& program = *started;
    Form1& form = program.form();
    testing::putGroup(form, 0, {1, '1', 6000, '2', 501});
    testing::putGroup(form, 1, {2, '1', 1200, '2', 99});
    testing::putGroup(form, 2, {3, '1', 6000, '2', 498});
    ++form.store_revision;

    QAction* f4 = program.view().action("errorAnalysis");
    ASSERT_EQ(f4->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_EQ(program.view().zoom(), 1) << "the design fits the laptop's screen";
    program.view().zoomTo(1.25);
    f4->trigger();
    f4->trigger();
    std::vector<gui::QtErrorAnalysisView*> open;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* view = dynamic_cast<gui::QtErrorAnalysisView*>(w); view != nullptr && view->isVisible())
            open.push_back(view);
    ASSERT_EQ(open.size(), 1u);
    EXPECT_FALSE(open[0]->isModal());
    EXPECT_EQ(open[0]->windowTitle(), "互感器变比误差分析");
    EXPECT_EQ(open[0]->size(), QSize(1200, 777)) << "the main window's zoom, 1.25";

    auto* rated = open[0]->findChild<QLineEdit*>("ratedEntry");
    QTest::keyClicks(rated, "300/5"); // not the guess: Enter takes it
    QTest::keyClick(rated, Qt::Key_Return);
    auto* table = open[0]->findChild<QTableView*>("groupTable");
    ASSERT_NE(table, nullptr);
    const QAbstractItemModel* rows = table->model();
    ASSERT_EQ(rows->rowCount(), 3);
    const auto column = [&](int c) {
        QStringList cells;
        for (int r = 0; r < rows->rowCount(); ++r)
            cells << rows->index(r, c).data().toString();
        return cells;
    };
    EXPECT_EQ(column(4), QStringList({"-49.900%", "-50.500%", "-50.200%"})) << "store order";
    table->sortByColumn(4, Qt::AscendingOrder);
    EXPECT_EQ(column(4), QStringList({"-50.500%", "-50.200%", "-49.900%"})) << "by the number";
    EXPECT_EQ(column(0), QStringList({"2", "3", "1"}));
}

TEST(WindowPlace, TheRememberedZoomAndSizeAreClampedToTheScreen) {
    {
        QSettings settings;
        platform::rememberWindow(settings, {3.0, QSize(5000, 4000)}); // from a larger screen
    }
    const auto started = startedProgram();
    ASSERT_TRUE(started);
    gui::MainWindowProgram& program = *started;
    QSettings().remove("window");
    EXPECT_LT(program.view().zoom(), 1.5) << "as far as 1920 × 1080 holds";
    EXPECT_GE(program.view().zoom(), 1.0);
    EXPECT_TRUE(
        QGuiApplication::primaryScreen()->availableGeometry().contains(program.view().frameGeometry()));
}

// Also run on a 1366 × 768 laptop at 125 % (see the suite's list).
TEST(WindowPlace, StaysOnTheScreenAfterARestoredSizeAndEveryZoomKey) {
    {
        QSettings settings;
        platform::rememberWindow(settings, {2.0, QSize(2100, 1500)}); // left at a larger zoom
    }
    const auto started = startedProgram();
    ASSERT_TRUE(started);
    gui::MainWindowProgram& program = *started;
    QSettings().remove("window");
    gui::QtForm1View& view = program.view();
    const QRect area = view.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(view.frameGeometry())) << "restored";
    for (const char* key : {"zoomReset", "zoomIn", "zoomIn", "zoomOut", "zoomReset"}) {
        view.findChild<QAction*>(key)->trigger();
        EXPECT_TRUE(area.contains(view.frameGeometry())) << "after " << key << ", zoom " << view.zoom();
    }
    view.move(area.right() - 100, area.bottom() - 100); // dragged nearly off the screen
    view.findChild<QAction*>("zoomReset")->trigger();
    EXPECT_TRUE(area.contains(view.frameGeometry())) << "moved back onto the screen";
    EXPECT_NEAR(view.zoom(), std::min(1.0, view.fittingZoom()), 0.01) << "zoomed down only where 1 cannot fit";
}

TEST(SplashWindow, EnterOrEscOpensTheMainWindowOnce) {
    testing::FakeShell shell;
    int opened = 0;
    Form2 splash(shell, [&] { ++opened; });
    splash.Form_Load();
    gui::QtForm2View view(splash);
    view.show();
    EXPECT_EQ(view.size(), QSize(803, 467));
    EXPECT_EQ(view.widget("Picture1")->size(), QSize(97, 49));
    QWidget* command1 = view.widget("Command1");
    EXPECT_NE(view.childAt(command1->geometry().center()), command1)
        << "Command1 lies under the pictures, never seen";
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(opened, 1);
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(opened, 1) << "once";
    EXPECT_FALSE(view.isVisible());
}

TEST(SplashWindow, EscapeAndAClickOnThePictureEnterToo) {
    testing::FakeShell shell;
    int opened = 0;
    Form2 splash(shell, [&] { ++opened; });
    splash.Form_Load();
    gui::QtForm2View view(splash);
    view.show();
    QTest::mouseClick(view.widget("Image2"), Qt::LeftButton);
    EXPECT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(opened, 0);
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(opened, 1);

    Form2 second(shell, [&] { ++opened; });
    second.Form_Load();
    gui::QtForm2View other(second);
    other.show();
    QTest::mouseClick(other.widget("Picture1"), Qt::LeftButton);
    EXPECT_EQ(opened, 2);
}

} // namespace
} // namespace hvr
