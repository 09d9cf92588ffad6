#include "tools/search/FoundFilesModel.h"

namespace {

// UTF-16 units rearranged so that they order as code points (and so as UTF-8 bytes); ASCII letters folded.
inline char16_t orderKey(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return char16_t(c + 32);
    if (c >= 0xD800 && c < 0xE000)
        return char16_t(c + 0x2000);
    if (c >= 0xE000)
        return char16_t(c - 0x800);
    return c;
}

} // namespace

namespace search {

const QString& FoundRow::text(int column) const
{
    switch (column) {
    case 0: return name;
    case 1: return folder;
    case 2: return size;
    default: return date;
    }
}

int compareAsciiNoCase(QStringView a, QStringView b)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = orderKey(a[i].unicode()), y = orderKey(b[i].unicode());
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int FoundFilesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int FoundFilesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant FoundFilesModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || size_t(index.row()) >= m_rows.size())
        return {};
    return m_rows[size_t(index.row())].text(index.column());
}

QVariant FoundFilesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const kTitles[kColumns] = {"名称", "位置", "大小", "修改日期"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumns)
        return {};
    return QString::fromUtf8(kTitles[section]);
}

void FoundFilesModel::flush()
{
    if (m_pending.empty())
        return;
    const int first = int(m_rows.size());
    beginInsertRows({}, first, first + int(m_pending.size()) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(m_pending.begin()), std::make_move_iterator(m_pending.end()));
    endInsertRows();
    m_pending.clear();
}

void FoundFilesModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_pending.clear();
    endResetModel();
}

bool FoundFilesSort::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    return compare && compare(left.row(), right.row(), left.column()) < 0;
}

} // namespace search
