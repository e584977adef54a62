#pragma once

#include <QAbstractTableModel>

#include "analysis/group_analysis.h"

namespace hvr::gui {

// The judged groups as a table: 组号, 一次电流, 二次电流, 实测变比, 变比误差, 负荷, 允许误差, 结论,
// in store order. Each cell sorts by its number (Qt::UserRole), not its text; the verdict
// column is coloured as the verdict is.
class GroupTableModel final : public QAbstractTableModel {
  public:
    explicit GroupTableModel(const analysis::GroupAnalysis& analysis, QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_analysis(analysis) {}

    // The analysis changed: every row anew.
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const analysis::GroupAnalysis& m_analysis;
};

} // namespace hvr::gui
