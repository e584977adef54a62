// The print options dialog on screen: its widgets by name, Enter prints, Esc and the close box
// cancel.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "print/form3.h"
#include "print/qt_form3_view.h"
#include "tests/support/fake_services.h"

namespace hvr {
namespace {

class PrintOptionsView : public ::testing::Test {
  protected:
    PrintHandOff handOff;
    testing::FakeDialogs dialogs;
    Form3 form{handOff, 300, dialogs};
    void SetUp() override { form.Form_Load(); }
};

TEST_F(PrintOptionsView, ShowsTheModelsControlsInPlace) {
    gui::QtForm3View view(form);
    EXPECT_EQ(view.windowTitle(), "打印选项");
    EXPECT_EQ(view.size(), QSize(544, 302));
    auto* label = view.findChild<QLabel*>("Label1");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "共有:299组");
    EXPECT_EQ(label->parentWidget()->objectName(), "Frame1");
    EXPECT_EQ(view.widget("Text2")->geometry(), QRect(2880 / 15, 360 / 15, 855 / 15, 375 / 15));
    EXPECT_TRUE(view.findChild<QRadioButton*>("Option2")->isChecked());
}

TEST_F(PrintOptionsView, EnterPrintsTheTypedRange) {
    gui::QtForm3View view(form);
    view.show();
    view.findChild<QRadioButton*>("Option1")->click();
    QTest::keyClicks(view.findChild<QLineEdit*>("Text1"), "1");
    QTest::keyClicks(view.findChild<QLineEdit*>("Text2"), "2");
    QTest::keyClick(view.findChild<QLineEdit*>("Text2"), Qt::Key_Return);
    EXPECT_EQ(handOff.dayinlin, PrintHandOff::kPrint);
    EXPECT_EQ(handOff.dakai, 0);
    EXPECT_EQ(handOff.dajie, 2);
    EXPECT_FALSE(view.isVisible()) << "the dialog closes once decided";
}

TEST_F(PrintOptionsView, EscapeAndTheCloseBoxCancel) {
    {
        gui::QtForm3View view(form);
        view.show();
        QTest::keyClick(&view, Qt::Key_Escape);
        EXPECT_EQ(handOff.dayinlin, PrintHandOff::kCancel);
    }
    PrintHandOff other;
    Form3 second(other, 300, dialogs);
    gui::QtForm3View view(second);
    view.show();
    view.close();
    EXPECT_EQ(other.dayinlin, PrintHandOff::kCancel);
}

TEST_F(PrintOptionsView, AnInputErrorKeepsTheDialogOpen) {
    gui::QtForm3View view(form);
    view.show();
    view.findChild<QRadioButton*>("Option1")->click();
    QTest::keyClick(&view, Qt::Key_Return);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "输入错误");
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(handOff.dayinlin, PrintHandOff::kUndecided);
}

} // namespace
} // namespace hvr
