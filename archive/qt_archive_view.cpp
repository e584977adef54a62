#include "archive/qt_archive_view.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

#include "forms/qt_picture_widget.h"
#include "forms/qt_text_fit.h"

namespace hvr::gui {

// The form's table, read where it stands: thousands of rows cost nothing until shown.
class ArchiveRowsModel final : public QAbstractTableModel {
  public:
    ArchiveRowsModel(const ArchiveForm& form, QObject* parent) : QAbstractTableModel(parent), m_form(form) {}
    void refresh() {
        beginResetModel();
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_form.cells().size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_form.headings().size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        const auto& row = m_form.cells().at(static_cast<std::size_t>(index.row()));
        const auto column = static_cast<std::size_t>(index.column());
        return column < row.size() ? QString::fromStdString(row[column]) : QString();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
            section >= static_cast<int>(m_form.headings().size()))
            return QAbstractTableModel::headerData(section, orientation, role);
        return QString::fromStdString(m_form.headings()[static_cast<std::size_t>(section)]);
    }

  private:
    const ArchiveForm& m_form;
};

namespace {

// Columns wide enough for their usual contents, in design pixels: the id, the time, the texts.
constexpr int kColumnPixels[] = {50, 130, 120, 150, 40, 130, 50, 50, 60};

} // namespace

QtArchiveView::QtArchiveView(ArchiveForm& form, QWidget* parent)
    : FormDialog({form.controls(),
                  form.Me,
                  form.Me.name(),
                  [&form](const std::string& name) { form.Click(name); },
                  [&form](const std::string& name) { form.SelectOption(name); },
                  {},
                  [&form](const Control& control, QWidget& container) -> QWidget* {
                      if (control.kind() == ControlKind::Table) return new QTableView(&container);
                      if (control.design().canvas) return new PictureWidget(form.trend(), &container);
                      return nullptr;
                  }},
                 form, parent),
      m_form(form) {
    setModal(false);
    m_table = static_cast<QTableView*>(widget(form.recordTable.name()));
    m_rows = new ArchiveRowsModel(form, this);
    m_table->setModel(m_rows);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                forward([&] { m_form.selectRow(current.isValid() ? current.row() : -1); });
            });
    connect(m_table, &QTableView::doubleClicked, this,
            [this] { forward([this] { m_form.openRecord_Click(); }); });
    sync();
}

void QtArchiveView::sync() {
    render();
    if (m_form.recordTable.revision() != m_tableRevision) {
        m_tableRevision = m_form.recordTable.revision();
        const QSignalBlocker quiet(m_table->selectionModel());
        m_rows->refresh();
        fitColumns(*m_table, kColumnPixels, zoom());
    }
    if (m_form.trendPlot.revision() != m_trendRevision) {
        m_trendRevision = m_form.trendPlot.revision();
        widget(m_form.trendPlot.name())->update();
    }
}

void QtArchiveView::setZoom(double zoom) {
    FormDialog::setZoom(zoom);
    static_cast<PictureWidget*>(widget(m_form.trendPlot.name()))->setZoom(zoom);
    m_table->verticalHeader()->setDefaultSectionSize(static_cast<int>(20 * zoom));
    m_tableRevision = ~std::uint64_t{0};
    sync();
}

void QtArchiveView::afterEvent() {
    sync();
}

void QtArchiveView::reject() {
    forward([this] { m_form.closeWindow_Click(); });
}

} // namespace hvr::gui
