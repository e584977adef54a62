// The curve chart: its picture for every scale, the live and the history curve, "生成曲线" and
// the range statistics, the drag gestures and the read-out under the pointer.
#include <gtest/gtest.h>

#include <algorithm>

#include "main_window/curve_chart.h"
#include "texts/texts.h"
#include "tests/support/case_name.h"
#include "tests/support/form_harness.h"
#include "tests/support/store_builder.h"

namespace hvr {
namespace {

using platform::Primitive;
using testing::FormHarness;

std::vector<Primitive> linesOf(const platform::Picture& picture, std::uint32_t color) {
    std::vector<Primitive> out;
    for (const auto& p : picture)
        if (p.kind == Primitive::Kind::Line && p.color == color) out.push_back(p);
    return out;
}

std::vector<std::string> textsOf(const platform::Picture& picture) {
    std::vector<std::string> out;
    for (const auto& p : picture)
        if (p.kind == Primitive::Kind::Text) out.push_back(p.text);
    return out;
}

struct ScaleCase {
    double scale;
    const char* unit;
    std::vector<std::string> labels; // divisions 1…7, bottom to top
};

class ScaleLabels : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScaleLabels, AreWrittenInTheUnitOfTheFullScale) {
    FormHarness h;
    h.form->Form_Load();
    h.form->curve_scale = GetParam().scale;
    h.form->DrawCurve();
    const auto texts = textsOf(h.form->picture1());
    ASSERT_EQ(texts.size(), 2u + 7 * 2);
    EXPECT_EQ(texts[0], GetParam().unit);
    EXPECT_EQ(texts[1], "   t(0.5S)");
    for (int n = 0; n < 7; ++n) {
        EXPECT_EQ(texts[2 + 2 * n], " " + GetParam().labels[static_cast<std::size_t>(n)]) << n + 1;
        EXPECT_EQ(texts[3 + 2 * n], " 0");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ladder, ScaleLabels,
    ::testing::Values(ScaleCase{1, "I(电流:mA)", {"1", "2", "3", "4", "5", "6", "7"}},
                      ScaleCase{5, "I(电流:mA)", {"5", "10", "15", "20", "25", "30", "35"}},
                      ScaleCase{19, "I(电流:mA)", {"19", "38", "57", "76", "95", "114", "133"}},
                      ScaleCase{71, "I(电流:mA)", {"71", "142", "213", "284", "355", "426", "497"}},
                      ScaleCase{243, "I(电流:A)", {"0.2", "0.5", "0.7", "1", "1.2", "1.5", "1.7"}},
                      ScaleCase{857, "I(电流:A)", {"0.9", "1.7", "2.6", "3.4", "4.3", "5.1", "6"}},
                      ScaleCase{3000, "I(电流:A)", {"3", "6", "9", "12", "15", "18", "21"}},
                      ScaleCase{8570, "I(电流:A)", {"8.6", "17.1", "25.7", "34.3", "42.8", "51.4", "60"}},
                      ScaleCase{30000, "I(电流:A)", {"30", "60", "90", "120", "150", "180", "210"}},
                      ScaleCase{150000, "I(电流:A)", {"150", "300", "450", "600", "750", "900", "1050"}}),
    [](const auto& info) {
        return testing::caseName(info.index, "scale" + std::to_string(int(info.param.scale)));
    });

TEST(CurveChart, AfterLoadOnlyTheFrameIsDrawn) {
    FormHarness h;
    h.form->Form_Load();
    const auto& picture = h.form->picture1();
    ASSERT_FALSE(picture.empty());
    EXPECT_EQ(picture[0], (Primitive{Primitive::Kind::Clear, 0, 0, 0, 0, 0x404040, {}}));
    EXPECT_TRUE(linesOf(picture, chart::kSecondary).empty());
    EXPECT_TRUE(linesOf(picture, chart::kPrimary).empty());
    const auto axis = linesOf(picture, chart::kAxis);
    // Axes and arrowheads 6, minor ticks 150, major ticks and grid 15 × 8, origin 1,
    // vertical minor ticks 71, and for each of 7 divisions: its tick, the zero tick, 15 dashes.
    EXPECT_EQ(axis.size(), 6u + 150 + 15 * 8 + 1 + 71 + 7 * 17);
    EXPECT_EQ(axis[0], (Primitive{Primitive::Kind::Line, 540, 300, 540, 4800, 0xFFFFFF, {}}));
}

TEST(CurveChart, TheLiveCurveJoinsTheLastTwoReadings) {
    FormHarness h;
    h.form->Form_Load();
    auto& f = *h.form;
    f.sec_curve[399] = 100000; // 1 A
    f.sec_curve[400] = 200000; // 2 A
    f.pri_history[399] = 1050000;
    f.pri_history[400] = 2100000; // full scale at 3000 mA a division
    f.status_history[400] = "0";
    f.DrawCurve();
    const auto green = linesOf(f.picture1(), chart::kSecondary);
    ASSERT_EQ(green.size(), 1u);
    EXPECT_DOUBLE_EQ(green[0].x0, 400 * 22.5 + 530);
    EXPECT_DOUBLE_EQ(green[0].x1, 401 * 22.5 + 530);
    EXPECT_DOUBLE_EQ(green[0].y0, 4780 - 100000.0 / 2100000 * 4180);
    EXPECT_DOUBLE_EQ(green[0].y1, 4780 - 200000.0 / 2100000 * 4180);
    const auto red = linesOf(f.picture1(), chart::kPrimary);
    ASSERT_EQ(red.size(), 1u);
    EXPECT_DOUBLE_EQ(red[0].y0, 4780 - 2090);
    EXPECT_DOUBLE_EQ(red[0].y1, 600);
}

TEST(CurveChart, APrimaryWithoutSignalLeavesAGapInTheBackgroundColour) {
    FormHarness h;
    h.form->Form_Load();
    auto& f = *h.form;
    f.pri_history[399] = 1000000;
    f.pri_history[400] = 1000000;
    f.status_history[400] = "5";
    f.DrawCurve();
    EXPECT_TRUE(linesOf(f.picture1(), chart::kPrimary).empty());
    const auto gap = linesOf(f.picture1(), chart::kBackground);
    ASSERT_EQ(gap.size(), 1u);
    EXPECT_DOUBLE_EQ(gap[0].x1, 401 * 22.5 + 530);
}

TEST(CurveChart, AnUnlimitedPrimaryIsClippedToThePictureAsTheSameLine) {
    FormHarness h;
    h.form->Form_Load();
    auto& f = *h.form;
    f.curve_scale = 1;
    f.pri_history[399] = 0;
    f.pri_history[400] = 399999999; // 3999.99 A at 7 mA full scale
    f.status_history[400] = "0";
    f.DrawCurve();
    const auto red = linesOf(f.picture1(), chart::kPrimary);
    ASSERT_EQ(red.size(), 1u);
    const double x0 = 400 * 22.5 + 530, x1 = 401 * 22.5 + 530;
    const double y1 = 4780 - 399999999.0 / 700 * 4180;
    EXPECT_DOUBLE_EQ(red[0].x0, x0);
    EXPECT_DOUBLE_EQ(red[0].y0, 4780);
    EXPECT_DOUBLE_EQ(red[0].y1, 0) << "ends at the top edge";
    EXPECT_NEAR(red[0].x1, x0 + (x1 - x0) * (0 - 4780) / (y1 - 4780), 1e-6) << "on the same line";
}

class HistoryCurve : public ::testing::Test {
  protected:
    void SetUp() override {
        f.Form_Load();
        f.Command9_Click();
    }
    void store(const std::vector<int>& secondaryCentiamps) {
        for (std::size_t i = 0; i < secondaryCentiamps.size(); ++i)
            testing::putGroup(
                f, static_cast<int>(i),
                {static_cast<int>(i) + 1, '2', 1000 + static_cast<int>(i), '2', secondaryCentiamps[i]});
    }
    FormHarness h;
    Form1& f = *h.form;
};

TEST_F(HistoryCurve, ThreeGroupsAreTwoSegmentsOfEachCurve) {
    store({120, 50, 250});
    f.Command15_Click();
    EXPECT_EQ(f.curve_mode, CurveState::kHistoryCurve);
    EXPECT_EQ(f.plot_last, 4);
    const auto green = linesOf(f.picture1(), chart::kSecondary);
    ASSERT_EQ(green.size(), 2u);
    const double step = 9000.0 / 3;
    EXPECT_DOUBLE_EQ(green[0].x0, 540);
    EXPECT_DOUBLE_EQ(green[0].x1, 540 + step);
    EXPECT_DOUBLE_EQ(green[0].y0, chart::yOf(120000, 3000));
    EXPECT_DOUBLE_EQ(green[0].y1, chart::yOf(50000, 3000));
    EXPECT_DOUBLE_EQ(green[1].x1, 540 + 2 * step);
    EXPECT_DOUBLE_EQ(green[1].y1, chart::yOf(250000, 3000));
    const auto red = linesOf(f.picture1(), chart::kPrimary);
    ASSERT_EQ(red.size(), 2u);
    EXPECT_DOUBLE_EQ(red[1].y1, chart::yOf(1002000, 3000)) << "10.02 A";
    const auto texts = textsOf(f.picture1());
    EXPECT_EQ(texts[1], "   y(组数:组)");
}

TEST_F(HistoryCurve, StatisticsAverageTheSameGroupsAsTheExtremes) {
    store({120, 50, 250});
    f.Command15_Click();
    EXPECT_EQ(f.Label1.text(), "最大电流值: 2.5A");
    EXPECT_EQ(f.Label2.text(), "最小电流值: 0.5A");
    EXPECT_EQ(f.Label5.text(), "平均电流值: 1.4A");
    EXPECT_TRUE(f.Picture5.visible() && f.Frame7.visible()) << "seen with the history curve";
    EXPECT_FALSE(f.Frame10.visible());
    EXPECT_TRUE(f.Picture4.visible());
    EXPECT_LE(f.Frame7.rect().left + f.Frame7.rect().width + f.Picture5.rect().left, f.Picture4.rect().left)
        << "beside the large read-out, not under it";
}

TEST_F(HistoryCurve, OneSumAveragesALongStoreExactly) {
    std::vector<int> values(3600, 500);     // 5 A
    values.insert(values.end(), 1000, 100); // 1 A
    store(values);
    f.Command15_Click();
    EXPECT_EQ(f.Label5.text(), "平均电流值: 4.1A") << "(3600 × 5 + 1000 × 1) / 4600 = 4.13 A";
}

TEST_F(HistoryCurve, OverRangeMaximumIsOL) {
    for (int i = 0; i < 3; ++i)
        testing::putGroup(f, i, {i + 1, '1', 1000, '0', 30}); // 30 A: over range
    f.Command15_Click();
    EXPECT_EQ(f.plot_sec[0], 2370000);
    EXPECT_EQ(f.Label1.text(), "最大电流值:  OL");
}

TEST_F(HistoryCurve, SmallValuesAreWrittenInMilliamperes) {
    EXPECT_EQ(rangeStatisticText(5000), "50mA");
    EXPECT_EQ(rangeStatisticText(1000), "10mA");
    EXPECT_EQ(rangeStatisticText(9999), "99.99mA");
    EXPECT_EQ(rangeStatisticText(567), "5.67mA");
    EXPECT_EQ(rangeStatisticText(0), "0mA");
    EXPECT_EQ(rangeStatisticText(10000), "0.1A");
    EXPECT_EQ(rangeStatisticText(50000), "0.5A");
    EXPECT_EQ(rangeStatisticText(2379999), "23.7A");
}

TEST_F(HistoryCurve, TooFewGroupsLeaveNoStaleValues) {
    store({120});
    f.Label1.setText("最大电流值: 5A"); // as the live panel left it
    f.Command15_Click();
    EXPECT_EQ(f.Label1.text(), "最大电流值:");
    EXPECT_EQ(f.Label2.text(), "最小电流值:");
    EXPECT_EQ(f.Label5.text(), "平均电流值:");
    EXPECT_TRUE(linesOf(f.picture1(), chart::kSecondary).empty()) << "m ≤ 1: only the frame";
}

TEST_F(HistoryCurve, APrimaryOfThreeDecimalsIsPlottedInItsUnit) {
    testing::putGroup(f, 0, {1, '3', 1500, '2', 100}); // 1.500 A
    f.Command15_Click();
    EXPECT_EQ(f.plot_pri[0], 150000);
}

TEST_F(HistoryCurve, TheWholeArraysAreClearedFirst) {
    f.plot_sec[6000] = 123;
    f.plot_pri[7999] = 456;
    store({100, 100, 100});
    f.Command15_Click();
    EXPECT_EQ(f.plot_sec[6000], 0);
    EXPECT_EQ(f.plot_pri[7999], 0);
}

TEST_F(HistoryCurve, IsIgnoredWhileADownloadRuns) {
    store({100, 100, 100});
    f.link_state = Form1::kExchanging;
    f.dl_active = true;
    f.Command15_Click();
    EXPECT_EQ(f.curve_mode, CurveState::kLiveCurve);
    EXPECT_EQ(f.link_state, Form1::kExchanging);
}

TEST_F(HistoryCurve, LeavingForRealTimeMonitoringRestoresThePanel) {
    store({120, 50, 250});
    f.Command15_Click();
    f.Command11_Click();
    EXPECT_TRUE(f.Frame10.visible());
    EXPECT_EQ(f.Frame7.rect().left, 3960);
    EXPECT_EQ(f.Picture4.rect().left, 2640);
    EXPECT_FALSE(f.Picture4.visible());
    EXPECT_EQ(f.Label1.text(), "最大电流值: 0mA");
}

class Gestures : public HistoryCurve {
  protected:
    void SetUp() override {
        HistoryCurve::SetUp();
        store(std::vector<int>(100, 100));
        f.Command15_Click();
    }
    void drag(int x0, int y0, int x1, int y1) {
        f.Picture1_MouseDown(x0, y0);
        f.Picture1_Click(x1, y1);
    }
    // The pixel over a twip position of the plot.
    static int px(double twips) { return static_cast<int>(twips / 15); }
};

TEST_F(Gestures, UpStepsTheScaleAndStopsAtTheTop) {
    drag(100, 200, 100, 169);
    EXPECT_EQ(f.curve_scale, 8570);
    f.curve_scale = 150000;
    drag(100, 200, 100, 100);
    EXPECT_EQ(f.curve_scale, 150000);
    EXPECT_EQ(f.Label1.text(), "最大电流值:1A") << "the drag's labels";
}

TEST_F(Gestures, DownStepsTheScaleAndStopsAtTheBottom) {
    drag(100, 100, 100, 121);
    EXPECT_EQ(f.curve_scale, 857);
    f.curve_scale = 1;
    drag(100, 100, 100, 200);
    EXPECT_EQ(f.curve_scale, 1);
    drag(100, 100, 100, 120); // 20 pixels: not enough
    EXPECT_EQ(f.curve_scale, 1);
}

TEST_F(Gestures, RightZoomsToTheGroupsUnderTheDrag) {
    drag(px(540 + 900), 100, px(540 + 4500), 100); // a tenth to a half of 0…101
    EXPECT_EQ(f.plot_first, 10);
    EXPECT_EQ(f.plot_last, 50);
    const auto green = linesOf(f.picture1(), chart::kSecondary);
    EXPECT_EQ(green.size(), 48u - 11 + 1);
}

TEST_F(Gestures, UpAfterAZoomShowsTheWholeStoreAgain) {
    drag(px(540 + 900), 100, px(540 + 4500), 100);
    drag(100, 200, 100, 150);
    EXPECT_EQ(f.plot_first, 0);
    EXPECT_EQ(f.plot_last, 101);
}

TEST_F(Gestures, UpAndRightInOneDragRescalesResetsThenZooms) {
    drag(px(540 + 900), 200, px(540 + 4500), 150);
    EXPECT_EQ(f.curve_scale, 8570);
    EXPECT_EQ(f.plot_first, 10);
    EXPECT_EQ(f.plot_last, 50);
}

TEST_F(Gestures, AZoomEndsAtTheLastStoredGroup) {
    drag(px(540 + 4500), 100, px(540 + 9300), 100); // beyond the plot's right end
    EXPECT_EQ(f.plot_first, 50);
    EXPECT_EQ(f.plot_last, 101) << "limited to ji_ge";
}

TEST_F(Gestures, LeftOrShortDragsChangeNothing) {
    const auto before = f.picture1();
    drag(px(540 + 4500), 100, px(540 + 900), 100);
    drag(100, 100, 120, 110);
    EXPECT_EQ(f.plot_first, 0);
    EXPECT_EQ(f.plot_last, 101);
    EXPECT_EQ(f.curve_scale, 3000);
    EXPECT_EQ(f.picture1(), before);
}

TEST_F(Gestures, TheLiveCurveTakesNoGestures) {
    f.Command11_Click();
    drag(100, 200, 100, 100);
    EXPECT_EQ(f.curve_scale, 3000);
}

TEST(CursorReadout, ShowsTheValueDrawnUnderThePointer) {
    FormHarness h;
    auto& f = *h.form;
    f.Form_Load();
    const double y = chart::yOf(1050000, 3000); // 10.5 A
    f.Picture1_MouseMove(200, static_cast<int>(y / 15));
    f.Timer1_Timer();
    const double shown = std::stod(f.Text37.text());
    EXPECT_NEAR(shown, 10.5, 0.01 * 21) << f.Text37.text();
    EXPECT_TRUE(f.Text37.text().ends_with("A"));

    f.curve_scale = 71;
    f.Timer1_Timer();
    EXPECT_TRUE(f.Text37.text().ends_with("mA")) << f.Text37.text();

    f.Picture1_MouseLeave();
    f.Timer1_Timer();
    EXPECT_EQ(f.Text37.text(), "");
}

TEST(CursorReadout, OnTheHistoryCurveNamesTheGroup) {
    FormHarness h;
    auto& f = *h.form;
    f.Form_Load();
    f.Command9_Click();
    for (int i = 0; i < 100; ++i)
        testing::putGroup(f, i, {i + 1, '1', 1000, '2', 100});
    f.Command15_Click();
    f.Picture1_MouseMove(static_cast<int>((540 + 4500) / 15),
                         static_cast<int>(chart::yOf(300000, 3000) / 15));
    f.Timer1_Timer();
    EXPECT_EQ(f.Text37.text(), "第 50 组") << "half of 0…101, 50.5, rounded to even";
    EXPECT_NEAR(std::stod(f.Label6.text()), 3, 0.21);
    f.Picture1_MouseLeave();
    f.Timer1_Timer();
    EXPECT_EQ(f.Label6.text(), "");
}

} // namespace
} // namespace hvr
