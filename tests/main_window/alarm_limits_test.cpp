// The alarm limits: reading the typed limit exactly, the lock buttons, the limit test of the
// live decode and the lamps.
#include <gtest/gtest.h>

#include "main_window/alarm_limits.h"
#include "texts/texts.h"
#include "tests/support/case_name.h"
#include "tests/support/form_harness.h"

namespace hvr {
namespace {

using testing::FormHarness;
using testing::frame;

struct LimitCase {
    const char* text;
    std::optional<DecimalLimit> limit;
};

class LimitEntry : public ::testing::TestWithParam<LimitCase> {};

TEST_P(LimitEntry, ReadsTheTypedNumberExactly) {
    EXPECT_EQ(parseLimit(GetParam().text), GetParam().limit);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, LimitEntry,
    ::testing::Values(LimitCase{"1.1", DecimalLimit{11, -1}}, LimitCase{"2.5", DecimalLimit{25, -1}},
                      LimitCase{"600", DecimalLimit{600, 0}}, LimitCase{" 600 ", DecimalLimit{600, 0}},
                      LimitCase{".5", DecimalLimit{5, -1}}, LimitCase{"5.", DecimalLimit{5, 0}},
                      LimitCase{"-1", DecimalLimit{-1, 0}}, LimitCase{"+2", DecimalLimit{2, 0}},
                      LimitCase{"0.05", DecimalLimit{5, -2}}, LimitCase{"0", DecimalLimit{}},
                      LimitCase{"1e3", DecimalLimit{1, 3}}, LimitCase{"1E-2", DecimalLimit{1, -2}},
                      LimitCase{"1E38", DecimalLimit{1, 38}}, LimitCase{"1E39", std::nullopt},
                      LimitCase{"4E38", std::nullopt}, LimitCase{"abc", std::nullopt},
                      LimitCase{"1.2.3", std::nullopt}, LimitCase{"1e", std::nullopt},
                      LimitCase{".", std::nullopt}, LimitCase{"- 1", std::nullopt},
                      LimitCase{"", std::nullopt}),
    [](const auto& info) { return testing::caseName(info.index, info.param.text); });

TEST(LimitTest, AReadingExactlyAtTheLimitReachesIt) {
    const DecimalLimit oneTenth{11, -1}; // "1.1"
    EXPECT_TRUE(secondaryLimitReached(110000, oneTenth, AlarmVariables::kUnitAmp));
    EXPECT_FALSE(secondaryLimitReached(109999, oneTenth, AlarmVariables::kUnitAmp));
    EXPECT_TRUE(primaryLimitReached(110000, oneTenth, AlarmVariables::kUnitAmp));
    EXPECT_FALSE(secondaryLimitReached(110000, oneTenth, 0)) << "no unit, no test";
}

TEST(LimitTest, ThePrimaryRoundsTheLimitToWholeBaseUnitsTheSecondaryDoesNot) {
    const DecimalLimit limit{1235, -3}; // 1.235 mA = 123.5 base units
    EXPECT_TRUE(primaryLimitReached(124, limit, AlarmVariables::kUnitMilliamp));
    EXPECT_FALSE(primaryLimitReached(123, limit, AlarmVariables::kUnitMilliamp)) << "123.5 rounds to 124";
    EXPECT_TRUE(primaryLimitReached(122, DecimalLimit{1225, -3}, AlarmVariables::kUnitMilliamp))
        << "122.5 rounds to 122";
    EXPECT_FALSE(secondaryLimitReached(123, limit, AlarmVariables::kUnitMilliamp));
    EXPECT_TRUE(secondaryLimitReached(124, limit, AlarmVariables::kUnitMilliamp));
}

TEST(LimitTest, HugeAndTinyLimitsCompareWithoutOverflow) {
    EXPECT_FALSE(secondaryLimitReached(6553500000, DecimalLimit{1, 38}, AlarmVariables::kUnitAmp));
    EXPECT_TRUE(secondaryLimitReached(1, DecimalLimit{1, -30}, AlarmVariables::kUnitAmp));
    EXPECT_FALSE(secondaryLimitReached(0, DecimalLimit{1, -30}, AlarmVariables::kUnitAmp));
    EXPECT_TRUE(primaryLimitReached(0, DecimalLimit{1, -30}, AlarmVariables::kUnitAmp));
    EXPECT_TRUE(secondaryLimitReached(0, DecimalLimit{-5, 0}, AlarmVariables::kUnitAmp));
}

class AlarmPanel : public ::testing::Test {
  protected:
    FormHarness h;
    Form1& f = *h.form;
    void SetUp() override { f.Form_Load(); }
    void showSecondary(std::uint16_t raw, std::uint8_t code) {
        h.startLive();
        f.live_frames = 9;
        h.live(frame(raw, code, 6000, '1'));
    }
};

TEST_F(AlarmPanel, LockingArmsTheLimitAndGreysTheEntry) {
    f.Text35.setText("2.5");
    f.Option3.setValue(true); // "A"
    f.Option4.setValue(false);
    f.Command6_Click();
    EXPECT_EQ(f.Command6.text(), "解除");
    EXPECT_EQ(f.sec_limit, (DecimalLimit{25, -1}));
    EXPECT_EQ(f.sec_limit_unit, AlarmVariables::kUnitAmp);
    EXPECT_EQ(f.sec_alarm_on, AlarmVariables::kOn);
    EXPECT_FALSE(f.Text35.enabled());
    EXPECT_FALSE(f.Option3.enabled());
    EXPECT_FALSE(f.Option4.enabled());

    showSecondary(250, '2'); // exactly 2.5 A
    EXPECT_EQ(f.sec_alarm, 100);
    showSecondary(249, '2');
    EXPECT_EQ(f.sec_alarm, 0);
}

TEST_F(AlarmPanel, OnePointOneAmperesAlarmsAtExactlyOnePointOne) {
    f.Text29.setText("1.1");
    f.Option6.setValue(true);
    f.Option5.setValue(false);
    f.Command10_Click();
    h.startLive();
    f.live_frames = 9;
    h.live(frame(100, '2', 110, '2')); // primary 1.10 A
    EXPECT_EQ(f.pri_alarm, 100);
}

TEST_F(AlarmPanel, ReleasingClearsEverythingAndTurnsTheLampGreen) {
    f.Text29.setText("600");
    f.Command10_Click(); // "mA" is selected at start
    EXPECT_EQ(f.pri_limit_unit, AlarmVariables::kUnitMilliamp);
    f.pri_alarm = 100;
    f.Shape4.setFillColor(colors::kRed);
    f.Command10_Click();
    EXPECT_EQ(f.Command10.text(), "锁定");
    EXPECT_EQ(f.pri_limit, DecimalLimit{});
    EXPECT_EQ(f.pri_limit_unit, 0);
    EXPECT_EQ(f.pri_alarm_on, 0);
    EXPECT_EQ(f.pri_alarm, 0);
    EXPECT_EQ(f.pri_blink, 0);
    EXPECT_TRUE(f.Text29.enabled());
    EXPECT_EQ(f.Shape4.fillColor(), colors::kGreen);
    EXPECT_EQ(f.Shape4.borderColor(), colors::kPurple);
    EXPECT_EQ(f.Text29.text(), "600") << "the entry keeps what was typed";
}

TEST_F(AlarmPanel, TheSecondaryButtonReadsWithABlankOnlyUntilItsFirstRelease) {
    EXPECT_EQ(f.Command6.text(), "锁 定");
    f.Command6_Click();
    f.Command6_Click();
    EXPECT_EQ(f.Command6.text(), "锁定");
}

TEST_F(AlarmPanel, AnEmptyEntryLocksWithoutATest) {
    f.sec_alarm = 100;
    f.Command6_Click();
    EXPECT_EQ(f.Command6.text(), "解除");
    EXPECT_EQ(f.sec_limit_unit, 0);
    EXPECT_FALSE(f.Text35.enabled());
    showSecondary(1, 'B');
    EXPECT_EQ(f.sec_alarm, 100) << "left as it was";
}

TEST_F(AlarmPanel, TextThatIsNotANumberSaysSoAndStaysReleased) {
    for (const char* bad : {"abc", "1E39"}) {
        f.Text29.setText(bad);
        f.Command10_Click();
        ASSERT_FALSE(h.dialogs.boxes.empty()) << bad;
        EXPECT_EQ(h.dialogs.boxes.back().text, "数据类型有误");
        EXPECT_EQ(h.dialogs.boxes.back().title, "系统提示");
        EXPECT_EQ(f.Text29.text(), "");
        EXPECT_EQ(f.Command10.text(), "锁定");
        EXPECT_EQ(f.pri_alarm_on, 0) << bad;
        EXPECT_TRUE(f.Text29.enabled());
    }
    EXPECT_EQ(h.dialogs.boxes.size(), 2u);
}

TEST_F(AlarmPanel, NoUnitSelectedArmsWithoutATest) {
    f.Text35.setText("3");
    f.Option4.setValue(false);
    f.Command6_Click();
    EXPECT_EQ(f.sec_alarm_on, AlarmVariables::kOn);
    EXPECT_EQ(f.sec_limit_unit, 0);
}

TEST_F(AlarmPanel, AReloadedWindowShowsTheLockTheVariablesHold) {
    f.Text35.setText("2.5");
    f.Option3.setValue(true);
    f.Option4.setValue(false);
    f.Command6_Click();
    // The window's controls as designed again, the variables kept, then its load.
    f.Command6.setText("锁 定");
    f.Text35.setText("");
    f.Text35.setEnabled(true);
    f.Option3.setValue(false);
    f.Option4.setValue(true);
    f.Option3.setEnabled(true);
    f.Option4.setEnabled(true);
    f.Form_Load();
    EXPECT_EQ(f.Command6.text(), "解除");
    EXPECT_EQ(f.Text35.text(), "2.5");
    EXPECT_TRUE(f.Option3.value());
    EXPECT_FALSE(f.Option4.value());
    EXPECT_FALSE(f.Text35.enabled());
    EXPECT_FALSE(f.Option3.enabled());
    EXPECT_EQ(f.Command10.text(), "锁定") << "the released primary stays as designed";
}

TEST_F(AlarmPanel, LampsBlinkRedInAlarmGreenOtherwiseSteadyWhileClosed) {
    f.sec_alarm = 100;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> seen;
    for (int tick = 0; tick < 4; ++tick) {
        f.Timer3_Timer();
        seen.emplace_back(f.Shape1.fillColor(), f.Shape1.borderColor());
    }
    const std::pair<std::uint32_t, std::uint32_t> red{colors::kRed, colors::kGreen};
    const std::pair<std::uint32_t, std::uint32_t> dark{colors::kButtonFace, colors::kButtonFace};
    EXPECT_TRUE((seen == std::vector{dark, red, dark, red}) || (seen == std::vector{red, dark, red, dark}));

    f.pri_alarm = 100;
    f.last_status = "5"; // no signal: the alarm blink is green
    f.pri_blink = 1;
    f.Timer3_Timer();
    EXPECT_EQ(f.Shape4.fillColor(), colors::kGreen);
    EXPECT_EQ(f.Shape4.borderColor(), colors::kPurple);

    h.port.close();
    f.MSComm1.setPortOpen(false);
    f.Timer3_Timer();
    EXPECT_EQ(f.Shape1.fillColor(), colors::kGreen);
    EXPECT_EQ(f.Shape1.borderColor(), colors::kPurple);
}

} // namespace
} // namespace hvr
