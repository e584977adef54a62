#include "analysis/qt_group_table_model.h"

#include <QColor>

#include <array>
#include <limits>

namespace hvr::gui {

namespace {

constexpr std::array<const char*, 8> kHeadings{"组号",     "一次电流(A)", "二次电流(A)", "实测变比",
                                               "变比误差", "负荷",        "允许误差",    "结论"};
constexpr int kVerdictColumn = 7;

// Rows without a number sort after every number, ascending.
constexpr double kNone = std::numeric_limits<double>::max();

double number(const std::optional<std::int64_t>& micro) {
    return micro ? static_cast<double>(*micro) : kNone;
}

QString text(const std::string& s) {
    return s.empty() ? QStringLiteral("—") : QString::fromStdString(s);
}

} // namespace

void GroupTableModel::refresh() {
    beginResetModel();
    endResetModel();
}

int GroupTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_analysis.rows.size());
}

int GroupTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kHeadings.size());
}

QVariant GroupTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const analysis::GroupRow& row = m_analysis.rows[static_cast<std::size_t>(index.row())];
    const verdict::Judgement& j = row.judgement;
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        switch (column) {
        case 0:
            return row.number;
        case 1:
            return text(row.primary);
        case 2:
            return text(row.secondary);
        case 3:
            return text(row.ratio);
        case 4:
            return text(j.errorText());
        case 5:
            return text(j.loadText());
        case 6:
            return text(j.limitText());
        default:
            return QString::fromStdString(j.verdictWithReason());
        }
    case Qt::UserRole:
        switch (column) {
        case 0:
            return row.number;
        case 1:
            return row.primary.empty() ? kNone : static_cast<double>(row.reading.primary);
        case 2:
            return row.secondary.empty() ? kNone : static_cast<double>(row.reading.secondary);
        case 3:
            return row.ratio.empty() ? kNone
                                     : static_cast<double>(row.reading.primary) /
                                           static_cast<double>(row.reading.secondary);
        case 4:
            return number(j.errorMicro);
        case 5:
            return number(j.loadMicro);
        case 6:
            return number(j.limitMicro);
        default:
            return static_cast<int>(j.outcome);
        }
    case Qt::TextAlignmentRole:
        return column == kVerdictColumn ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                        : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (column != kVerdictColumn || j.outcome == verdict::Outcome::None) return {};
        return QColor(j.outcome == verdict::Outcome::Pass ? Qt::darkGreen : Qt::red);
    default:
        return {};
    }
}

QVariant GroupTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(kHeadings.size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromUtf8(kHeadings[static_cast<std::size_t>(section)]);
}

} // namespace hvr::gui
