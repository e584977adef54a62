#include <gtest/gtest.h>

#include "link/live_decode.h"
#include "texts/texts.h"
#include "tests/support/form_harness.h"
#include "tests/support/case_name.h"

namespace hvr {
namespace {

using testing::Bytes;
using testing::FormHarness;
using testing::frame;

class LiveDecode : public ::testing::Test {
  protected:
    void SetUp() override { h.startLive(); }
    const std::string& text(const char* name) { return h.text(name); }
    FormHarness h;
};

TEST_F(LiveDecode, ShowsBothCurrentsRatioAndReferredValues) {
    h.showLive({0x00, 0x05, 0x42, 0x00, 0x64, 0x40, 0x32, 0x00});
    EXPECT_EQ(text("Label10"), "0.05mA");
    EXPECT_EQ(text("Label9"), "100mA");
    EXPECT_EQ(text("Label11"), "变 比:2000");
    EXPECT_EQ(text("Label16"), "二次电流5A折算: 10000/ 5A ");
    EXPECT_EQ(text("Label17"), "10KV-YY折算变比: 76");
    EXPECT_EQ(text("Label12"), "一次电流频率:50HZ");
    EXPECT_EQ(text("Label18"), "二次电流频率:50HZ");
    EXPECT_EQ(text("Text41"), "");
}

TEST_F(LiveDecode, KeepsWhatItShowedFieldByField) {
    h.showLive(frame(500, '2', 6005, '1', 0, 0x80 | 50));
    EXPECT_EQ(h.form->shownLiveFrames(), 1u) << "the first two frames after a start are not shown";
    const LiveShown& s = h.form->last_shown;
    EXPECT_EQ(s.primary, (ReadingText{"600.5", "A"}));
    EXPECT_EQ(s.secondary, (ReadingText{"5", "A"}));
    EXPECT_EQ(s.ratios, (RatioTexts{"120.1", "600.5", "4.5"}));
    EXPECT_EQ(s.primaryHz, 50);
    EXPECT_EQ(s.secondaryHz, 60);
    EXPECT_FALSE(s.noSignal);

    h.live(frame(0, '2', 6005, '1', 5));
    EXPECT_EQ(h.form->shownLiveFrames(), 2u);
    EXPECT_TRUE(h.form->last_shown.noSignal);
    EXPECT_EQ(h.form->last_shown.primary, ReadingText{});
    EXPECT_EQ(h.form->last_shown.ratios, RatioTexts{});

    h.live(frame(0, 0xFF, 6005, '1'));
    EXPECT_EQ(h.form->shownLiveFrames(), 2u) << "a rejected frame is not shown";
}

TEST_F(LiveDecode, FiveAmpsAgainstFortyAmps) {
    h.showLive(frame(500, '2', 400, '1'));
    EXPECT_EQ(text("Label10"), "5A");
    EXPECT_EQ(text("Label9"), "40A");
    EXPECT_EQ(text("Label11"), "变 比:8");
    EXPECT_EQ(text("Label16"), "二次电流5A折算: 40/ 5A ");
    EXPECT_EQ(text("Label17"), "10KV-YY折算变比: 0.3");
}

TEST_F(LiveDecode, SixtyHertzSecondaryAndPrimaryFrequency) {
    h.showLive(frame(500, '2', 6000, '1', 0, 0x80 | 61));
    EXPECT_EQ(text("Label18"), "二次电流频率:60HZ");
    EXPECT_EQ(text("Label12"), "一次电流频率:61HZ");
}

TEST_F(LiveDecode, NoSignalBlanksThePrimarySide) {
    h.showLive(frame(500, '2', 400, '1'));
    const std::string maxBefore = text("Label13");
    const auto priMax = h.form->pri_max, priN = h.form->pri_n;
    h.live(frame(500, '2', 900, '1', 5));
    EXPECT_EQ(text("Label9"), " 无信号");
    EXPECT_EQ(text("Label11"), "变 比: ");
    EXPECT_EQ(text("Label12"), "一次电流频率:");
    EXPECT_EQ(text("Label16"), "二次电流5A折算:    / 5A ");
    EXPECT_EQ(text("Label17"), "10KV-YY折算变比:");
    EXPECT_EQ(text("Label10"), "5A") << "the secondary is still shown";
    EXPECT_EQ(h.form->pri_max, priMax);
    EXPECT_EQ(h.form->pri_n, priN);
    EXPECT_EQ(text("Label13"), maxBefore);
    EXPECT_EQ(h.form->last_status, "5");
    EXPECT_EQ(h.form->status_history[kCurveNewest], "5");
}

TEST_F(LiveDecode, SecondaryOverloadReading) {
    h.showLive(frame(4000, '2', 400, '1'));
    EXPECT_EQ(text("Label10"), "   OL   A");
    EXPECT_EQ(h.form->sec_curve[kCurveNewest], 2370000);
    EXPECT_EQ(text("Label1"), "最大电流值:  OL");
    EXPECT_EQ(h.form->sec_max_shown, ShownStatistic::overload());
    EXPECT_EQ(text("Label5"), "平均电流值:  OL");
}

TEST_F(LiveDecode, OverloadPushesNoColour) {
    h.showLive(frame(500, '2', 400, '1'));
    const auto colours = h.form->sec_curve_color;
    h.live(frame(4000, 'A', 400, '1'));
    EXPECT_EQ(h.form->sec_curve_color, colours);
    EXPECT_EQ(text("Label10"), "   OL   mA");
}

TEST_F(LiveDecode, SecondaryFullScaleOfTheAmpereRange) {
    h.showLive(frame(10000, '2', 400, '1'));
    EXPECT_EQ(text("Label10"), "O  L");
}

TEST_F(LiveDecode, PrimaryOverload) {
    h.showLive(frame(500, '2', 10000, '0'));
    EXPECT_EQ(text("Label9"), "   O L   ");
    h.live(frame(500, '2', 10001, '0'));
    EXPECT_EQ(text("Label9"), "   O L   ");
    h.live(frame(500, '2', 10002, '0'));
    EXPECT_EQ(text("Label9"), "10002A");
}

TEST_F(LiveDecode, ZeroSecondaryGivesZeroRatioAndReferredValues) {
    h.showLive(frame(0, '2', 400, '1'));
    EXPECT_EQ(text("Label10"), "0.00A");
    EXPECT_EQ(text("Label11"), "变 比:0.0");
    EXPECT_EQ(text("Label16"), "二次电流5A折算: 0/ 5A ");
    EXPECT_EQ(text("Label17"), "10KV-YY折算变比: 0");
}

TEST_F(LiveDecode, ZeroPrimaryGivesZeroRatio) {
    h.showLive(frame(500, '2', 0, '1'));
    EXPECT_EQ(text("Label9"), "0.0A");
    EXPECT_EQ(text("Label11"), "变 比:0.0");
    EXPECT_EQ(text("Label16"), "二次电流5A折算: 0/ 5A ");
}

TEST_F(LiveDecode, UnknownSecondaryCodeCountsRawForStatisticsButNotForRatios) {
    h.showLive(frame(1234, 'Z', 400, '1'));
    EXPECT_EQ(text("Label10"), "");
    EXPECT_EQ(text("Label11"), "变 比:0.0");
    EXPECT_EQ(text("Label16"), "二次电流5A折算: 0/ 5A ");
    EXPECT_EQ(h.form->sec_curve[kCurveNewest], 1234);
    EXPECT_EQ(h.form->sec_max, 1234);
    EXPECT_EQ(text("Label1"), "最大电流值: 12.34mA");
}

TEST_F(LiveDecode, UnknownPrimaryCodeCountsAsZero) {
    h.showLive(frame(500, '2', 400, 'Q'));
    EXPECT_EQ(text("Label9"), "");
    EXPECT_EQ(h.form->pri_history[kCurveNewest], 0);
    EXPECT_EQ(text("Label11"), "变 比:0.0");
}

TEST_F(LiveDecode, LargeRatiosUseTheKForms) {
    // S = 1 base unit ("B", raw 1): the ratio is P itself.
    h.showLive(frame(1, 'B', 25000, '2')); // P = 25000000
    EXPECT_EQ(text("Label11"), "变 比:2.5K7");
    h.live(frame(1, 'B', 25000, '3')); // P = 2500000
    EXPECT_EQ(text("Label11"), "变 比:2.5K6");
    h.live(frame(1, 'B', 2500, '0')); // P = 250000000
    EXPECT_EQ(text("Label11"), "变 比:2.5K8");
    h.live(frame(2, 'B', 20001, 'B')); // ratio 10000.5: one decimal
    EXPECT_EQ(text("Label11"), "变 比:10000.5");
}

TEST_F(LiveDecode, PrimaryAboveFortyThreeAmpsStaysExact) {
    // P = 3276.7 A; P x 500 leaves 32 bits, the 64-bit product does not.
    h.showLive(frame(500, '2', 32767, '1'));
    EXPECT_EQ(text("Label9"), "3276.7A");
    EXPECT_EQ(text("Label11"), "变 比:655.3");
    EXPECT_EQ(text("Label16"), "二次电流5A折算: 3276.7/ 5A ");
    EXPECT_EQ(text("Label17"), "10KV-YY折算变比: 24.9");
}

TEST_F(LiveDecode, BatteryFlagFollowsTheSecondCopy) {
    Bytes f = frame(500, '2', 400, '1');
    f[0] |= 0x80;
    h.showLive(f);
    EXPECT_EQ(h.form->low_batt, 0);
    EXPECT_EQ(text("Text41"), "");
    EXPECT_EQ(text("Label10"), "5A") << "the flag bit is not part of the reading";

    f = frame(500, '2', 400, '1');
    f[3] |= 0x80;
    h.live(f);
    EXPECT_EQ(h.form->low_batt, 1);
    EXPECT_EQ(text("Text41"), "电池电压低");
    EXPECT_EQ(text("Label9"), "40A");
}

TEST_F(LiveDecode, FrameWithFfInByteTwoChangesNothingOnScreen) {
    h.showLive(frame(500, '2', 400, '1'));
    std::vector<std::pair<std::string, std::uint64_t>> before;
    for (auto* c : h.form->controls())
        before.emplace_back(c->name(), c->revision());
    Bytes f = frame(700, 0xFF, 400, '1');
    f[3] |= 0x80;
    h.live(f);
    for (auto& [name, revision] : before)
        EXPECT_EQ(h.form->control(name)->revision(), revision) << name;
    EXPECT_EQ(h.form->low_batt, 1) << "the flag is taken before the test";
}

TEST_F(LiveDecode, FirstTwoFramesAfterARestartOnlyCount) {
    h.form->Command5.setEnabled(false);
    h.live(frame(500, '2', 400, '1'));
    h.live(frame(500, '2', 400, '1'));
    EXPECT_EQ(h.form->live_frames, 2);
    EXPECT_EQ(text("Label10"), "");
    EXPECT_FALSE(h.form->Command5.enabled());
    h.live(frame(500, '2', 400, '1'));
    EXPECT_EQ(h.form->live_frames, 9);
    EXPECT_EQ(text("Label10"), "5A");
    EXPECT_TRUE(h.form->Command5.enabled());
    h.live(frame(600, '2', 400, '1'));
    EXPECT_EQ(h.form->live_frames, 9);
    EXPECT_EQ(text("Label10"), "6A");
}

TEST_F(LiveDecode, AShortChunkCountsButShowsNothing) {
    h.form->live_frames = 9;
    h.form->SendCommandWord(protocol::kLiveReading);
    h.cutShort(7);
    h.port.deliver({0x00, 0x05, 0x42, 0x80, 0x64, 0x40, 0x32});
    EXPECT_EQ(h.form->live_frames, 9);
    EXPECT_EQ(h.form->low_batt, 1);
    EXPECT_EQ(text("Label10"), "");
}

TEST_F(LiveDecode, CurveHistoriesShiftTowardsIndexZero) {
    h.showLive(frame(100, '2', 400, '1'));
    h.live(frame(200, '2', 500, '1'));
    EXPECT_EQ(h.form->sec_curve[kCurveNewest], 200000);
    EXPECT_EQ(h.form->sec_curve[kCurveNewest - 1], 100000);
    EXPECT_EQ(h.form->pri_history[kCurveNewest], 5000000);
    EXPECT_EQ(h.form->pri_history[kCurveNewest - 1], 4000000);
    EXPECT_EQ(h.form->sec_curve_color[kCurveNewest], 65280);
    EXPECT_EQ(h.form->sec_curve[kCurveNewest + 1], 0) << "indexes above 400 are never pushed into";
}

TEST_F(LiveDecode, SecondaryAboveTheCurveCeilingIsNotDrawn) {
    h.showLive(frame(100, '2', 400, '1'));
    h.live(frame(238, '0', 400, '1')); // 238 A = 23800000 base units
    EXPECT_EQ(h.form->sec_curve[kCurveNewest], 100000);
    EXPECT_EQ(text("Label10"), "238A");
}

struct ReadingCase {
    std::uint16_t raw;
    char code;
    Channel channel;
    const char* text;
    const char* unit;
};

class ReadingTextTable : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(ReadingTextTable, ShowsValueAndUnit) {
    const auto& c = GetParam();
    EXPECT_EQ(readingText(c.raw, static_cast<std::uint8_t>(c.code), c.channel),
              (ReadingText{c.text, c.unit}));
}

INSTANTIATE_TEST_SUITE_P(Codes, ReadingTextTable,
                         ::testing::Values(ReadingCase{12, '0', Channel::Secondary, "12", "A"},
                                           ReadingCase{0, '0', Channel::Secondary, "0", "A"},
                                           ReadingCase{55, '1', Channel::Secondary, "5.5", "A"},
                                           ReadingCase{50, '1', Channel::Secondary, "5", "A"},
                                           ReadingCase{0, '1', Channel::Secondary, "0.0", "A"},
                                           ReadingCase{5, '2', Channel::Secondary, "0.05", "A"},
                                           ReadingCase{0, '2', Channel::Secondary, "0.00", "A"},
                                           ReadingCase{10000, '2', Channel::Secondary, "O  L", ""},
                                           ReadingCase{5, '3', Channel::Secondary, "", ""},
                                           ReadingCase{300, '@', Channel::Secondary, "300", "mA"},
                                           ReadingCase{2995, 'A', Channel::Secondary, "299.5", "mA"},
                                           ReadingCase{0, 'A', Channel::Secondary, "0.0", "mA"},
                                           ReadingCase{0, 'B', Channel::Secondary, "0.00", "mA"},
                                           ReadingCase{5, 'B', Channel::Primary, "0.05", "mA"},
                                           ReadingCase{0, 'A', Channel::Primary, "0.0", "mA"},
                                           ReadingCase{100, '@', Channel::Primary, "100", "mA"},
                                           ReadingCase{1500, '3', Channel::Primary, "1.5", "A"},
                                           ReadingCase{0, '3', Channel::Primary, "0.000", "A"},
                                           ReadingCase{10000, '2', Channel::Primary, "100", "A"},
                                           ReadingCase{0, '1', Channel::Primary, "0.0", "A"},
                                           ReadingCase{10000, '0', Channel::Primary, "   O L   ", ""},
                                           ReadingCase{10001, '0', Channel::Primary, "   O L   ", ""},
                                           ReadingCase{5, 'C', Channel::Primary, "", ""}),
                         [](const auto& info) {
                             const auto& c = info.param;
                             return testing::caseName(
                                 info.index, std::to_string(c.raw) + "_code" +
                                                 std::to_string(static_cast<unsigned char>(c.code)) +
                                                 (c.channel == Channel::Primary ? "_primary" : "_secondary"));
                         });

struct RatioCase {
    std::int64_t tenths;
    const char* text;
};

class RatioTextTable : public ::testing::TestWithParam<RatioCase> {};

TEST_P(RatioTextTable, MatchesTheLivePanelForms) {
    EXPECT_EQ(ratioText(GetParam().tenths), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, RatioTextTable,
                         ::testing::Values(RatioCase{83, "8.3"}, RatioCase{1000000, "100000"},
                                           RatioCase{1000005, "100000"}, RatioCase{1000015, "100001"},
                                           RatioCase{10000000, "1000000"}, RatioCase{10000010, "1K6"},
                                           RatioCase{25000000, "2.5K6"}, RatioCase{99999990, "9.999K6"},
                                           RatioCase{100000000, "1K7"}, RatioCase{250000000, "2.5K7"},
                                           RatioCase{1000000000, "1K8"}, RatioCase{2500000000, "2.5K8"},
                                           RatioCase{99999999990, "99.999K8"},
                                           RatioCase{100000000000, "10000000000"}),
                         [](const auto& info) {
                             return testing::caseName(info.index,
                                                      "tenths" + std::to_string(info.param.tenths));
                         });

} // namespace
} // namespace hvr
