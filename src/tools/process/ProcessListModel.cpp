#include "tools/process/ProcessListModel.h"
#include "ui/IconCache.h"

namespace process {

void ProcessListModel::setRows(QVector<ListRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

QVariant ProcessListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const ListRow& r = m_rows.at(index.row());
    if (role == Qt::DisplayRole)
        return r.cells.value(index.column());
    if (role == Qt::DecorationRole && index.column() == 0 && r.icon >= 0)
        return ui::IconCache::instance().icon(r.icon);
    return {};
}

QVariant ProcessListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_columns.value(section);
    return {};
}

} // namespace process
