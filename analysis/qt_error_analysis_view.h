#pragma once

#include <functional>

#include "analysis/error_analysis_form.h"
#include "forms/qt_form_dialog.h"

class QTableView;

namespace hvr::gui {

class GroupTableModel;

// The analysis window on screen, beside the main window (not modal): widgets named after the
// form's controls, the groups in a sortable table, the error plot painted from the form's
// picture. Enter takes the nameplate, Esc closes.
class QtErrorAnalysisView final : public FormDialog {
  public:
    explicit QtErrorAnalysisView(ErrorAnalysisForm& form, QWidget* parent = nullptr);

    // Brings every widget up to the form, after the form was given groups or a reading.
    void sync();
    QTableView& table() const { return *m_table; }
    void setZoom(double zoom) override;
    // Told after every event of the window, once its widgets are up to the form.
    void setAfterEvent(std::function<void()> after) { m_after = std::move(after); }

  protected:
    void afterEvent() override;
    void reject() override; // Esc and the close box

  private:
    ErrorAnalysisForm& m_form;
    QTableView* m_table = nullptr;
    GroupTableModel* m_model = nullptr;
    std::uint64_t m_tableRevision = 0;
    std::uint64_t m_plotRevision = 0;
    std::function<void()> m_after;
};

} // namespace hvr::gui
