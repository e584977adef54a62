// The analysis window without pixels: the nameplate as typed or refused, the live verdict, the
// stored groups judged, the particulars remembered, and what the buttons hand over.
#include <gtest/gtest.h>

#include <cctype>

#include "analysis/error_analysis_form.h"
#include "analysis/error_plot.h"
#include "forms/control.h"
#include "tests/support/fake_services.h"
#include "tests/support/store_builder.h"
#include "texts/texts.h"

namespace hvr {
namespace {

// 600.0 A over 4.98 A: -0.40 % at full load.
constexpr verdict::Reading kFullLoad{60000000, 498000};

struct Analysis : ::testing::Test {
    testing::FakeDialogs dialogs;
    testing::FakeFileSystem files;
    testing::FakeDocuments documents;
    testing::MemoryPreferences preferences;
    ErrorAnalysisForm form{{dialogs, files, documents, preferences}, "1.0.1"};

    void load(const char* rated, const char* accuracy) {
        preferences.values = {{"rated", rated}, {"class", accuracy}};
        form.Form_Load();
    }
    // Three groups: within 0.5 at full load, beyond it at 20 %, and one without signal.
    void threeGroups() {
        RecordStore store;
        testing::putGroup(store, 0, {7, '1', 6000, '2', 498});
        testing::putGroup(store, 1, {8, '1', 1200, '2', 99});
        testing::putGroup(store, 2, {9, '1', 6000, '2', 500, 5});
        form.showGroups(store, kStoreSlots, "2026-12-09 10:00:00");
    }
};

TEST_F(Analysis, TheLiveVerdictAgainstTheRememberedNameplate) {
    load("600/5", "0.5");
    EXPECT_EQ(form.ratedEntry.text(), "600/5");
    EXPECT_EQ(form.classCombo.text(), "0.5");
    form.showLive(kFullLoad, ErrorAnalysisForm::LiveState::Live);
    EXPECT_EQ(form.liveRatio.text(), "120.4") << "truncated, as the main window shows it";
    EXPECT_EQ(form.liveRated.text(), "600/5");
    EXPECT_EQ(form.liveError.text(), "-0.400%");
    EXPECT_EQ(form.liveLoad.text(), "100.0%");
    EXPECT_EQ(form.liveLimit.text(), "±0.500%");
    EXPECT_EQ(form.liveVerdict.text(), "合格");
    EXPECT_EQ(form.liveVerdict.foreColor(), colors::kGreen);

    form.classCombo.setText("0.2");
    form.SelectOption("classCombo");
    EXPECT_EQ(form.liveVerdict.text(), "不合格");
    EXPECT_EQ(form.liveVerdict.foreColor(), colors::kRed);
    EXPECT_EQ(preferences.values["class"], "0.2") << "the class is remembered";

    // The link lost: the last reading stays, greyed, and says why.
    form.showLive(kFullLoad, ErrorAnalysisForm::LiveState::Lost);
    EXPECT_EQ(form.liveVerdict.text(), "不合格");
    EXPECT_EQ(form.liveVerdict.foreColor(), colors::kStale);
    EXPECT_EQ(form.liveError.foreColor(), colors::kStale);
    EXPECT_EQ(form.liveReason.text(), "与仪器的连接中断");
}

TEST_F(Analysis, ABadNameplateIsRefusedAndTheLastGoodOneStays) {
    load("600/5", "0.5");
    form.showLive(kFullLoad, ErrorAnalysisForm::LiveState::Live);
    for (const char* bad : {"600/0", "-600/5", "abc", "600"}) {
        dialogs.boxes.clear();
        form.ratedEntry.setText(bad);
        form.applyRated_Click();
        ASSERT_EQ(dialogs.boxes.size(), 1u) << bad;
        EXPECT_EQ(dialogs.boxes[0].text, "\"" + std::string(bad) + texts::kBadNameplate);
        EXPECT_EQ(form.ratedEntry.text(), "600/5") << bad;
        EXPECT_EQ(form.liveError.text(), "-0.400%") << bad;
        EXPECT_EQ(preferences.values["rated"], "600/5") << bad;
    }
    // Empty: the guess, marked as such.
    form.ratedEntry.setText("");
    form.applyRated_Click();
    EXPECT_EQ(form.liveRated.text(), "推测额定变比 600/5");
    EXPECT_EQ(preferences.values["rated"], "");

    // Loaded again with none remembered (a test opened whose nameplate was guessed): the guess,
    // not the nameplate typed before.
    load("1000/5", "0.5");
    load("", "0.5");
    form.showLive(kFullLoad, ErrorAnalysisForm::LiveState::Live);
    EXPECT_EQ(form.liveRated.text(), "推测额定变比 600/5");
}

TEST_F(Analysis, StoredGroupsAreJudgedSummedAndPlotted) {
    load("600/5", "0.5");
    threeGroups();
    const auto& rows = form.groups().rows;
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].number, 7);
    EXPECT_EQ(rows[0].judgement.verdictText(), "合格");
    EXPECT_EQ(rows[1].judgement.errorText(), "-1.000%") << "120 A over 0.99 A on 600/5";
    EXPECT_EQ(rows[1].judgement.verdictText(), "不合格");
    EXPECT_EQ(rows[2].judgement.reason, "无信号");
    EXPECT_EQ(form.summaryCounts.text(), "共 3 组, 判定 2 组: 合格 1 组, 不合格 1 组, 未判定 1 组");
    EXPECT_EQ(form.overallVerdict.text(), "不合格");
    EXPECT_EQ(form.downloadedAt.text(), "数据读取于 2026-12-09 10:00:00, 共 3 组");
    // The plot has the class's limits in blue and a red and a green cross.
    int red = 0, green = 0, blue = 0;
    for (const auto& p : form.plot()) {
        red += p.color == colors::kRed;
        green += p.color == colors::kGreen;
        blue += p.color == analysis::kLimitBlue;
    }
    EXPECT_EQ(red, 2);
    EXPECT_EQ(green, 2);
    EXPECT_EQ(blue, 6) << "three segments, above and below zero";
}

TEST_F(Analysis, ThePlotsScaleIsTheJudgedGroupsAndTheLimitsAreDrawnOverThem) {
    load("600/5", "0.5");
    RecordStore store;
    testing::putGroup(store, 0, {7, '1', 6000, '2', 498});
    testing::putGroup(store, 1, {8, '1', 1200, '2', 99});
    testing::putGroup(store, 2, {9, '1', 30, '2', 3}); // 0.5 % load, +20 %: below the class
    form.showGroups(store, kStoreSlots, "2026-12-09 10:00:00");
    double highestTick = 0;
    std::size_t lastCross = 0, firstLimit = 0;
    const auto& plot = form.plot();
    for (std::size_t i = 0; i < plot.size(); ++i) {
        const std::string& t = plot[i].text;
        if (plot[i].kind == platform::Primitive::Kind::Text && plot[i].x0 < 8 * 90 && !t.empty() &&
            (std::isdigit(static_cast<unsigned char>(t[0])) || t[0] == '-'))
            highestTick = std::max(highestTick, std::stod(t)); // the error's ticks, left of the axis
        if (plot[i].color == colors::kRed || plot[i].color == colors::kGreen) lastCross = i;
        if (plot[i].color == analysis::kLimitBlue && firstLimit == 0) firstLimit = i;
    }
    EXPECT_LT(highestTick, 5) << "the limits of 0.5 stay readable, not squeezed by a +20 % group";
    EXPECT_GT(firstLimit, lastCross) << "the limits over the crosses";
}

TEST_F(Analysis, ParticularsAreRememberedAndGoIntoTheReport) {
    load("600/5", "0.5");
    form.stationEntry.setText("城南变电站");
    form.Change("stationEntry");
    form.testerEntry.setText("王工");
    form.Change("testerEntry");
    form.SelectOption("phaseB");
    EXPECT_EQ(preferences.values["station"], "城南变电站");
    EXPECT_EQ(preferences.values["tester"], "王工");
    EXPECT_EQ(preferences.values["phase"], "B");

    ErrorAnalysisForm again{{dialogs, files, documents, preferences}, "1.0.1"};
    again.Form_Load();
    EXPECT_EQ(again.stationEntry.text(), "城南变电站");
    EXPECT_TRUE(again.phaseB.value());
    EXPECT_EQ(again.particulars().phase, "B");
}

TEST_F(Analysis, TheButtonsHandOverTheReportAndTheCsv) {
    load("600/5", "0.5");
    form.makeReport_Click();
    form.exportCsv_Click();
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].text, texts::kNoGroups) << "nothing to report yet";
    EXPECT_TRUE(dialogs.saveRequests.empty());

    threeGroups();
    dialogs.boxes.clear();
    dialogs.saveAnswers = {"/tmp/r.pdf", "/tmp/e.csv", std::nullopt};
    form.makeReport_Click();
    form.exportCsv_Click();
    form.makeReport_Click(); // cancelled: nothing written
    ASSERT_EQ(documents.saved.size(), 1u);
    EXPECT_EQ(documents.saved["/tmp/r.pdf"].title, texts::kReportTitle);
    EXPECT_EQ(dialogs.saveRequests[0].fileName, "变比试验报告.pdf");
    const std::string& csv = files.files["/tmp/e.csv"];
    EXPECT_NE(csv.find("组号,一次电流(A),二次电流(A),变比,一次电流频率(Hz),无信号,超量程,电池电压低,额定变比,"
                       "变比误差(%),负荷(%),允许误差(%),结论\r\n"),
              std::string::npos);
    EXPECT_NE(csv.find("7,600,4.98,120.4,50,0,0,0,600/5,-0.400,100.0,0.500,合格\r\n"), std::string::npos) << csv;
    EXPECT_TRUE(dialogs.boxes.empty());
    // Printed, the report is laid out for the paper picked for it.
    documents.paper = {12240, 15840};
    form.printReport_Click();
    ASSERT_EQ(documents.printed.size(), 1u);
    EXPECT_EQ(documents.printed[0].widthTwips, 12240);
    EXPECT_EQ(documents.printed[0].heightTwips, 15840);

    documents.fail = true;
    dialogs.saveAnswers = {"/tmp/r.pdf"};
    form.makeReport_Click();
    form.printReport_Click();
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].text, std::string(texts::kReportSaveFailed) + "/tmp/r.pdf: 磁盘已满");
    EXPECT_EQ(dialogs.boxes[1].text, texts::kReportPrintFailed);
}

} // namespace
} // namespace hvr
