#pragma once
#include "tools/process/engine/ProcessRows.h"
#include <QAbstractTableModel>
#include <QVector>

namespace process {

// A report list of the process manager: fixed columns over rows of text with an icon in the first
// column. New rows replace the old ones in one reset.
class ProcessListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ProcessListModel(QStringList columns, QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_columns(std::move(columns)) {}

    void setRows(QVector<ListRow> rows);
    void clear() { setRows({}); }
    const ListRow& row(int r) const { return m_rows.at(r); }
    QString cell(int r, int column) const { return m_rows.at(r).cells.value(column); }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_rows.size()); }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_columns.size());
    }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_columns;
    QVector<ListRow> m_rows;
};

} // namespace process
