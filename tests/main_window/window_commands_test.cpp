// The main window's own commands: what load shows, the two layouts, the menus by name, exit,
// the footer link and the commands whose windows come later.
#include <gtest/gtest.h>

#include "texts/texts.h"
#include "tests/support/form_harness.h"

namespace hvr {
namespace {

using testing::FormHarness;

class WindowCommands : public ::testing::Test {
  protected:
    void SetUp() override { f.Form_Load(); }
    FormHarness h;
    Form1& f = *h.form;
};

TEST_F(WindowCommands, LoadSetsTheCaptionSizeAndFooter) {
    EXPECT_EQ(f.Me.text(), "无线高压变比监控软件 V1.0.1");
    EXPECT_EQ(f.Me.rect(), (Rect{0, 0, 15360, 11110}));
    EXPECT_EQ(f.Label4.rect().width, 15230);
    const std::string footer = f.Label4.text();
    EXPECT_TRUE(
        footer.starts_with(std::string(37, '-') + "KOVRA电子科技有限公司" + std::string(10, '-') + "网址:"));
    EXPECT_NE(footer.find(std::string(12, '-') + "E-mail:"), std::string::npos);
    EXPECT_TRUE(footer.ends_with(std::string(46, '-')));
    EXPECT_EQ(f.Text32.text(), " 历史数据记录");
}

TEST_F(WindowCommands, TheLayoutsShowTheirControlsAndBack) {
    EXPECT_TRUE(f.Picture1.visible());
    EXPECT_TRUE(f.Frame6.visible());
    EXPECT_TRUE(f.Picture6.visible());
    EXPECT_FALSE(f.Frame5.visible());
    EXPECT_FALSE(f.Command15.enabled());
    EXPECT_FALSE(f.Command16.enabled());

    f.Click("Command9");
    EXPECT_FALSE(f.Picture5.visible());
    EXPECT_FALSE(f.Picture1.visible());
    EXPECT_FALSE(f.Picture6.visible());
    EXPECT_FALSE(f.Frame6.visible());
    EXPECT_TRUE(f.Frame5.visible());
    EXPECT_TRUE(f.Text26.visible());
    EXPECT_TRUE(f.Command15.enabled());
    EXPECT_TRUE(f.Command16.enabled());
    EXPECT_TRUE(f.Option2.value());
    EXPECT_EQ(f.Command5.text(), "读  取");

    f.Click("sjk");
    EXPECT_TRUE(f.Picture5.visible());
    EXPECT_TRUE(f.Picture6.visible());
    EXPECT_FALSE(f.Text26.visible());
    EXPECT_TRUE(f.Option1.value());
    EXPECT_EQ(f.Command5.text(), "暂  停");
}

TEST_F(WindowCommands, EveryMenuEntryAndButtonHasItsHandler) {
    for (Control* c : f.controls()) {
        const bool clickable = c->kind() == ControlKind::CommandButton ||
                               (c->kind() == ControlKind::Menu && c->container() != "Form1");
        if (!clickable || c->name() == "Command14") continue;
        FormHarness fresh;
        fresh.form->Form_Load();
        fresh.dialogs.answers.push_back(false);
        fresh.dialogs.saveAnswers.push_back(std::nullopt);
        EXPECT_TRUE(fresh.form->Click(c->name())) << c->name();
    }
    EXPECT_FALSE(f.Click("Frame5"));
    EXPECT_FALSE(f.Click("nothing"));
}

TEST_F(WindowCommands, ExitEndsTheProgramAtOnce) {
    f.Click("l");
    EXPECT_EQ(h.events.quits, 1);
    EXPECT_TRUE(h.dialogs.boxes.empty()) << "no prompt";
}

TEST_F(WindowCommands, TheFooterOpensTheMakersSite) {
    f.Click("Label4");
    ASSERT_EQ(h.shell.opened.size(), 1u);
    EXPECT_EQ(h.shell.opened[0], texts::kMakerWebAddress);
    EXPECT_NE(f.Label4.text().find(h.shell.opened[0]), std::string::npos) << "the address the footer shows";
    EXPECT_TRUE(h.dialogs.boxes.empty());
}

TEST_F(WindowCommands, TheCalculatorEntryAsksTheHostForItsWindow) {
    int opened = 0;
    f.setCalculatorOpener([&] { ++opened; });
    f.Click("js_f3");
    f.Click("js_f3");
    EXPECT_EQ(opened, 2) << "the host shows the one window, or raises it";
    EXPECT_TRUE(h.dialogs.boxes.empty());
}

TEST_F(WindowCommands, PrintMenuActsOnlyWhileThePrintButtonIsEnabled) {
    f.Click("d_uy_x"); // real-time monitoring: Command16 is disabled
    EXPECT_TRUE(h.dialogs.boxes.empty());
}

} // namespace
} // namespace hvr
