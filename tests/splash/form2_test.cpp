// The splash window: its animation over time, entering the program once, the web link.
#include <gtest/gtest.h>

#include "texts/texts.h"
#include "splash/form2.h"
#include "tests/support/fake_services.h"

namespace hvr {
namespace {

class Splash : public ::testing::Test {
  protected:
    testing::FakeShell shell;
    int entered = 0;
    Form2 form{shell, [this] { ++entered; }};
    void SetUp() override { form.Form_Load(); }
    // Which picture shows, and when the next tick comes.
    std::pair<int, int> state() const {
        EXPECT_NE(form.Picture1.visible(), form.Picture2.visible()) << "one picture at a time";
        return {form.Picture1.visible() ? 1 : 2, form.Timer1.interval()};
    }
};

TEST_F(Splash, StartsWithTheFirstPictureAndATwoSecondPause) {
    EXPECT_EQ(state(), std::make_pair(1, 2000));
    EXPECT_TRUE(form.Timer1.enabled());
}

TEST_F(Splash, AlternatesFiveTimesThenRestsInACycleOfThreeAndAHalfSeconds) {
    const std::vector<std::pair<int, int>> cycle{{1, 100},  {2, 100},  {1, 100}, {2, 100},
                                                 {1, 1500}, {1, 1500}, {2, 100}};
    form.Timer1_Timer(); // counter 1
    std::vector<std::pair<int, int>> seen{state()};
    for (int i = 0; i < 6; ++i) {
        form.Timer1_Timer();
        seen.push_back(state());
    }
    EXPECT_EQ(seen, cycle);
    int total = 0;
    for (int i = 0; i < 7; ++i) {
        total += form.Timer1.interval();
        form.Timer1_Timer();
    }
    EXPECT_EQ(total, 5 * 100 + 2 * 1500) << "3.5 s a cycle";
    EXPECT_EQ(entered, 0) << "it never closes by itself";
}

TEST_F(Splash, EnteringInAnyStateOpensTheMainWindowOnceAndStopsTheTimer) {
    for (int ticks = 0; ticks < 7; ++ticks) {
        testing::FakeShell otherShell;
        int opened = 0;
        Form2 splash(otherShell, [&] { ++opened; });
        splash.Form_Load();
        for (int i = 0; i < ticks; ++i)
            splash.Timer1_Timer();
        splash.Click(ticks % 2 == 0 ? "Image1" : "Picture1");
        splash.Click("Command1");
        splash.Click("Picture2");
        EXPECT_EQ(opened, 1) << ticks;
        EXPECT_FALSE(splash.Timer1.enabled());
        EXPECT_TRUE(splash.closed());
    }
}

TEST_F(Splash, TheMakersCornerOpensTheWebSite) {
    form.Click("Image2");
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], texts::kMakerWebAddress);
    EXPECT_EQ(entered, 0);
    EXPECT_FALSE(form.closed());
}

} // namespace
} // namespace hvr
