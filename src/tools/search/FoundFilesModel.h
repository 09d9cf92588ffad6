#pragma once
#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QString>
#include <functional>
#include <vector>

namespace search {

// One result row: the caption (name) and its three sub-items (folder, size text, date text).
struct FoundRow {
    QString name;
    QString folder;
    QString size;
    QString date;
    const QString& text(int column) const;
};

// ASCII case-insensitive comparison in byte order of the UTF-8 texts (code point order); <0, 0, >0.
int compareAsciiNoCase(QStringView a, QStringView b);

// The result rows of the search window. Rows found during a search are collected and inserted in
// batches, so the list is not repainted once per row.
class FoundFilesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 4;

    using QAbstractTableModel::QAbstractTableModel;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void addPending(FoundRow row) { m_pending.push_back(std::move(row)); }
    bool hasPending() const { return !m_pending.empty(); }
    void flush();   // inserts the collected rows in one step
    void clear();
    const FoundRow& row(int r) const { return m_rows[size_t(r)]; }

private:
    std::vector<FoundRow> m_rows;
    std::vector<FoundRow> m_pending;
};

// Sorted view of the results; `compare` (source rows, column; <0, 0, >0) is the window's FoundFilesCompare.
class FoundFilesSort : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    std::function<int(int row1, int row2, int column)> compare;
protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};

} // namespace search
