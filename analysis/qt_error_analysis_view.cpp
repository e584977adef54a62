#include "analysis/qt_error_analysis_view.h"

#include <QHeaderView>
#include <QPainter>
#include <QSortFilterProxyModel>
#include <QTableView>

#include "analysis/qt_group_table_model.h"
#include "forms/qt_picture_widget.h"
#include "forms/qt_text_fit.h"
#include "platform/qt_canvas.h"

namespace hvr::gui {

namespace {

constexpr int kRowPixels = 20;
constexpr int kColumnPixels[] = {44, 74, 74, 62, 62, 54, 64};

} // namespace

QtErrorAnalysisView::QtErrorAnalysisView(ErrorAnalysisForm& form, QWidget* parent)
    : FormDialog({form.controls(), form.Me, form.Me.name(),
                  [&form](const std::string& name) { form.Click(name); },
                  [&form](const std::string& name) { form.SelectOption(name); },
                  [&form](const std::string& name) { form.Change(name); },
                  [&form](const Control& control, QWidget& container) -> QWidget* {
                      if (control.kind() == ControlKind::Table) return new QTableView(&container);
                      if (control.design().canvas) return new PictureWidget(form.plot(), &container);
                      return nullptr;
                  }},
                 form, parent),
      m_form(form) {
    setModal(false);
    m_table = static_cast<QTableView*>(widget(form.groupTable.name()));
    m_model = new GroupTableModel(form.groups(), this);
    auto* sorted = new QSortFilterProxyModel(this);
    sorted->setSourceModel(m_model);
    sorted->setSortRole(Qt::UserRole);
    m_table->setModel(sorted);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    // Rows of one height: a store of thousands of groups scrolls without measuring each.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setZoom(1);
    m_table->horizontalHeader()->setStretchLastSection(true);
    // Store order until a heading is clicked.
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);
    // The sorted column shows the sort mark: it makes room for it.
    connect(m_table->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this] { fitColumns(*m_table, kColumnPixels, zoom()); });
    sync();
}

void QtErrorAnalysisView::setZoom(double zoom) {
    FormDialog::setZoom(zoom);
    m_table->verticalHeader()->setMinimumSectionSize(1);
    m_table->verticalHeader()->setDefaultSectionSize(static_cast<int>(kRowPixels * zoom));
    fitColumns(*m_table, kColumnPixels, zoom);
    static_cast<PictureWidget*>(widget(m_form.errorPlot.name()))->setZoom(zoom);
}

void QtErrorAnalysisView::sync() {
    render();
    if (m_form.groupTable.revision() != m_tableRevision) {
        m_tableRevision = m_form.groupTable.revision();
        m_model->refresh();
        fitColumns(*m_table, kColumnPixels, zoom());
    }
    if (m_form.errorPlot.revision() != m_plotRevision) {
        m_plotRevision = m_form.errorPlot.revision();
        widget(m_form.errorPlot.name())->update();
    }
}

void QtErrorAnalysisView::afterEvent() {
    sync();
    if (m_after) m_after();
}

void QtErrorAnalysisView::reject() {
    forward([this] { m_form.closeWindow_Click(); });
}

} // namespace hvr::gui
