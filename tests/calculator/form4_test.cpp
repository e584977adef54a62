// The YY ratio calculator: every check with its message and reset, and the results.
#include <gtest/gtest.h>

#include <limits>

#include "calculator/form4.h"
#include "tests/support/case_name.h"
#include "tests/support/fake_services.h"

namespace hvr {
namespace {

struct CalculatorCase {
    const char* about;
    const char* primary;
    bool primaryAmps;
    const char* secondary;
    bool secondaryAmps;
    const char* message; // empty: no box
    const char* boxes;   // both boxes after a refusal; ignored when accepted
    const char* ratio;
    const char* referred;
    const char* yy;
};

class Calculator : public ::testing::TestWithParam<CalculatorCase> {};

TEST_P(Calculator, ChecksComputesAndShows) {
    const CalculatorCase& c = GetParam();
    testing::FakeDialogs dialogs;
    Form4 form(dialogs);
    form.Form_Load();
    form.Text1.setText(c.primary);
    form.Text2.setText(c.secondary);
    if (c.primaryAmps) form.SelectOption("Option2");
    if (c.secondaryAmps) form.SelectOption("Option4");
    form.Command1_Click();
    if (std::string(c.message).empty()) {
        EXPECT_TRUE(dialogs.boxes.empty());
        EXPECT_EQ(form.Text1.text(), c.primary) << "the entries stay";
    } else {
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, c.message);
        EXPECT_EQ(dialogs.boxes[0].title, "系统提示");
        EXPECT_EQ(form.Text1.text(), c.boxes);
        EXPECT_EQ(form.Text2.text(), c.boxes);
    }
    EXPECT_EQ(form.Label4.text(), c.ratio);
    EXPECT_EQ(form.Label6.text(), c.referred);
    EXPECT_EQ(form.Label8.text(), c.yy);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Calculator,
    ::testing::Values(
        CalculatorCase{"empty_boxes", "", false, "", false, "输入数据有误", "", "0", "0A/5A", "0"},
        CalculatorCase{"one_blank", " ", false, "5", false, "输入数据有误", "0", "0", "0A/5A", "0"},
        CalculatorCase{"five_blanks", "600", false, "     ", false, "输入数据有误", "0", "0", "0A/5A", "0"},
        CalculatorCase{"secondary_zero", "600", false, "0", false, "输入数据有误", "", "0", "0A/5A", "0"},
        CalculatorCase{"secondary_negative", "600", false, "-1", false, "输入数据有误", "", "0", "0A/5A",
                       "0"},
        CalculatorCase{"secondary_too_big", "600", false, "10001", false, "输入数据超出范围", "", "0",
                       "0A/5A", "0"},
        CalculatorCase{"secondary_10000", "10000", false, "10000", false, "", "", "1", "5A / 5A", "0"},
        CalculatorCase{"primary_abc", "abc", false, "5", false, "输入数据超出范围", "", "0", "0A/5A", "0"},
        CalculatorCase{"primary_too_big", "10001", false, "5", false, "输入数据超出范围", "", "0", "0A/5A",
                       "0"},
        CalculatorCase{"primary_zero", "0", false, "5", false, "", "", "0", "0A / 5A", "0"},
        CalculatorCase{"tie_2_25", "9", false, "4", false, "", "", "2.2", "11.2A / 5A", "0.1"},
        CalculatorCase{"tie_2_75", "11", false, "4", false, "", "", "2.8", "13.8A / 5A", "0.1"},
        CalculatorCase{"one_to_three_mA", "1", false, "3", false, "", "", "0.3", "1.7A / 5A", "0"},
        CalculatorCase{"worked_example", "600", true, "5", true, "", "", "120", "600A / 5A", "4.6"},
        CalculatorCase{"negative_rounds_to_zero", "-0.01", false, "5", false, "", "", "0", "0A / 5A", "0"},
        CalculatorCase{"negative_primary", "-10", false, "5", false, "", "", "-2", "-10A / 5A", "-0.1"},
        CalculatorCase{"tiny_secondary", "10000", true, "1E-20", false, "", "",
                       "1000000000000000000000000000", "5000000000000000000000000000A / 5A",
                       "38000000000000000000000000"}),
    [](const auto& info) { return testing::caseName(info.index, info.param.about); });

TEST(CalculatorWindow, ResetKeepsTheUnitsAndCloseIsRecorded) {
    testing::FakeDialogs dialogs;
    Form4 form(dialogs);
    form.Form_Load();
    EXPECT_EQ(form.Me.text(), "YY折算变比计算器");
    EXPECT_TRUE(form.Option1.value());
    EXPECT_TRUE(form.Option3.value());
    form.SelectOption("Option2");
    form.Text1.setText("600");
    form.Text2.setText("5");
    form.Command1_Click();
    form.Command3_Click();
    EXPECT_EQ(form.Text1.text(), "");
    EXPECT_EQ(form.Label4.text(), "0");
    EXPECT_EQ(form.Label6.text(), "0A/5A");
    EXPECT_TRUE(form.Option2.value()) << "the units stay";
    EXPECT_FALSE(form.Option1.value());
    EXPECT_FALSE(form.closed());
    form.Command2_Click();
    EXPECT_TRUE(form.closed());
    EXPECT_EQ(form.Text1.foreColor(), 0x0000FFu) << "red";
    EXPECT_EQ(form.Text2.foreColor(), 0x00C000u) << "green";
}

TEST(CalculatorWindow, ResultsRoundHalfToEvenAndNeverShowMinusZero) {
    EXPECT_EQ(calculatorResultText(4.56), "4.6");
    EXPECT_EQ(calculatorResultText(0.25), "0.2");
    EXPECT_EQ(calculatorResultText(-0.04), "0");
    EXPECT_EQ(calculatorResultText(-0.05), "0");
    EXPECT_EQ(calculatorResultText(-0.06), "-0.1");
    EXPECT_EQ(calculatorResultText(1e21), "1000000000000000000000");
}

} // namespace
} // namespace hvr
