// The print options dialog: what it shows, and every check of a typed range with its boxes in
// their order.
#include <gtest/gtest.h>

#include "print/form3.h"
#include "tests/support/case_name.h"
#include "tests/support/fake_services.h"

namespace hvr {
namespace {

struct OptionsCase {
    const char* about;
    int groups;
    bool custom;
    const char* first;
    const char* last;
    std::vector<std::string> boxes;
    int outcome; // 0: the dialog stays open
    int dakai;
    int dajie;
    const char* lastAfter;
};

class PrintOptions : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(PrintOptions, ChecksTheRangeAndHandsItOver) {
    const OptionsCase& c = GetParam();
    PrintHandOff handOff;
    testing::FakeDialogs dialogs;
    Form3 dialog(handOff, static_cast<std::int16_t>(c.groups + 1), dialogs);
    dialog.Form_Load();
    if (c.custom) dialog.SelectOption("Option1");
    dialog.Text1.setText(c.first);
    dialog.Text2.setText(c.last);
    dialog.Command2_Click();
    std::vector<std::string> texts;
    for (const auto& box : dialogs.boxes) {
        texts.push_back(box.text);
        EXPECT_EQ(box.title, "系统提示");
    }
    EXPECT_EQ(texts, c.boxes);
    EXPECT_EQ(handOff.dayinlin, c.outcome);
    EXPECT_EQ(dialog.closed(), c.outcome != 0);
    if (c.outcome == PrintHandOff::kPrint) {
        EXPECT_EQ(handOff.dakai, c.dakai);
        EXPECT_EQ(handOff.dajie, c.dajie);
    }
    EXPECT_EQ(dialog.Text2.text(), c.lastAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, PrintOptions,
    ::testing::Values(
        OptionsCase{"all_of_nothing", 0, false, "", "", {}, PrintHandOff::kCancel, 0, 0, ""},
        OptionsCase{"all_of_155", 155, false, "", "", {}, PrintHandOff::kPrint, 0, 1, ""},
        OptionsCase{"all_of_156", 156, false, "", "", {}, PrintHandOff::kPrint, 0, 1, ""},
        OptionsCase{"all_of_157", 157, false, "", "", {}, PrintHandOff::kPrint, 0, 2, ""},
        OptionsCase{"end_corrected", 155, true, "1", "5", {}, PrintHandOff::kPrint, 0, 2, "2"},
        OptionsCase{"abc_and_3",
                    300,
                    true,
                    "abc",
                    "3",
                    {"所输入的数据类型不对", "打印开始页数不能为0"},
                    0,
                    0,
                    0,
                    "3"},
        OptionsCase{"both_not_numbers",
                    300,
                    true,
                    "x",
                    "y",
                    {"所输入的数据类型不对", "打印开始页数不能为0", "打印结束页数不能为0"},
                    0,
                    0,
                    0,
                    "y"},
        OptionsCase{
            "zero_zero", 300, true, "0", "0", {"打印开始页数不能为0", "打印结束页数不能为0"}, 0, 0, 0, "0"},
        OptionsCase{"empty_end", 300, true, "1", "", {"输入错误"}, 0, 0, 0, ""},
        OptionsCase{"three_to_one", 2000, true, "3", "1", {"打印开始页数大于结束页数"}, 0, 0, 0, "1"},
        OptionsCase{"start_beyond_the_sheets",
                    155,
                    true,
                    "3",
                    "5",
                    {"打印开始页数大于总页数: 共有1页"},
                    0,
                    0,
                    0,
                    "2"},
        OptionsCase{"fraction", 2000, true, "2.5", "3.5", {}, PrintHandOff::kPrint, 2, 4, "3.5"},
        OptionsCase{"huge_first", 2000, true, "40000", "3", {"打印开始页数大于总页数: 共有13页"}, 0, 0, 0, "3"},
        OptionsCase{"negative_first", 2000, true, "-30000", "3", {}, PrintHandOff::kPrint, 0, 3, "3"},
        OptionsCase{"huge_end", 2000, true, "1", "40000", {}, PrintHandOff::kPrint, 0, 13, "13"}),
    [](const auto& info) { return testing::caseName(info.index, info.param.about); });

TEST(PrintOptionsDialog, LoadShowsTheGroupsAndSheets) {
    PrintHandOff handOff;
    testing::FakeDialogs dialogs;
    Form3 empty(handOff, 1, dialogs);
    empty.Form_Load();
    EXPECT_EQ(empty.Label1.text(), "共有:0组");
    EXPECT_EQ(empty.Label3.text(), "结束页数:0页");
    Form3 full(handOff, 157, dialogs);
    full.Form_Load();
    EXPECT_EQ(full.Label1.text(), "共有:156组");
    EXPECT_EQ(full.Label3.text(), "结束页数:1页") << "156 groups fill one sheet";
    EXPECT_EQ(full.Label2.text(), "开始页数:1");
    EXPECT_EQ(full.Label4.text(), "每页有:156组");
    EXPECT_EQ(full.Me.text(), "打印选项");
    EXPECT_TRUE(full.Option2.value());
    EXPECT_FALSE(full.Option1.value());
}

TEST(PrintOptionsDialog, CancelAndTheCloseBoxReportCancelledOnce) {
    PrintHandOff handOff;
    testing::FakeDialogs dialogs;
    Form3 dialog(handOff, 300, dialogs);
    dialog.QueryUnload();
    EXPECT_EQ(handOff.dayinlin, PrintHandOff::kCancel);
    EXPECT_TRUE(dialog.closed());
    handOff.dayinlin = 0;
    dialog.Command2_Click(); // closed: a late click changes nothing
    EXPECT_EQ(handOff.dayinlin, 0);
}

} // namespace
} // namespace hvr
