// The running statistics of both currents: extremes, the averages shown in the analysis
// panels, and their agreement with the instrument's three-level arithmetic as long as that
// arithmetic holds (until its first block closes).
#include <gtest/gtest.h>

#include <cmath>

#include "units/number_text.h"
#include "tests/support/form_harness.h"

namespace hvr {
namespace {

using testing::Bytes;
using testing::FormHarness;
using testing::frame;

// The block averages of the old program: a secondary sum that is closed every 100000000 and a
// primary sample table that is closed every 7000 samples. Correct only before the first close.
struct BlockAverages {
    double sum1 = 0, sum2 = 0, sum3 = 0;
    int n1 = 0, n2 = 0, n3 = 0;
    std::vector<double> samples = std::vector<double>(8001, 0), avgs = std::vector<double>(8001, 0);
    int pn = 0, pn2 = 0;
    double pavg = 0;

    double secondaryMilliamps(double s) {
        ++n1;
        sum1 += s;
        if (sum1 >= 100000000) {
            sum2 = std::floor(std::nearbyint(sum1) / n1);
            ++n2;
            n1 = 0;
            sum1 = 0;
            if (sum2 >= 100000000) {
                sum3 = std::floor(std::nearbyint(sum2) / n2);
                ++n3;
                n2 = 0;
                sum2 = 0;
            }
        }
        return std::floor(std::nearbyint(sum1 + sum2 + sum3) / (n1 + n2 + n3)) * 0.01;
    }

    double primary(double p) {
        ++pn;
        samples[pn] = p;
        if (pn > 7000) {
            pn = 0;
            ++pn2;
            avgs[pn2] = pavg;
        }
        double a = 0, b = 0;
        for (int i = 1; i <= pn; ++i)
            a += samples[i];
        for (int i = 1; i <= pn2; ++i)
            b += avgs[i];
        pavg = std::floor((std::nearbyint(a) + std::nearbyint(b)) / (pn + pn2));
        return pavg;
    }
};

std::string milliampCaption(const char* prefix, double milliamps) {
    const auto hundredths = static_cast<std::int64_t>(std::llround(milliamps * 100));
    if (hundredths >= 100000) return prefix + decimalText(hundredths / 1000, 2) + "A";
    return prefix + decimalText(hundredths, 2) + "mA";
}

class Statistics : public ::testing::Test {
  protected:
    void SetUp() override {
        h.startLive();
        h.form->live_frames = 9;
    }
    const std::string& text(const char* name) { return h.text(name); }
    FormHarness h;
};

TEST_F(Statistics, SecondaryAverageAgreesWithTheBlockArithmeticUntilItsFirstClose) {
    BlockAverages old;
    // Readings from 0.3 A to 6.2 A: the sum passes 100000000 after a few hundred of them.
    for (int i = 0; h.form->sec_sum1 + 620000 < 100000000; ++i) {
        const std::uint16_t raw = static_cast<std::uint16_t>(30 + (i * 37) % 590);
        h.live(frame(raw, '2', 6000, '1'));
        ASSERT_EQ(text("Label5"), milliampCaption("平均电流值: ", old.secondaryMilliamps(raw * 1000.0))) << i;
    }
}

TEST_F(Statistics, PrimaryAverageAgreesWithTheSampleTableUpToSevenThousandSamples) {
    BlockAverages old;
    for (int i = 0; i < 7000; ++i) {
        const std::uint16_t raw = static_cast<std::uint16_t>(3000 + (i * 7919) % 4000);
        h.live(frame(500, '2', raw, '1'));
        const double expected = old.primary(raw * 10000.0);
        if (i % 97 == 0 || i >= 6990) {
            ASSERT_EQ(h.form->pri_avg, static_cast<std::int64_t>(expected)) << i;
        }
    }
    EXPECT_EQ(h.form->pri_n, 7000);
}

TEST_F(Statistics, SteadySecondaryKeepsItsAverageOverALongRun) {
    BlockAverages old;
    double oldShown = 0;
    for (int i = 0; i < 2400; ++i) { // twenty minutes of readings at 5.00 A
        h.live(frame(500, '2', 6000, '1'));
        oldShown = old.secondaryMilliamps(500000);
    }
    EXPECT_EQ(text("Label5"), "平均电流值: 5A");
    EXPECT_LT(oldShown, 4700) << "the block arithmetic drifts; the reference must show it";
}

TEST_F(Statistics, AverageIsTheTrueMeanOfAllReadingsSinceTheReset) {
    // 10000 readings at 6 A, then 10000 at 2 A: the mean is 4 A. The first block would have
    // counted as a single reading.
    for (int i = 0; i < 10000; ++i)
        h.live(frame(600, '2', 7000, '1'));
    for (int i = 0; i < 10000; ++i)
        h.live(frame(200, '2', 3000, '1'));
    EXPECT_EQ(text("Label5"), "平均电流值: 4A");
    EXPECT_EQ(h.form->pri_avg, 5000 * 10000);
    EXPECT_EQ(text("Label15"), "平均电流值: 500A");
}

TEST_F(Statistics, PrimaryMinimumFollowsNumericOrder) {
    h.live(frame(500, '2', 25000, 'B')); // 250 mA = 25000 base units
    h.live(frame(500, '2', 1000, '@'));  // 1000 mA = 100000 base units
    EXPECT_EQ(h.form->pri_min, 25000);
    EXPECT_EQ(h.form->pri_max, 100000);
    EXPECT_EQ(text("Label14"), "最小电流值: 250mA");
    EXPECT_EQ(text("Label13"), "最大电流值: 1A");
}

TEST_F(Statistics, PrimaryCaptionsStayAboveTheirRange) {
    h.form->Label13.setText("最大电流值: 0mA");
    h.live(frame(500, '2', 1001, '0')); // 1001 A = 100100000 base units
    EXPECT_EQ(text("Label13"), "最大电流值: 0mA");
    EXPECT_EQ(h.form->pri_max, 100100000);
    h.live(frame(500, '2', 9999, '1')); // 999.9 A
    EXPECT_EQ(text("Label14"), "最小电流值: 999.9A");
}

TEST_F(Statistics, SecondaryMinimumAndMaximumCaptions) {
    h.live(frame(500, '2', 6000, '1')); // 5 A
    h.live(frame(999, 'B', 6000, '1')); // 9.99 mA
    EXPECT_EQ(text("Label1"), "最大电流值: 5A");
    EXPECT_EQ(text("Label2"), "最小电流值: 9.99mA");
    EXPECT_EQ(h.form->sec_max_shown, ShownStatistic::value(500000));
    EXPECT_EQ(h.form->sec_min_shown, ShownStatistic::value(999));
    h.live(frame(123, '2', 6000, '1')); // 1.23 A
    EXPECT_EQ(text("Label1"), "最大电流值: 5A");
}

TEST_F(Statistics, SecondaryMinimumAboveTenAmperesIsAReadingThatWasMeasured) {
    h.live(frame(1200, '2', 6000, '1')); // 12 A
    h.live(frame(1500, '2', 6000, '1')); // 15 A
    EXPECT_EQ(text("Label2"), "最小电流值: 12A");
    EXPECT_EQ(h.form->sec_min, 1200000);
}

TEST_F(Statistics, AnOverloadNeverBecomesTheSecondaryMinimum) {
    h.live(frame(4000, '2', 6000, '1')); // overload first
    EXPECT_EQ(text("Label2"), "最小电流值:  OL");
    h.live(frame(250, '2', 6000, '1')); // 2.5 A
    EXPECT_EQ(text("Label2"), "最小电流值: 2.5A");
    h.live(frame(4000, '2', 6000, '1'));
    EXPECT_EQ(h.form->sec_min, 250000);
}

TEST_F(Statistics, ReturningToLiveWithoutAnAverageRestartsTheMinimumAtTheMarker) {
    h.live(frame(300, '2', 6000, '1'));
    h.form->sec_avg_shown = ShownStatistic{};
    h.form->Command11_Click();
    EXPECT_EQ(h.form->sec_min, kStatisticsOverload);
    h.startLive();
    h.form->live_frames = 9;
    h.live(frame(1100, '2', 6000, '1')); // 11 A
    EXPECT_EQ(text("Label2"), "最小电流值: 11A");
}

TEST_F(Statistics, A6500SecondaryDoesNotStartTheMaximum) {
    h.live(frame(650, '@', 6000, '1')); // 650 mA = 65000 base units
    EXPECT_EQ(h.form->sec_max, 65000);
    FormHarness fresh;
    fresh.startLive();
    fresh.form->live_frames = 9;
    fresh.live(frame(6500, 'B', 6000, '1')); // 65 mA = 6500 base units
    EXPECT_EQ(fresh.form->sec_max, 0);
    EXPECT_EQ(fresh.form->sec_min, 6500);
    fresh.live(frame(6500, 'B', 6000, '1'));
    EXPECT_EQ(fresh.form->sec_max, 0);
    fresh.live(frame(6501, 'B', 6000, '1'));
    EXPECT_EQ(fresh.form->sec_max, 6501);
}

TEST_F(Statistics, MaximumIgnoresValuesAboveTheOverRangeMark) {
    h.live(frame(500, '2', 6000, '1'));
    h.live(frame(30, '0', 6000, '1')); // 30 A: over 23.7 A
    EXPECT_EQ(h.form->sec_max, 500000);
    h.live(frame(4000, '2', 6000, '1')); // the overload reading, exactly 4000000
    EXPECT_EQ(h.form->sec_max, 2370000);
    EXPECT_EQ(text("Label1"), "最大电流值:  OL");
}

TEST_F(Statistics, AlarmsCompareWithTheirLimitsOnlyWhileLocked) {
    h.form->sec_limit = {45, -1};
    h.form->sec_limit_unit = AlarmVariables::kUnitAmp;
    h.live(frame(500, '2', 6000, '1'));
    EXPECT_EQ(h.form->sec_alarm, 0) << "not locked";
    h.form->sec_alarm_on = AlarmVariables::kOn;
    h.live(frame(450, '2', 6000, '1'));
    EXPECT_EQ(h.form->sec_alarm, 100) << "at the limit";
    EXPECT_EQ(h.form->sec_curve_color[kCurveNewest], 255);
    h.live(frame(449, '2', 6000, '1'));
    EXPECT_EQ(h.form->sec_alarm, 0);

    h.form->pri_alarm_on = AlarmVariables::kOn;
    h.form->pri_limit = {600, 0};
    h.form->pri_limit_unit = AlarmVariables::kUnitMilliamp;
    h.live(frame(500, '2', 600, '@'));
    EXPECT_EQ(h.form->pri_alarm, 100);
    h.live(frame(500, '2', 599, '@'));
    EXPECT_EQ(h.form->pri_alarm, 0);
}

} // namespace
} // namespace hvr
