#include "archive/archive_form.h"

#include <array>
#include <cstdio>
#include <utility>

#include "archive/trend_plot.h"
#include "cli/monitor_output.h"
#include "records/group_csv.h"
#include "texts/texts.h"

namespace hvr {

ArchiveForm::ArchiveForm(Services services, archive::Archive* archive, std::string unavailable,
                         std::function<void(const archive::TestRecord&)> open)
    : m_services(services), m_archive(archive), m_unavailable(std::move(unavailable)),
      m_open(std::move(open)) {
#define HVR_LIST_ARCHIVE_CONTROL(kind, name, ...) m_controls.push_back(&name);
    HVR_ARCHIVE_CONTROLS(HVR_LIST_ARCHIVE_CONTROL)
#undef HVR_LIST_ARCHIVE_CONTROL
}

void ArchiveForm::Form_Load() {
    showTests.setValue(true);
    search_Click();
}

void ArchiveForm::Form_Activate(archive::Archive* archive, std::string unavailable) {
    m_archive = archive;
    m_unavailable = std::move(unavailable);
    search_Click();
}

bool ArchiveForm::Click(std::string_view name) {
    static const std::array<std::pair<std::string_view, void (ArchiveForm::*)()>, 8> kHandlers{{
        {"search", &ArchiveForm::search_Click},
        {"openRecord", &ArchiveForm::openRecord_Click},
        {"exportCsv", &ArchiveForm::exportCsv_Click},
        {"makeReport", &ArchiveForm::makeReport_Click},
        {"deleteRecord", &ArchiveForm::deleteRecord_Click},
        {"showTrend", &ArchiveForm::showTrend_Click},
        {"checkArchive", &ArchiveForm::checkArchive_Click},
        {"closeWindow", &ArchiveForm::closeWindow_Click},
    }};
    for (const auto& [control, handler] : kHandlers)
        if (control == name) {
            (this->*handler)();
            return true;
        }
    return false;
}

void ArchiveForm::SelectOption(std::string_view name) {
    showTests.setValue(name == "showTests");
    showSessions.setValue(name == "showSessions");
    search_Click();
}

void ArchiveForm::selectRow(int row) {
    m_selected = row >= 0 && row < static_cast<int>(m_cells.size()) ? row : -1;
    enableButtons();
}

void ArchiveForm::enableButtons() {
    const bool one = m_archive != nullptr && m_selected >= 0;
    for (Control* testOnly : {&openRecord, &makeReport, &deleteRecord, &showTrend})
        testOnly->setEnabled(one && !sessions());
    exportCsv.setEnabled(one);
    search.setEnabled(m_archive != nullptr);
    checkArchive.setEnabled(m_archive != nullptr);
}

void ArchiveForm::search_Click() {
    m_selected = -1;
    m_cells.clear();
    if (!m_archive) {
        status.setText(texts::kArchiveUnavailable + m_unavailable);
        recordTable.invalidate();
        enableButtons();
        return;
    }
    for (Control* date : {&fromDate, &toDate})
        if (!date->text().empty() && !archive::isCalendarDate(date->text())) {
            refuse("\"" + date->text() + texts::kBadDate);
            enableButtons();
            return;
        }
    std::string why;
    if (sessions()) {
        m_headings = {"编号", "开始", "结束", "读数"};
        const auto found = m_archive->listSessions(&why);
        // The rows shown are the sessions kept: a row's number is its session's.
        m_sessions.clear();
        for (const auto& s : found.value_or(std::vector<archive::SessionSummary>{}))
            if ((fromDate.text().empty() || s.startedAt.substr(0, 10) >= fromDate.text()) &&
                (toDate.text().empty() || s.startedAt.substr(0, 10) <= toDate.text())) {
                m_sessions.push_back(s);
                m_cells.push_back({std::to_string(s.id), s.startedAt, s.endedAt, std::to_string(s.readings)});
            }
        if (!found) status.setText(texts::kArchiveUnavailable + why);
    } else {
        m_headings = {"编号",     "时间",   "变电站", "设备", "相别",
                      "额定变比", "准确级", "组数",   "结论", "平均误差"};
        const auto found =
            m_archive->listTests({filterText.text(), "", fromDate.text(), toDate.text()}, &why);
        m_tests = found.value_or(std::vector<archive::TestSummary>{});
        for (const auto& t : m_tests)
            m_cells.push_back({std::to_string(t.id), t.downloadedAt, t.station, t.device, t.phase, t.rated,
                               t.accuracy, std::to_string(t.groups), t.verdict,
                               archive::errorPercentText(t.errorMean)});
        if (!found) status.setText(texts::kArchiveUnavailable + why);
    }
    if (why.empty()) status.setText("共 " + std::to_string(m_cells.size()) + " 条");
    recordTable.invalidate();
    enableButtons();
}

std::optional<archive::TestRecord> ArchiveForm::selectedTest() {
    if (m_selected < 0 || sessions() || m_selected >= static_cast<int>(m_tests.size())) {
        refuse(texts::kNoSelection);
        return std::nullopt;
    }
    std::string why;
    auto record = m_archive->loadTest(m_tests[static_cast<std::size_t>(m_selected)].id, &why);
    if (!record) refuse(texts::kArchiveUnavailable + why);
    return record;
}

void ArchiveForm::openRecord_Click() {
    if (const auto record = selectedTest(); record && m_open) m_open(*record);
}

void ArchiveForm::exportCsv_Click() {
    if (m_selected < 0) return refuse(texts::kNoSelection);
    std::string csv;
    std::string name;
    if (sessions()) {
        const auto& s = m_sessions.at(static_cast<std::size_t>(m_selected));
        std::string why;
        const auto readings = m_archive->sessionReadings(s.id, &why);
        if (!readings) return refuse(texts::kArchiveUnavailable + why);
        csv = archive::sessionCsv(*readings);
        name = "实时记录" + std::to_string(s.id) + ".csv";
    } else {
        const auto record = selectedTest();
        if (!record) return;
        csv = archive::testCsv(*record);
        name = "测试记录" + std::to_string(record->id) + ".csv";
    }
    const auto path = m_services.dialogs.chooseSaveFile({"", name, ".csv", ".csv"});
    if (!path) return;
    std::string why;
    if (!m_services.files.saveFile(*path, csv, &why))
        refuse(texts::kCsvSaveFailed + *path + (why.empty() ? "" : ": " + why));
}

void ArchiveForm::makeReport_Click() {
    const auto record = selectedTest();
    if (!record) return;
    const auto path = m_services.dialogs.chooseSaveFile(
        {"", "变比试验报告" + std::to_string(record->id) + ".pdf", ".pdf", ".pdf"});
    if (!path) return;
    const auto judged = archive::analyseTest(*record);
    std::string why;
    if (!m_services.documents.savePdf(
            report::layoutReport({record->particulars, judged, record->downloadedAt, record->programVersion},
                                 m_services.documents.measure()),
            *path, &why))
        refuse(texts::kReportSaveFailed + *path + (why.empty() ? "" : ": " + why));
}

void ArchiveForm::deleteRecord_Click() {
    if (m_selected < 0 || sessions()) return refuse(texts::kNoSelection);
    const auto& t = m_tests.at(static_cast<std::size_t>(m_selected));
    if (!m_services.dialogs.askYesNo(texts::kDeleteQuestion + std::to_string(t.id) + "  " + t.downloadedAt +
                                         "  " + t.device,
                                     texts::kMessageTitle))
        return;
    std::string why;
    if (!m_archive->deleteTest(t.id, &why)) return refuse(texts::kArchiveUnavailable + why);
    search_Click();
}

void ArchiveForm::showTrend_Click() {
    if (m_selected < 0 || sessions()) return refuse(texts::kNoSelection);
    const std::string device = m_tests.at(static_cast<std::size_t>(m_selected)).device;
    if (device.empty()) return refuse(texts::kNoDevice); // no CT to follow
    std::string why;
    const auto tests = m_archive->listTests({"", device, "", ""}, &why);
    if (!tests) return refuse(texts::kArchiveUnavailable + why);
    trendTitle.setText("趋势: 设备 \"" + device + "\" 的 " + std::to_string(tests->size()) +
                       " 次测试, 红叉为平均误差, 蓝线为误差范围");
    m_trend.clear();
    platform::PictureRecorder recorder(m_trend);
    archive::drawTrend(recorder, trendPlot.rect().width, trendPlot.rect().height, *tests);
    trendPlot.invalidate();
}

void ArchiveForm::checkArchive_Click() {
    if (!m_archive) return;
    std::string why;
    const auto result = m_archive->check(&why);
    if (!result) return refuse(texts::kArchiveUnavailable + why);
    refuse(*result == "ok" ? "测试记录 " + m_archive->name() + " 完好"
                           : "测试记录 " + m_archive->name() + " 已损坏: " + *result);
}

void ArchiveForm::refuse(const std::string& text) {
    m_services.dialogs.message(text, texts::kMessageTitle);
}

} // namespace hvr
