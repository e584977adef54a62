#include "analysis/error_analysis_form.h"

#include <array>
#include <utility>

#include "analysis/error_plot.h"
#include "records/group_csv.h"
#include "texts/texts.h"

namespace hvr {

namespace {

constexpr std::size_t kLiveSeen = 200; // readings the live guess goes by

std::uint32_t outcomeColor(verdict::Outcome outcome) {
    return outcome == verdict::Outcome::Pass   ? colors::kGreen
           : outcome == verdict::Outcome::Fail ? colors::kRed
                                               : colors::kStale;
}

} // namespace

ErrorAnalysisForm::ErrorAnalysisForm(Services services, std::string version)
    : m_services(services), m_version(std::move(version)) {
#define HVR_LIST_ANALYSIS_CONTROL(kind, name, ...) m_controls.push_back(&name);
    HVR_ANALYSIS_CONTROLS(HVR_LIST_ANALYSIS_CONTROL)
#undef HVR_LIST_ANALYSIS_CONTROL
}

void ErrorAnalysisForm::Form_Load() {
    platform::Preferences& p = m_services.preferences;
    classCombo.setItems(verdict::classTexts());
    // None remembered is the guess: never the nameplate of the test shown before.
    const auto rated = verdict::parseNameplate(p.value("rated"));
    m_given = rated;
    ratedEntry.setText(rated ? verdict::nameplateText(*rated) : "");
    const auto accuracy = verdict::parseClass(p.value("class"));
    m_accuracy = accuracy.value_or(verdict::AccuracyClass::None);
    classCombo.setText(verdict::classText(m_accuracy));
    stationEntry.setText(p.value("station"));
    deviceEntry.setText(p.value("device"));
    testerEntry.setText(p.value("tester"));
    remarkEntry.setText(p.value("remark"));
    const std::string phase = p.value("phase");
    for (Control* option : {&phaseA, &phaseB, &phaseC, &phaseN})
        option->setValue(option->text() == phase);
    judgeAll();
}

bool ErrorAnalysisForm::Click(std::string_view name) {
    static const std::array<std::pair<std::string_view, void (ErrorAnalysisForm::*)()>, 5> kHandlers{{
        {"applyRated", &ErrorAnalysisForm::applyRated_Click},
        {"makeReport", &ErrorAnalysisForm::makeReport_Click},
        {"printReport", &ErrorAnalysisForm::printReport_Click},
        {"exportCsv", &ErrorAnalysisForm::exportCsv_Click},
        {"closeWindow", &ErrorAnalysisForm::closeWindow_Click},
    }};
    for (const auto& [control, handler] : kHandlers)
        if (control == name) {
            (this->*handler)();
            return true;
        }
    return false;
}

void ErrorAnalysisForm::SelectOption(std::string_view name) {
    if (name == "classCombo") {
        m_accuracy = verdict::parseClass(classCombo.text()).value_or(verdict::AccuracyClass::None);
        m_services.preferences.setValue("class", verdict::classText(m_accuracy));
        judgeAll();
        return;
    }
    for (Control* option : {&phaseA, &phaseB, &phaseC, &phaseN})
        if (option->name() == name) {
            for (Control* other : {&phaseA, &phaseB, &phaseC, &phaseN})
                other->setValue(other == option);
            m_services.preferences.setValue("phase", option->text());
        }
}

void ErrorAnalysisForm::Change(std::string_view name) {
    for (const auto& [box, key] : {std::pair{&stationEntry, "station"}, std::pair{&deviceEntry, "device"},
                                   std::pair{&testerEntry, "tester"}, std::pair{&remarkEntry, "remark"}})
        if (box->name() == name) m_services.preferences.setValue(key, box->text());
}

void ErrorAnalysisForm::applyRated_Click() {
    const std::string typed = ratedEntry.text();
    if (typed.empty()) {
        m_given.reset(); // back to the guess
    } else if (const auto rated = verdict::parseNameplate(typed)) {
        m_given = rated;
        ratedEntry.setText(verdict::nameplateText(*rated));
    } else {
        refuse("\"" + typed + texts::kBadNameplate);
        ratedEntry.setText(m_given ? verdict::nameplateText(*m_given) : "");
        return;
    }
    m_services.preferences.setValue("rated", m_given ? verdict::nameplateText(*m_given) : "");
    judgeAll();
}

void ErrorAnalysisForm::showGroups(const RecordStore& store, int groups, std::string downloadedAt) {
    *m_store = store;
    m_groups = groups;
    m_downloadedAt = std::move(downloadedAt);
    judgeAll();
}

void ErrorAnalysisForm::showLive(const verdict::Reading& reading, LiveState state) {
    const bool fresh = m_live != reading || m_liveState != state;
    m_live = reading;
    m_liveState = state;
    if (!fresh) return;
    if (state == LiveState::Live && !reading.noSignal && reading.primary > 0 && reading.secondary > 0) {
        if (m_liveSeen.size() == kLiveSeen) m_liveSeen.erase(m_liveSeen.begin());
        m_liveSeen.push_back(reading);
    }
    showLiveVerdict();
}

void ErrorAnalysisForm::judgeAll() {
    m_analysis = analysis::analyseGroups(*m_store, m_groups, m_given, m_accuracy);
    const auto& s = m_analysis.summary;
    summaryCounts.setText(m_analysis.rows.empty() ? "" : analysis::summaryCounts(m_analysis));
    summaryStatistics.setText(analysis::summaryStatistics(m_analysis));
    overallVerdict.setText(m_analysis.rows.empty() ? "" : verdict::overallText(s.overall));
    overallVerdict.setForeColor(outcomeColor(s.overall));
    downloadedAt.setText(m_analysis.rows.empty()  ? "尚无存储数据组, 请在历史查阅中读取"
                         : m_downloadedAt.empty() ? "共 " + std::to_string(m_analysis.rows.size()) + " 组"
                                                  : "数据读取于 " + m_downloadedAt + ", 共 " +
                                                        std::to_string(m_analysis.rows.size()) + " 组");
    m_plot.clear();
    platform::PictureRecorder recorder(m_plot);
    analysis::drawErrorPlot(recorder, errorPlot.rect().width, errorPlot.rect().height, m_analysis);
    errorPlot.invalidate();
    groupTable.invalidate();
    showLiveVerdict();
}

void ErrorAnalysisForm::showLiveVerdict() {
    // The nameplate typed, else the one the stored groups suggest, else the live readings'.
    std::optional<verdict::Nameplate> nameplate = m_given ? m_given : m_analysis.basis.nameplate;
    if (!nameplate) nameplate = verdict::guessNameplate(m_liveSeen);
    liveRated.setText(nameplate ? verdict::nameplateText(*nameplate) : "—");
    if (!m_live) {
        for (Control* value : {&liveRatio, &liveError, &liveLoad, &liveLimit})
            value->setText("—");
        liveVerdict.setText("—");
        liveVerdict.setForeColor(colors::kStale);
        liveReason.setText("尚无实时读数");
        return;
    }
    verdict::Judgement j;
    if (nameplate)
        j = verdict::judge(*m_live, *nameplate, m_accuracy);
    else
        j.reason = "无额定变比";
    const std::string ratio = analysis::measuredRatioText(*m_live);
    liveRatio.setText(ratio.empty() ? "—" : ratio);
    liveError.setText(j.errorMicro ? j.errorText() : "—");
    liveLoad.setText(j.loadMicro ? j.loadText() : "—");
    liveLimit.setText(j.limitMicro ? j.limitText() : "—");
    liveVerdict.setText(j.verdictText());
    const bool stale = m_liveState != LiveState::Live;
    liveReason.setText(m_liveState == LiveState::Lost     ? "与仪器的连接中断"
                       : m_liveState == LiveState::Paused ? "实时监控未进行"
                                                          : j.reason);
    const std::uint32_t valueColor = stale ? colors::kStale : colors::kWindowText;
    for (Control* value : {&liveRatio, &liveRated, &liveError, &liveLoad, &liveLimit})
        value->setForeColor(valueColor);
    liveVerdict.setForeColor(stale ? colors::kStale : outcomeColor(j.outcome));
}

report::Particulars ErrorAnalysisForm::particulars() const {
    std::string phase;
    for (const Control* option : {&phaseA, &phaseB, &phaseC, &phaseN})
        if (option->value()) phase = option->text();
    return {stationEntry.text(), deviceEntry.text(), phase, testerEntry.text(), remarkEntry.text()};
}

platform::Document ErrorAnalysisForm::report(const platform::Paper& paper) const {
    return report::layoutReport({particulars(), m_analysis, m_downloadedAt, m_version},
                                m_services.documents.measure(), paper);
}

bool ErrorAnalysisForm::haveGroups() {
    if (!m_analysis.rows.empty()) return true;
    m_services.dialogs.message(texts::kNoGroups, texts::kMessageTitle);
    return false;
}

void ErrorAnalysisForm::makeReport_Click() {
    if (!haveGroups()) return;
    const auto path = m_services.dialogs.chooseSaveFile({"", "变比试验报告.pdf", ".pdf", ".pdf"});
    if (!path) return;
    std::string why;
    if (!m_services.documents.savePdf(report(), *path, &why))
        refuse(texts::kReportSaveFailed + *path + (why.empty() ? "" : ": " + why));
}

void ErrorAnalysisForm::printReport_Click() {
    if (!haveGroups()) return;
    const auto layout = [this](const platform::Paper& paper) { return report(paper); };
    if (m_services.documents.print(texts::kReportTitle, layout) == platform::PrintResult::Failed)
        refuse(texts::kReportPrintFailed);
}

void ErrorAnalysisForm::exportCsv_Click() {
    if (!haveGroups()) return;
    const auto path = m_services.dialogs.chooseSaveFile({"", "变比误差.csv", ".csv", ".csv"});
    if (!path) return;
    const std::string csv = analysis::judgedGroupsCsv(*m_store, m_groups, m_analysis.basis);
    std::string why;
    if (!m_services.files.saveFile(*path, csv, &why))
        refuse(texts::kCsvSaveFailed + *path + (why.empty() ? "" : ": " + why));
}

void ErrorAnalysisForm::closeWindow_Click() {
    close();
}

void ErrorAnalysisForm::refuse(const std::string& text) {
    m_services.dialogs.message(text, texts::kMessageTitle);
}

} // namespace hvr
