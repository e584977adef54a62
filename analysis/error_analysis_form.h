#pragma once

#include "forms/closable_form.h"
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/group_analysis.h"
#include "forms/control.h"
#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/documents.h"
#include "platform/file_system.h"
#include "platform/preferences.h"
#include "report/report_layout.h"

namespace hvr {

// The analysis window's designs other than its plain font (宋体 9 pt).
namespace analysis_design {
using design::kPlain;
inline constexpr Design kValue{.points = 12};
inline constexpr Design kVerdict{.font = "黑体", .points = 36, .bold = true, .align = Align::Center};
inline constexpr Design kReason{.align = Align::Center};
inline constexpr Design kOverall{.font = "黑体", .points = 16, .bold = true, .align = Align::Center};
inline constexpr Design kEntry{.maxLength = static_cast<int>(report::kParticularCharacters)};
inline constexpr Design kRated{.maxLength = 20};
inline constexpr Design kApply{.defaultButton = true}; // Enter takes the nameplate
inline constexpr Design kPlot{.canvas = true};
} // namespace analysis_design

// Every control of the analysis window: kind, name, container, caption, left, top, width,
// height in twips, and its design.
#define HVR_ANALYSIS_CONTROLS(X)                                                                             \
    X(Frame, nameplateFrame, "ErrorAnalysis", "铭牌与准确级", 120, 90, 5400, 1290, kPlain)                   \
    X(Label, ratedLabel, "nameplateFrame", "额定变比(A):", 180, 360, 1200, 330, kPlain)                      \
    X(TextBox, ratedEntry, "nameplateFrame", "", 1380, 330, 1650, 360, kRated)                               \
    X(CommandButton, applyRated, "nameplateFrame", "确 定", 3150, 315, 960, 390, kApply)                     \
    X(Label, ratedHint, "nameplateFrame", "例: 600/5", 4170, 360, 1170, 330, kPlain)                         \
    X(Label, classLabel, "nameplateFrame", "准确级:", 180, 810, 1200, 330, kPlain)                           \
    X(ComboBox, classCombo, "nameplateFrame", "", 1380, 780, 1650, 360, kPlain)                              \
    X(Frame, testFrame, "ErrorAnalysis", "试验信息", 120, 1470, 5400, 2760, kPlain)                          \
    X(Label, stationLabel, "testFrame", "变电站:", 180, 360, 1440, 330, kPlain)                              \
    X(TextBox, stationEntry, "testFrame", "", 1650, 330, 3570, 360, kEntry)                                  \
    X(Label, deviceLabel, "testFrame", "设备名称/编号:", 180, 810, 1440, 330, kPlain)                        \
    X(TextBox, deviceEntry, "testFrame", "", 1650, 780, 3570, 360, kEntry)                                   \
    X(Label, phaseLabel, "testFrame", "相别:", 180, 1260, 1440, 330, kPlain)                                 \
    X(OptionButton, phaseA, "testFrame", "A", 1650, 1245, 660, 360, kPlain)                                  \
    X(OptionButton, phaseB, "testFrame", "B", 2400, 1245, 660, 360, kPlain)                                  \
    X(OptionButton, phaseC, "testFrame", "C", 3150, 1245, 660, 360, kPlain)                                  \
    X(OptionButton, phaseN, "testFrame", "N", 3900, 1245, 660, 360, kPlain)                                  \
    X(Label, testerLabel, "testFrame", "试验人员:", 180, 1710, 1440, 330, kPlain)                            \
    X(TextBox, testerEntry, "testFrame", "", 1650, 1680, 3570, 360, kEntry)                                  \
    X(Label, remarkLabel, "testFrame", "备注:", 180, 2160, 1440, 330, kPlain)                                \
    X(TextBox, remarkEntry, "testFrame", "", 1650, 2130, 3570, 360, kEntry)                                  \
    X(Frame, liveFrame, "ErrorAnalysis", "实时判定", 120, 4320, 5400, 4230, kPlain)                          \
    X(Label, liveRatioLabel, "liveFrame", "实测变比:", 180, 360, 1440, 360, kValue)                          \
    X(Label, liveRatio, "liveFrame", "", 1650, 360, 3570, 360, kValue)                                       \
    X(Label, liveRatedLabel, "liveFrame", "额定变比:", 180, 780, 1440, 360, kValue)                          \
    X(Label, liveRated, "liveFrame", "", 1650, 780, 3570, 360, kValue)                                       \
    X(Label, liveErrorLabel, "liveFrame", "变比误差:", 180, 1200, 1440, 360, kValue)                         \
    X(Label, liveError, "liveFrame", "", 1650, 1200, 3570, 360, kValue)                                      \
    X(Label, liveLoadLabel, "liveFrame", "负    荷:", 180, 1620, 1440, 360, kValue)                          \
    X(Label, liveLoad, "liveFrame", "", 1650, 1620, 3570, 360, kValue)                                       \
    X(Label, liveLimitLabel, "liveFrame", "允许误差:", 180, 2040, 1440, 360, kValue)                         \
    X(Label, liveLimit, "liveFrame", "", 1650, 2040, 3570, 360, kValue)                                      \
    X(Label, liveVerdict, "liveFrame", "—", 180, 2520, 5040, 1080, kVerdict)                                 \
    X(Label, liveReason, "liveFrame", "", 180, 3660, 5040, 360, kReason)                                     \
    X(Frame, groupsFrame, "ErrorAnalysis", "存储数据组", 5640, 90, 8640, 4950, kPlain)                       \
    X(Table, groupTable, "groupsFrame", "", 150, 330, 8340, 3780, kPlain)                                    \
    X(Label, summaryCounts, "groupsFrame", "", 150, 4170, 6840, 330, kPlain)                                 \
    X(Label, summaryStatistics, "groupsFrame", "", 150, 4530, 8340, 330, kPlain)                             \
    X(Label, overallVerdict, "groupsFrame", "", 7050, 4110, 1440, 420, kOverall)                             \
    X(Frame, plotFrame, "ErrorAnalysis", "误差曲线 (负荷-误差, 蓝线为准确级限值)", 5640, 5100, 8640, 3450,   \
      kPlain)                                                                                                \
    X(PictureBox, errorPlot, "plotFrame", "", 150, 300, 8340, 3030, kPlot)                                   \
    X(Label, downloadedAt, "ErrorAnalysis", "", 120, 8760, 5400, 360, kPlain)                                \
    X(CommandButton, makeReport, "ErrorAnalysis", "生成报告", 5640, 8700, 1650, 480, kPlain)                 \
    X(CommandButton, printReport, "ErrorAnalysis", "打印报告", 7470, 8700, 1650, 480, kPlain)                \
    X(CommandButton, exportCsv, "ErrorAnalysis", "导出CSV", 9300, 8700, 1650, 480, kPlain)                   \
    X(CommandButton, closeWindow, "ErrorAnalysis", "关 闭", 12630, 8700, 1650, 480, kPlain)

// The ratio error analysis without pixels: the nameplate, class and the test's particulars as
// entered (remembered between runs), the live reading's verdict, the stored groups judged with
// their summary and error plot, and the report, its printing and the CSV export.
class ErrorAnalysisForm : public ClosableForm {
  public:
    struct Services {
        platform::Dialogs& dialogs;
        platform::FileSystem& files;
        platform::Documents& documents;
        platform::Preferences& preferences;
    };
    ErrorAnalysisForm(Services services, std::string version);
    ErrorAnalysisForm(const ErrorAnalysisForm&) = delete;
    ErrorAnalysisForm& operator=(const ErrorAnalysisForm&) = delete;

    Control Me{ControlKind::Form, "ErrorAnalysis", "", "互感器变比误差分析", {0, 0, 14400, 9330}};
#define HVR_DECLARE_ANALYSIS_CONTROL(kind, name, container, caption, left, top, width, height, design)       \
    Control name{ControlKind::kind,          #name, container, caption,                                      \
                 {left, top, width, height}, true,  true,      analysis_design::design};
    HVR_ANALYSIS_CONTROLS(HVR_DECLARE_ANALYSIS_CONTROL)
#undef HVR_DECLARE_ANALYSIS_CONTROL

    const std::vector<Control*>& controls() const {
        return m_controls;
    }

    // The remembered nameplate, class and particulars.
    void Form_Load();
    bool Click(std::string_view name);
    // An option button, or an entry of the class list, chosen.
    void SelectOption(std::string_view name);
    // A box was edited: particulars are remembered as they are typed.
    void Change(std::string_view name);

    void applyRated_Click(); // "确 定": the nameplate typed, or the guess when empty
    void makeReport_Click(); // "生成报告": the report as a PDF, through the save dialog
    void printReport_Click();
    void exportCsv_Click();
    void closeWindow_Click();

    // The main window's groups, in store order, as read at that time (empty: unknown).
    void showGroups(const RecordStore& store, int groups, std::string downloadedAt);
    // The live reading last shown, and whether it still is live: while monitoring is paused or
    // the link is lost it stays, greyed.
    enum class LiveState { Live, Paused, Lost };
    void showLive(const verdict::Reading& reading, LiveState state);

    const analysis::GroupAnalysis& groups() const {
        return m_analysis;
    }
    const platform::Picture& plot() const {
        return m_plot;
    }
    report::Particulars particulars() const;
    platform::Document report(const platform::Paper& paper = {}) const;

  private:
    void judgeAll();
    void showLiveVerdict();
    void refuse(const std::string& text);
    bool haveGroups();

    Services m_services;
    std::string m_version;
    std::vector<Control*> m_controls;
    std::optional<verdict::Nameplate> m_given; // the last good nameplate typed
    verdict::AccuracyClass m_accuracy = verdict::AccuracyClass::None;
    std::unique_ptr<RecordStore> m_store = std::make_unique<RecordStore>();
    int m_groups = 0;
    std::string m_downloadedAt;
    analysis::GroupAnalysis m_analysis;
    platform::Picture m_plot;
    std::optional<verdict::Reading> m_live;
    LiveState m_liveState = LiveState::Live;
    std::vector<verdict::Reading> m_liveSeen; // what the guess goes by while no group is stored
};

} // namespace hvr
