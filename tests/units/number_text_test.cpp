#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include <cstdint>
#include <limits>

#include "units/number_text.h"
#include "tests/support/case_name.h"

namespace hvr {
namespace {

struct DecimalCase {
    std::int64_t value;
    int decimals;
    const char* text;
};

class DecimalText : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(DecimalText, IsShortestExactForm) {
    const auto& c = GetParam();
    EXPECT_EQ(decimalText(c.value, c.decimals), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecimalText,
    ::testing::Values(DecimalCase{0, 0, "0"}, DecimalCase{0, 2, "0"}, DecimalCase{5, 2, "0.05"},
                      DecimalCase{25, 2, "0.25"}, DecimalCase{250, 2, "2.5"}, DecimalCase{500, 2, "5"},
                      DecimalCase{123456, 3, "123.456"}, DecimalCase{1000, 3, "1"},
                      DecimalCase{1001, 3, "1.001"}, DecimalCase{20000, 1, "2000"}, DecimalCase{3, 1, "0.3"},
                      DecimalCase{-5, 1, "-0.5"}, DecimalCase{-120, 1, "-12"},
                      DecimalCase{3276700000, 2, "32767000"},
                      DecimalCase{std::numeric_limits<std::int64_t>::min(), 0, "-9223372036854775808"}),
    [](const auto& info) {
        return testing::caseName(info.index, std::to_string(info.param.value) + "_decimals" +
                                                 std::to_string(info.param.decimals));
    });

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(0.4), 0);
    EXPECT_EQ(roundHalfEven(2.51), 3);
    EXPECT_EQ(roundHalfEven(499999.99999999994), 500000);
}

TEST(NumbersWhateverTheLocale, AreWrittenAndReadWithAPoint) {
    // The locale a German laptop has: its comma must never reach a figure.
    const char* before = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = before != nullptr ? before : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(fixedText(-0.05, 2), "-0.05");
    EXPECT_EQ(fixedText(12.3, 2), "12.30");
    EXPECT_EQ(fixedText(0.125, 2), "0.12") << "the exact double, rounded once";
    struct Case {
        const char* text;
        double value;
        std::size_t length;
        bool outOfRange;
    };
    for (const Case& c : {Case{"1.5", 1.5, 3, false}, Case{"+1.5 ", 1.5, 4, false}, Case{".5", 0.5, 2, false},
                          Case{"-2e3", -2000, 4, false}, Case{"1.", 1, 2, false}, Case{"1e999", HUGE_VAL, 5, true},
                          Case{"-1e999", -HUGE_VAL, 6, true}, Case{"1e-999", 0, 6, true}, Case{"0x10", 0, 1, false}}) {
        const auto n = leadingNumber(c.text);
        ASSERT_TRUE(n) << c.text;
        EXPECT_EQ(n->value, c.value) << c.text;
        EXPECT_EQ(n->length, c.length) << c.text;
        EXPECT_EQ(n->outOfRange, c.outOfRange) << c.text;
    }
    for (const char* none : {"", "inf", "nan", "+-1", "e5", "-", "+"})
        EXPECT_FALSE(leadingNumber(none)) << none;
    EXPECT_EQ(leadingNumber("1,5")->length, 1u) << "a comma ends the number";
    std::setlocale(LC_NUMERIC, saved.c_str());
}

} // namespace
} // namespace hvr
