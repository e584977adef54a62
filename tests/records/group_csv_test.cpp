// The stored groups as CSV: one row a group, currents in amperes, flags in their own columns.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <fstream>
#include <sstream>

#include "analysis/group_analysis.h"
#include "records/group_csv.h"
#include "tests/support/form_harness.h"
#include "tests/support/store_builder.h"

namespace hvr {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A normal group, one without primary signal, one over range, one with the battery low.
void fourKinds(RecordStore& store) {
    testing::putGroup(store, 0, {1, '1', 1234, '2', 456});
    testing::putGroup(store, 1, {2, '1', 1234, '2', 456, 5});
    testing::putGroup(store, 2, {3, '1', 1234, '2', 4000});
    testing::putGroup(store, 3, {4, '@', 500, 'A', 2995, 0, 1});
}

TEST(GroupCsv, MatchesTheGoldenFile) {
    auto store = std::make_unique<RecordStore>();
    fourKinds(*store);
    EXPECT_EQ(groupsCsv(*store, 5), readFile(HVR_TEST_DATA "/groups.csv"));
}

TEST(GroupCsv, ACodeTheInstrumentDoesNotDefineIsNoCurrent) {
    auto store = std::make_unique<RecordStore>();
    testing::putGroup(*store, 0, {1, '1', 6000, '3', 2500}); // "3" is the primary's alone
    testing::putGroup(*store, 1, {2, '1', 6000, '2', 498});
    EXPECT_TRUE(groupReading(*store, 0).invalidRange);
    EXPECT_FALSE(groupReading(*store, 1).invalidRange);
}

TEST(GroupCsv, AStoredGroupIsOverRangeExactlyWhenTheSameLiveReadingIs) {
    struct Case {
        std::uint8_t priCode;
        int priRaw;
        std::uint8_t secCode;
        int secRaw;
        bool overRange;
    };
    for (const Case& c : {Case{'1', 6000, '2', 10000, true},  // the secondary at full scale
                          Case{'1', 6000, '@', 4175, false},  // 4.175 A is a reading
                          Case{'1', 6000, '1', 4000, true},   // the secondary's overload mark
                          Case{'0', 10000, '2', 498, true},   // the primary at full scale
                          Case{'1', 6000, '2', 3900, false}}) {
        auto store = std::make_unique<RecordStore>();
        testing::putGroup(*store, 0, {1, c.priCode, c.priRaw, c.secCode, c.secRaw});
        testing::FormHarness h;
        h.startLive();
        h.showLive(testing::frame(static_cast<std::uint16_t>(c.secRaw), c.secCode,
                                  static_cast<std::uint16_t>(c.priRaw), c.priCode));
        EXPECT_EQ(groupReading(*store, 0).overRange, c.overRange) << c.secRaw << " " << c.secCode;
        EXPECT_EQ(analysis::liveReading(h.form->last_shown).overRange, c.overRange) << c.secRaw << " " << c.secCode;
    }
}

TEST(GroupCsv, AnEmptyStoreIsTheHeaderAlone) {
    auto store = std::make_unique<RecordStore>();
    EXPECT_EQ(groupsCsv(*store, 1),
              "\xEF\xBB\xBF组号,一次电流(A),二次电流(A),变比,一次电流频率(Hz),无信号,超量程,电池电压低\r\n");
}

TEST(GroupCsv, TheWindowSavesItWhenTheCsvTypeIsChosen) {
    testing::FormHarness h;
    fourKinds(*h.form);
    h.form->Command9_Click();
    h.dialogs.saveAnswers = {std::string("/home/engineer/HVR/groups.CSV")};
    h.form->Command1_Click();
    ASSERT_EQ(h.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(h.dialogs.saveRequests[0].fileName, "HVR.txt") << "the listing stays the default";
    EXPECT_EQ(h.dialogs.saveRequests[0].alternative, ".csv");
    EXPECT_EQ(h.files.files.at("/home/engineer/HVR/groups.CSV"), readFile(HVR_TEST_DATA "/groups.csv"));
}

// A spreadsheet opens it as it is: converted by LibreOffice and read back, the numbers are
// numbers. Skipped where LibreOffice is not installed.
TEST(GroupCsv, LibreOfficeReadsItAsItIs) {
    if (std::system("command -v soffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    const auto dir = std::filesystem::temp_directory_path() / ("hvr-csv-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(HVR_TEST_DATA "/groups.csv", dir / "groups.csv",
                               std::filesystem::copy_options::overwrite_existing);
    const std::string convert =
        "cd " + dir.string() +
        " && soffice --headless --infilter=CSV:44,34,76 --convert-to ods groups.csv >/dev/null 2>&1"
        " && soffice --headless --convert-to csv:Text\\ -\\ txt\\ -\\ csv\\ \\(StarCalc\\):44,34,76"
        " --outdir back groups.ods >/dev/null 2>&1";
    ASSERT_EQ(std::system(convert.c_str()), 0);
    const std::string back = readFile((dir / "back" / "groups.csv").string());
    EXPECT_NE(back.find("1,123.4,4.56,27,50,0,0,0"), std::string::npos) << back;
    EXPECT_NE(back.find("组号"), std::string::npos) << "the header read as UTF-8";
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace hvr
