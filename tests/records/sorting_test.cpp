#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "texts/texts.h"
#include "records/row_format.h"
#include "tests/support/form_harness.h"
#include "tests/support/store_builder.h"
#include "tests/support/case_name.h"

namespace hvr {
namespace {

using testing::FormHarness;

// The exchange sort of the old program, pass for pass, as the reference for the order.
void exchangeSort(RecordStore& s, bool ascending) {
    int n = 0;
    for (auto c : s.rec_sec_code)
        n += c != 0;
    const int N = n + 1;
    auto key = [&](int slot) -> std::int64_t {
        const std::int64_t raw = std::llrint(s.rec_sec_raw[slot]);
        switch (s.rec_sec_code[slot]) {
        case '0':
            return raw * 100000;
        case '1':
            return raw * 10000;
        case '2':
            return raw * 1000;
        case '@':
            return raw * 100;
        case 'A':
            return raw * 10;
        case 'B':
            return raw;
        default:
            return 0;
        }
    };
    auto exchange = [&](int a, int b) {
        std::swap(s.rec_sec_code[a], s.rec_sec_code[b]);
        std::swap(s.rec_sec_raw[a], s.rec_sec_raw[b]);
        std::swap(s.rec_pri_code[a], s.rec_pri_code[b]);
        std::swap(s.rec_pri_raw[a], s.rec_pri_raw[b]);
        std::swap(s.rec_pri_freq[a], s.rec_pri_freq[b]);
        std::swap(s.rec_status[a], s.rec_status[b]);
        std::swap(s.rec_group_no[a], s.rec_group_no[b]);
        std::swap(s.rec_low_batt[a], s.rec_low_batt[b]);
        for (int w = 0; w < 5; ++w) {
            // Slots from 6000 on have no spare words (the array ends at 30000).
            const bool hasA = 5 * a + w < kExtraWords, hasB = 5 * b + w < kExtraWords;
            if (hasA && hasB)
                std::swap(s.rec_extra[5 * a + w], s.rec_extra[5 * b + w]);
            else if (hasA)
                s.rec_extra[5 * a + w] = 0;
            else if (hasB)
                s.rec_extra[5 * b + w] = 0;
        }
    };
    for (int i = 0; i <= N; ++i)
        for (int j = 0; j <= N - i - 3; ++j) {
            const auto kj = key(j), kj1 = key(j + 1);
            if (ascending ? kj > kj1 : kj < kj1) exchange(j, j + 1);
        }
}

// A store of n groups whose currents repeat often across all ranges, so that order among
// equal keys matters.
void randomStore(RecordStore& s, int n, unsigned seed) {
    std::mt19937 rng(seed);
    const char codes[] = {'0', '1', '2', '@', 'A', 'B', '3', 'C'};
    for (int i = 0; i < n; ++i) {
        const char code = codes[rng() % 8];
        const int raw = static_cast<int>(rng() % 12) * 50; // few distinct values
        testing::putGroup(s, i,
                          {i + 1, '1', static_cast<int>(rng() % 30000), static_cast<std::uint8_t>(code), raw,
                           static_cast<std::uint8_t>(rng() % 7 == 0 ? 5 : 0),
                           static_cast<std::uint8_t>(rng() % 5 == 0)});
        for (int w = 0; w < 5 && 5 * i + w < kExtraWords; ++w)
            s.rec_extra[5 * i + w] = static_cast<std::int16_t>(i * 5 + w);
    }
}

void expectSameStore(const RecordStore& a, const RecordStore& b) {
    EXPECT_EQ(a.rec_sec_code, b.rec_sec_code);
    EXPECT_EQ(a.rec_sec_raw, b.rec_sec_raw);
    EXPECT_EQ(a.rec_pri_code, b.rec_pri_code);
    EXPECT_EQ(a.rec_pri_raw, b.rec_pri_raw);
    EXPECT_EQ(a.rec_pri_freq, b.rec_pri_freq);
    EXPECT_EQ(a.rec_status, b.rec_status);
    EXPECT_EQ(a.rec_group_no, b.rec_group_no);
    EXPECT_EQ(a.rec_low_batt, b.rec_low_batt);
    EXPECT_EQ(a.rec_extra, b.rec_extra);
}

class SortOrder : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(SortOrder, IsExactlyTheExchangeSortsOrder) {
    const auto [n, ascending] = GetParam();
    FormHarness h;
    randomStore(*h.form, n, static_cast<unsigned>(n * 7 + ascending));
    auto expected = std::make_unique<RecordStore>(static_cast<const RecordStore&>(*h.form));
    exchangeSort(*expected, ascending);
    if (ascending)
        h.form->Command13_Click();
    else
        h.form->Command12_Click();
    expectSameStore(*h.form, *expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SortOrder,
                         ::testing::Combine(::testing::Values(0, 1, 2, 3, 26, 27, 400), ::testing::Bool()),
                         [](const auto& info) {
                             const int groups = std::get<0>(info.param);
                             const bool ascending = std::get<1>(info.param);
                             return testing::caseName(info.index,
                                                      std::to_string(groups) + "_groups_" +
                                                          (ascending ? "ascending" : "descending"));
                         });

TEST(Sorting, AFullStoreSortsAndRestores) {
    FormHarness h;
    randomStore(*h.form, kStoreSlots, 13);
    auto received = std::make_unique<RecordStore>(static_cast<const RecordStore&>(*h.form));
    h.form->Command12_Click();
    for (int i = 1; i < kStoreSlots; ++i)
        ASSERT_GE(
            secondaryKey(static_cast<std::int64_t>(h.form->rec_sec_raw[i - 1]), h.form->rec_sec_code[i - 1]),
            secondaryKey(static_cast<std::int64_t>(h.form->rec_sec_raw[i]), h.form->rec_sec_code[i]));
    // Spare words exist for slots up to 30000 / 5: a group keeps its words where both its old
    // and its new slot have them, and gets zeros where only the new one does.
    int carried = 0, zeroed = 0;
    for (int i = 0; i < kStoreSlots; ++i) {
        const int from = static_cast<int>(h.form->rec_group_no[i]) - 1;
        for (int w = 0; w < 5 && 5 * i + w < kExtraWords; ++w) {
            const bool had = 5 * from + w < kExtraWords;
            ASSERT_EQ(h.form->rec_extra[5 * i + w], had ? received->rec_extra[5 * from + w] : 0)
                << i << " " << w;
            (had ? carried : zeroed) += 1;
        }
    }
    EXPECT_GT(carried, 1000);
    EXPECT_GT(zeroed, 100) << "the store must move groups across slot 6000 for this test to mean anything";
    h.form->Command7_Click();
    EXPECT_EQ(h.form->rec_group_no, received->rec_group_no);
    EXPECT_EQ(h.form->rec_sec_raw, received->rec_sec_raw);
    EXPECT_EQ(h.form->rec_status, received->rec_status);
}

TEST(Sorting, EqualCurrentsKeepTheirOrderInBothDirections) {
    FormHarness h;
    testing::putGroup(*h.form, 0, {1, '1', 100, '2', 500});
    testing::putGroup(*h.form, 1, {2, '1', 200, '@', 5000}); // also 5 A
    testing::putGroup(*h.form, 2, {3, '1', 300, '2', 100});
    h.form->Command13_Click();
    EXPECT_EQ(h.form->rec_group_no[0], 3);
    EXPECT_EQ(h.form->rec_group_no[1], 1);
    EXPECT_EQ(h.form->rec_group_no[2], 2);
    h.form->Command12_Click();
    EXPECT_EQ(h.form->rec_group_no[0], 1);
    EXPECT_EQ(h.form->rec_group_no[1], 2);
    EXPECT_EQ(h.form->rec_group_no[2], 3);
}

TEST(Sorting, ComparesCurrentsAcrossRanges) {
    FormHarness h;
    testing::putGroup(*h.form, 0, {1, '1', 100, '1', 15});  // 1.5 A
    testing::putGroup(*h.form, 1, {2, '1', 100, '@', 900}); // 900 mA
    testing::putGroup(*h.form, 2, {3, '1', 100, 'C', 999}); // no factor: key 0
    h.form->Command13_Click();
    EXPECT_EQ(h.form->rec_group_no[0], 3);
    EXPECT_EQ(h.form->rec_group_no[1], 2);
    EXPECT_EQ(h.form->rec_group_no[2], 1);
}

TEST(Sorting, PaiJiScalesByTheSecondaryRange) {
    FormHarness h;
    std::int32_t raw = 32767;
    std::uint8_t code = '0';
    h.form->pai_ji(raw, code);
    EXPECT_EQ(h.form->sort_key, 3276700000) << "beyond 32 bits, still exact";
    code = '3';
    h.form->sort_key = 77;
    h.form->pai_ji(raw, code);
    EXPECT_EQ(h.form->sort_key, 77) << "a code without a factor leaves the key alone";
}

TEST(Sorting, ShowsProgressAndEndsOnPageOne) {
    FormHarness h;
    randomStore(*h.form, 300, 5);
    h.form->CountStoredGroups();
    h.form->ShowPage(3);
    std::vector<std::string> percents;
    std::vector<int> widths;
    h.events.onProcess = [&] {
        EXPECT_TRUE(h.form->Text33.visible());
        EXPECT_EQ(h.text("Text42"), "正在排序......");
        EXPECT_EQ(h.form->Text34.rect().left, 480 + h.form->Text33.rect().width);
        percents.push_back(h.text("Text34"));
        widths.push_back(h.form->Text33.rect().width);
    };
    h.form->Command13_Click();
    ASSERT_EQ(percents.size(), 101u) << "the window gets a turn at every percent";
    EXPECT_EQ(percents.front(), "1% ");
    EXPECT_EQ(percents[49], "50% ");
    EXPECT_EQ(percents.back(), "101% ");
    EXPECT_EQ(widths.front(), 0);
    EXPECT_EQ(widths.back(), 10000);
    EXPECT_TRUE(std::is_sorted(widths.begin(), widths.end()));
    EXPECT_FALSE(h.form->Text33.visible());
    EXPECT_FALSE(h.form->Text34.visible());
    EXPECT_EQ(h.text("Text42"), "");
    EXPECT_EQ(h.form->current_page, 1);
    EXPECT_EQ(h.text("Text41"), "1/12页   300组");
}

TEST(Sorting, EmptyStoreShowsOneAndOneHundredAndOnePercent) {
    FormHarness h;
    std::vector<std::string> percents;
    h.events.onProcess = [&] { percents.push_back(h.text("Text34")); };
    h.form->Command12_Click();
    EXPECT_EQ(percents, (std::vector<std::string>{"1% ", "101% "}));
    EXPECT_EQ(h.text("Text41"), "1/1页   0组");
}

TEST(Sorting, OtherStoreCommandsWaitWhileTheSortRuns) {
    FormHarness h;
    randomStore(*h.form, 100, 9);
    auto expected = std::make_unique<RecordStore>(static_cast<const RecordStore&>(*h.form));
    exchangeSort(*expected, true);
    h.dialogs.answers = {true, true, true};
    h.dialogs.saveAnswers = {std::string("/tmp/x.txt")};
    int turns = 0;
    h.events.onProcess = [&] {
        if (++turns != 10) return;
        h.form->Command12_Click(); // another sort
        h.form->Command7_Click();  // restore
        h.form->Command2_Click();  // clear
        h.form->Command4_Click();  // next page
        h.form->Command3_Click();
        h.form->Text27.setText("3");
        h.form->Command8_Click();
        h.form->Command1_Click(); // save
        h.form->Command5.setText("读  取");
        h.form->Text40.setText("连接成功");
        h.form->Command5_Click(); // read
        h.form->Command15_Click(); // the history curve
    };
    h.form->Command13_Click();
    expectSameStore(*h.form, *expected);
    EXPECT_EQ(h.form->curve_mode, CurveState::kLiveCurve) << "no curve of a half-sorted store";
    EXPECT_TRUE(h.dialogs.boxes.empty()) << "no command ran in between";
    EXPECT_TRUE(h.dialogs.saveRequests.empty());
    EXPECT_TRUE(h.port.writes.empty()) << "no read was sent";
    EXPECT_EQ(h.form->current_page, 1);
    h.form->Command4_Click();
    EXPECT_EQ(h.form->current_page, 2) << "after the sort the store answers again";
}

TEST(Sorting, RestoreBringsBackTheReceivedOrder) {
    FormHarness h;
    randomStore(*h.form, 500, 11);
    auto received = std::make_unique<RecordStore>(static_cast<const RecordStore&>(*h.form));
    h.form->Command12_Click();
    h.form->Command13_Click();
    h.form->ShowPage(4);
    h.form->Command7_Click();
    expectSameStore(*h.form, *received);
    EXPECT_EQ(h.form->current_page, 1);
    EXPECT_EQ(h.text("Text41"), "1/20页   500组");
    EXPECT_TRUE(h.text("Text1").starts_with("第0001组:"));
}

TEST(Sorting, RestoreKeepsEveryGroupEvenWithOddNumbers) {
    FormHarness h;
    testing::putGroup(*h.form, 0, {9, '1', 100, '2', 100});
    testing::putGroup(*h.form, 1, {2, '1', 100, '2', 200});
    testing::putGroup(*h.form, 2, {2, '1', 100, '2', 300});
    h.form->Command7_Click();
    EXPECT_EQ(h.form->rec_sec_raw[0], 200);
    EXPECT_EQ(h.form->rec_sec_raw[1], 300);
    EXPECT_EQ(h.form->rec_sec_raw[2], 100);
    h.form->CountStoredGroups();
    EXPECT_EQ(h.form->ji_ge, 4);
}

TEST(Sorting, MenuEntriesSortAsTheirCaptionsSay) {
    FormHarness h;
    testing::putGroup(*h.form, 0, {1, '1', 100, '2', 300});
    testing::putGroup(*h.form, 1, {2, '1', 100, '2', 100});
    h.form->shengcuq_Click(); // "升  序": smallest secondary first
    EXPECT_EQ(h.form->rec_group_no[0], 2);
    h.form->jianxun_Click(); // "降  序": largest secondary first
    EXPECT_EQ(h.form->rec_group_no[0], 1);
    h.form->Command13.setEnabled(false);
    h.form->shengcuq_Click();
    EXPECT_EQ(h.form->rec_group_no[0], 1) << "the ascending entry waits for its button";
    h.form->Command13.setEnabled(true);
    h.form->shengcuq_Click();
    h.form->Command12.setEnabled(false);
    h.form->Command7.setEnabled(false);
    h.form->jianxun_Click();
    h.form->huaiyuan_Click();
    EXPECT_EQ(h.form->rec_group_no[0], 2) << "neither the descending entry nor restore ran";
}

TEST(Sorting, AfterASortNextPageGoesToPageTwo) {
    FormHarness h;
    randomStore(*h.form, 60, 3);
    h.form->Command13_Click();
    h.form->Command4_Click();
    EXPECT_EQ(h.form->current_page, 2);
    EXPECT_EQ(h.text("Text41"), "2/3页   60组");
}

} // namespace
} // namespace hvr
