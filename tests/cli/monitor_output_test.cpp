#include <gtest/gtest.h>

#include "cli/monitor_output.h"
#include "tests/support/form_harness.h"

namespace hvr::cli {
namespace {

using hvr::testing::FormHarness;

TEST(MonitorOutput, JsonStringsEscapeWhatJsonNeeds) {
    EXPECT_EQ(jsonString("变 比:8"), "\"变 比:8\"");
    EXPECT_EQ(jsonString("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");
}

TEST(MonitorOutput, JsonLineHasThePanelInOrder) {
    FormHarness h;
    h.form->Label9.setText("600.5A");
    h.form->Label15.setText("平均电流值: 0mA");
    const std::string line = jsonLine(*h.form, "2026-12-09T08:00:00.000+08:00");
    EXPECT_TRUE(line.starts_with("{\"Label9\":\"600.5A\",\"Label10\":")) << line;
    EXPECT_NE(line.find(",\"Label15\":\"平均电流值: 0mA\",\"time\":\"2026-12-09T08:00:00.000+08:00\""),
              std::string::npos)
        << line;
    std::size_t at = 0;
    for (const char* key : {"Label9", "Label10", "Label11", "Label12", "Label16", "Label17", "Label18",
                            "Text41", "Label1", "Label2", "Label5", "Label13", "Label14", "Label15"}) {
        const auto found = line.find("\"" + std::string(key) + "\":", at);
        ASSERT_NE(found, std::string::npos) << key;
        at = found;
    }
}

TEST(MonitorOutput, CsvRowsAreNumbersInAmperesWithFlags) {
    FormHarness h;
    h.startLive();
    h.showLive({0x01, 0xF5, 0x32, 0x17, 0x75, 0x31, 0xB2, 0x00}); // 600.5 A, 5.01 A
    EXPECT_EQ(csvRow(*h.form, "t"), "t,600.5,5.01,119.8,599.3,4.5,50,60,0,0,0");
    h.live({0x00, 0x64, 0x41, 0x17, 0x75, 0x31, 0x32, 0x00}); // 10.0 mA: still amperes
    EXPECT_EQ(csvRow(*h.form, "t"), "t,600.5,0.01,60050,300250,2281.9,50,50,0,0,0");
    h.live({0x27, 0x10, 0x32, 0x27, 0x10, 0x30, 0x32, 0x00}); // both at full scale
    EXPECT_EQ(csvRow(*h.form, "t"), "t,10000,100,100,500,3.8,50,50,0,1,0")
        << "the values sent, and the flag for what the panel shows as OL";
    h.live({0x00, 0x64, 0x32, 0x27, 0x10, 0x30, 0x32, 0x00}); // the primary alone at full scale
    EXPECT_EQ(csvRow(*h.form, "t"), "t,10000,1,10000,50000,380,50,50,0,1,0");
    h.live({0x80, 0x64, 0x32, 0x80, 0x00, 0x31, 0x32, 0x05}); // no signal, battery low
    EXPECT_EQ(csvRow(*h.form, "t"), "t,0,1,0,,,,50,1,0,1");
    const std::string header = csvHeader();
    EXPECT_TRUE(header.starts_with("\xEF\xBB\xBF时间,一次电流(A),二次电流(A),"));
    EXPECT_EQ(std::count(header.begin(), header.end(), ','), 10);
}

} // namespace
} // namespace hvr::cli
