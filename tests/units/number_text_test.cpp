#include <gtest/gtest.h>

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

} // namespace
} // namespace hvr
