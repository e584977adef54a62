#pragma once

#include "forms/closable_form.h"
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive.h"
#include "forms/control.h"
#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/documents.h"
#include "platform/file_system.h"

namespace hvr {

namespace archive_design {
using design::kPlain;
inline constexpr Design kSearch{.defaultButton = true}; // Enter searches
inline constexpr Design kDate{.maxLength = 10};
inline constexpr Design kEntry{.maxLength = 40};
inline constexpr Design kPlot{.canvas = true};
} // namespace archive_design

// Every control of the archive window: kind, name, container, caption, left, top, width,
// height in twips, and its design.
#define HVR_ARCHIVE_CONTROLS(X)                                                                              \
    X(OptionButton, showTests, "Archive", "测试记录", 120, 120, 1350, 330, kPlain)                           \
    X(OptionButton, showSessions, "Archive", "实时记录", 1560, 120, 1350, 330, kPlain)                       \
    X(Label, filterLabel, "Archive", "查找:", 3150, 150, 600, 300, kPlain)                                   \
    X(TextBox, filterText, "Archive", "", 3750, 120, 2700, 360, kEntry)                                      \
    X(Label, fromLabel, "Archive", "从", 6600, 150, 300, 300, kPlain)                                        \
    X(TextBox, fromDate, "Archive", "", 6930, 120, 1440, 360, kDate)                                         \
    X(Label, toLabel, "Archive", "到", 8490, 150, 300, 300, kPlain)                                          \
    X(TextBox, toDate, "Archive", "", 8820, 120, 1440, 360, kDate)                                           \
    X(CommandButton, search, "Archive", "查 询", 10440, 90, 1200, 420, kSearch)                              \
    X(Table, recordTable, "Archive", "", 120, 600, 13260, 4500, kPlain)                                      \
    X(Label, trendTitle, "Archive", "趋势: 选中一条测试记录, 按\"趋势\"", 120, 5190, 9000, 300, kPlain)      \
    X(PictureBox, trendPlot, "Archive", "", 120, 5520, 13260, 2700, kPlot)                                   \
    X(CommandButton, openRecord, "Archive", "打开", 120, 8370, 1350, 420, kPlain)                            \
    X(CommandButton, exportCsv, "Archive", "导出CSV", 1560, 8370, 1350, 420, kPlain)                         \
    X(CommandButton, makeReport, "Archive", "生成报告", 3000, 8370, 1350, 420, kPlain)                       \
    X(CommandButton, deleteRecord, "Archive", "删除", 4440, 8370, 1350, 420, kPlain)                         \
    X(CommandButton, showTrend, "Archive", "趋势", 5880, 8370, 1350, 420, kPlain)                            \
    X(CommandButton, checkArchive, "Archive", "检查", 7320, 8370, 1350, 420, kPlain)                         \
    X(Label, status, "Archive", "", 8790, 8430, 3150, 300, kPlain)                                           \
    X(CommandButton, closeWindow, "Archive", "关 闭", 12030, 8370, 1350, 420, kPlain)

// The archive window without pixels: the tests (or the live sessions) found by text and date,
// and for the one selected: open it into the main window, export it, its report, delete it, or
// the trend of its CT over all of its tests.
class ArchiveForm : public ClosableForm {
  public:
    struct Services {
        platform::Dialogs& dialogs;
        platform::FileSystem& files;
        platform::Documents& documents;
    };
    // The archive, or none with the reason it is not there; `open` puts a test into the main
    // window as a download would.
    ArchiveForm(Services services, archive::Archive* archive, std::string unavailable,
                std::function<void(const archive::TestRecord&)> open);
    ArchiveForm(const ArchiveForm&) = delete;
    ArchiveForm& operator=(const ArchiveForm&) = delete;

    Control Me{ControlKind::Form, "Archive", "", "测试记录", {0, 0, 13500, 8940}};
#define HVR_DECLARE_ARCHIVE_CONTROL(kind, name, container, caption, left, top, width, height, design)        \
    Control name{ControlKind::kind,          #name, container, caption,                                      \
                 {left, top, width, height}, true,  true,      archive_design::design};
    HVR_ARCHIVE_CONTROLS(HVR_DECLARE_ARCHIVE_CONTROL)
#undef HVR_DECLARE_ARCHIVE_CONTROL

    const std::vector<Control*>& controls() const {
        return m_controls;
    }

    void Form_Load();
    // Shown again after it was closed: the archive as it is now (it may have become available),
    // and what was archived since.
    void Form_Activate(archive::Archive* archive, std::string unavailable);
    bool Click(std::string_view name);
    void SelectOption(std::string_view name);
    // The user selected a row of the table (−1: none).
    void selectRow(int row);

    void search_Click();
    void openRecord_Click();
    void exportCsv_Click();
    void makeReport_Click();
    void deleteRecord_Click();
    void showTrend_Click();
    void checkArchive_Click(); // the whole archive read and checked
    void closeWindow_Click() {
        close();
    }

    // The table as shown: headings and one row of cells per test or session.
    const std::vector<std::string>& headings() const {
        return m_headings;
    }
    const std::vector<std::vector<std::string>>& cells() const {
        return m_cells;
    }
    int selected() const {
        return m_selected;
    }
    const platform::Picture& trend() const {
        return m_trend;
    }

  private:
    bool sessions() const {
        return showSessions.value();
    }
    std::optional<archive::TestRecord> selectedTest();
    void refuse(const std::string& text);
    void enableButtons();

    Services m_services;
    archive::Archive* m_archive;
    std::string m_unavailable;
    std::function<void(const archive::TestRecord&)> m_open;
    std::vector<Control*> m_controls;
    std::vector<archive::TestSummary> m_tests;
    std::vector<archive::SessionSummary> m_sessions;
    std::vector<std::string> m_headings;
    std::vector<std::vector<std::string>> m_cells;
    int m_selected = -1;
    platform::Picture m_trend;
};

} // namespace hvr
