#include <gtest/gtest.h>

#include <memory>

#include "records/row_format.h"
#include "tests/support/store_builder.h"

namespace hvr {
namespace {

using testing::Group;

std::string row(const Group& g) {
    auto store = std::make_unique<RecordStore>();
    testing::putGroup(*store, 0, g);
    return formatRow(*store, 0);
}

std::string sp(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

struct RowCase {
    const char* name;
    Group group;
    std::string text;
};

class RowText : public ::testing::TestWithParam<RowCase> {};

TEST_P(RowText, IsExactToTheBlank) {
    EXPECT_EQ(row(GetParam().group), GetParam().text);
}

// The line: 第 G 组: blank P PU, seven blanks, S SU, fifteen blanks, R.
std::string line(const std::string& g, const std::string& p, const std::string& s, const std::string& r) {
    return "第" + g + "组: " + p + sp(7) + s + sp(15) + r;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, RowText,
    ::testing::Values(
        RowCase{"Example", {12, '1', 1234, '2', 456}, line("0012", "123.4A ", "4.56A  ", "27")},
        RowCase{"FiveDigitGroup", {12345, '1', 1234, '2', 456}, line("12345", "123.4A ", "4.56A  ", "27")},
        RowCase{"GroupOne", {1, '1', 1234, '2', 456}, line("0001", "123.4A ", "4.56A  ", "27")},
        RowCase{"GroupTen", {10, '1', 1234, '2', 456}, line("0010", "123.4A ", "4.56A  ", "27")},
        RowCase{"GroupHundred", {100, '1', 1234, '2', 456}, line("0100", "123.4A ", "4.56A  ", "27")},
        RowCase{"GroupThousand", {1000, '1', 1234, '2', 456}, line("1000", "123.4A ", "4.56A  ", "27")},
        // Primary alignment by code and size.
        RowCase{"PrimaryZeroSmall", {1, '0', 999, '2', 500}, line("0001", "999A   ", "5.00A  ", "199.8")},
        RowCase{"PrimaryZeroLarge", {1, '0', 1000, '2', 500}, line("0001", "1000A  ", "5.00A  ", "200")},
        RowCase{"PrimaryOneBelowTen", {1, '1', 95, '2', 500}, line("0001", "9.5A   ", "5.00A  ", "1.9")},
        RowCase{"PrimaryOneTen", {1, '1', 100, '2', 500}, line("0001", "10.0A ", "5.00A  ", "2")},
        RowCase{"PrimaryOneTens", {1, '1', 101, '2', 500}, line("0001", "10.1A  ", "5.00A  ", "2")},
        RowCase{"PrimaryOneHundred", {1, '1', 1000, '2', 500}, line("0001", "100.0A ", "5.00A  ", "20")},
        RowCase{"PrimaryTwoBelowTen", {1, '2', 999, '2', 500}, line("0001", "9.99A  ", "5.00A  ", "1.9")},
        RowCase{"PrimaryTwoTen", {1, '2', 1000, '2', 500}, line("0001", "10.00A ", "5.00A  ", "2")},
        RowCase{"PrimaryThree", {1, '3', 1500, '2', 500}, line("0001", "1.5A", "5.00A  ", "0.3")},
        RowCase{"PrimaryAt", {1, '@', 900, 'B', 500}, line("0001", "900mA  ", "5.00mA ", "180")},
        RowCase{"PrimaryABelowTen", {1, 'A', 95, 'B', 500}, line("0001", "9.5mA  ", "5.00mA ", "1.9")},
        RowCase{"PrimaryATens", {1, 'A', 100, 'B', 500}, line("0001", "10.0mA ", "5.00mA ", "2")},
        RowCase{"PrimaryAHundred", {1, 'A', 1000, 'B', 500}, line("0001", "100.0mA", "5.00mA ", "20")},
        RowCase{"PrimaryB", {1, 'B', 5, 'B', 500}, line("0001", "0.05mA", "5.00mA ", "0")},
        RowCase{"PrimaryC", {1, 'C', 1200, 'B', 500}, line("0001", "1.2mA", "5.00mA ", "0")},
        RowCase{"PrimaryUnknown", {1, 'Z', 1200, 'B', 500}, line("0001", "", "5.00mA ", "0")},
        // Secondary alignment by code and size.
        RowCase{"SecondaryBBelowTen", {1, '1', 1000, 'B', 999}, line("0001", "100.0A ", "9.99mA ", "10010")},
        RowCase{"SecondaryATen", {1, '1', 1000, 'A', 100}, line("0001", "100.0A ", "10.0mA  ", "10000")},
        RowCase{"SecondaryATens", {1, '1', 1000, 'A', 101}, line("0001", "100.0A ", "10.1mA ", "9900.9")},
        RowCase{"SecondaryAHundred", {1, '1', 1000, 'A', 1000}, line("0001", "100.0A ", "100.0mA", "1000")},
        RowCase{"SecondaryAtSmall", {1, '1', 1000, '@', 999}, line("0001", "100.0A ", "999mA   ", "100.1")},
        RowCase{"SecondaryAtLarge", {1, '1', 1000, '@', 1000}, line("0001", "100.0A ", "1000mA ", "100")},
        RowCase{"SecondaryTwoLarge", {1, '1', 1000, '2', 1000}, line("0001", "100.0A ", "10.00A ", "10")},
        RowCase{"SecondaryOne", {1, '1', 1000, '1', 50}, line("0001", "100.0A ", "5.0A", "20")},
        RowCase{
            "SecondaryThreeHasNoFactor", {1, '1', 1000, '3', 50}, line("0001", "100.0A ", "0.05A", "0.0")},
        // Zeros.
        RowCase{"PrimaryZero", {1, '1', 0, 'B', 0}, line("0001", "0.0A   ", "0.00mA ", "0.0")},
        // Ratio forms.
        RowCase{"RatioOneMillion", {1, '0', 10, 'B', 1}, line("0001", "10A   ", "0.01mA ", "1000000")},
        RowCase{"RatioK6", {1, '0', 11, 'B', 1}, line("0001", "11A   ", "0.01mA ", "1.1K6")},
        RowCase{"RatioK7", {1, '0', 234, 'B', 1}, line("0001", "234A   ", "0.01mA ", "2.34K7")},
        RowCase{"RatioK8", {1, '0', 1234, 'B', 1}, line("0001", "1234A  ", "0.01mA ", "1.234K8")},
        // Special lines.
        RowCase{"NoSignal",
                {3, '1', 1234, '2', 456, 5},
                "第0003组: 无信号 " + sp(7) + "4.56A  " + sp(15) + sp(3)},
        RowCase{
            "BatteryMark", {4, '1', 1234, '2', 456, 0, 1}, "第0004组: 123.4A    4.56A     " + sp(7) + "■ "},
        RowCase{"NoSignalWithBatteryMark",
                {5, '1', 1234, '2', 456, 5, 1},
                "第0005组: 无信号    4.56A     " + sp(7) + "■ "},
        RowCase{"OverloadLowBound", {6, '1', 1234, '2', 3701}, "第0006组:   OL    37.01A "},
        RowCase{"OverloadHighBound", {6, '1', 1234, '2', 4799}, "第0006组:   OL    47.99A "},
        RowCase{"OverloadWithBatteryMark",
                {6, '1', 1234, '2', 4000, 0, 1},
                "第0006组:   OL    40.00A " + sp(7) + "■ "},
        RowCase{"NotOverloadAt3700", {7, '1', 1234, '2', 3700}, line("0007", "123.4A ", "37.00A ", "3.3")},
        RowCase{"NotOverloadAt4800", {7, '1', 1234, '2', 4800}, line("0007", "123.4A ", "48.00A ", "2.5")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RowText, EmptySlotIsFourBlanksWhateverElseItHolds) {
    auto store = std::make_unique<RecordStore>();
    testing::putGroup(*store, 3, {9, '1', 1234, '2', 456, 0, 1});
    store->rec_sec_code[3] = 0;
    EXPECT_EQ(formatRow(*store, 3), "    ");
    EXPECT_EQ(formatRow(*store, 8000), "    ");
}

TEST(RowText, SlotsOutsideTheStoreAreEmpty) {
    auto store = std::make_unique<RecordStore>();
    store->rec_sec_code.fill('2');
    EXPECT_EQ(formatRow(*store, 8001), "    ");
    EXPECT_EQ(formatRow(*store, -1), "    ");
}

TEST(RowText, RatioBoundaryAtOneHundredThousand) {
    // 100000.0 stays; 100000.1 keeps its whole part.
    auto store = std::make_unique<RecordStore>();
    testing::putGroup(*store, 0, {1, '@', 10000, 'B', 10}); // 1000000 / 10 = 100000.0
    EXPECT_TRUE(formatRow(*store, 0).ends_with(sp(15) + "100000")) << formatRow(*store, 0);
    testing::putGroup(*store, 0, {1, 'A', 30001, 'B', 3}); // 300010 / 3 = 100003.3
    EXPECT_TRUE(formatRow(*store, 0).ends_with(sp(15) + "100003")) << formatRow(*store, 0);
}

TEST(RowText, LargePrimariesStayExact) {
    // 3276.7 A over 0.01 mA: Np x 10 is far beyond 32 bits.
    auto store = std::make_unique<RecordStore>();
    testing::putGroup(*store, 0, {1, '1', 32767, 'B', 1});
    EXPECT_TRUE(formatRow(*store, 0).ends_with("3.276K8")) << formatRow(*store, 0);
}

} // namespace
} // namespace hvr
