#pragma once

#include "archive/archive_form.h"
#include "forms/qt_form_dialog.h"

class QTableView;

namespace hvr::gui {

class ArchiveRowsModel;

// The archive window on screen (not modal): the tests or live sessions in a table, the trend
// painted from the form's picture. Enter searches, Esc closes.
class QtArchiveView final : public FormDialog {
  public:
    explicit QtArchiveView(ArchiveForm& form, QWidget* parent = nullptr);
    void sync();
    QTableView& table() const { return *m_table; }
    void setZoom(double zoom) override;

  protected:
    void afterEvent() override;
    void reject() override;

  private:
    ArchiveForm& m_form;
    QTableView* m_table = nullptr;
    ArchiveRowsModel* m_rows = nullptr;
    std::uint64_t m_tableRevision = ~std::uint64_t{0};
    std::uint64_t m_trendRevision = ~std::uint64_t{0};
};

} // namespace hvr::gui
