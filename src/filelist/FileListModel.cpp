#include "filelist/FileListModel.h"
#include "ui/IconCache.h"

FileListModel::FileListModel(filelist::FileLister& lister, QObject* parent)
    : QAbstractItemModel(parent), m_lister(lister)
{
    m_parentIcon.addFile(QStringLiteral(":/filelist/Parent_S28.png"), QSize(16, 16));
    m_parentIcon.addFile(QStringLiteral(":/filelist/Parent_L28.png"), QSize(32, 32));
    m_lister.setObserver(this);
}

QStringList FileListModel::fileColumnCaptions()
{
    return {QStringLiteral("名称"), QStringLiteral("大小"), QStringLiteral("类型"), QStringLiteral("修改时间"),
            QStringLiteral("创建时间"), QStringLiteral("文件路径"), QStringLiteral("File/Dir"), QStringLiteral("访问时间"),
            QStringLiteral("属性")};
}

QStringList FileListModel::driveColumnCaptions()
{
    return {QStringLiteral("名称"), QStringLiteral("类型"), QStringLiteral("磁盘大小"), QStringLiteral("可用空间"),
            QStringLiteral("属性"), QStringLiteral("dir"), QStringLiteral("Attr")};
}

QModelIndex FileListModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex FileListModel::parent(const QModelIndex&) const
{
    return QModelIndex();
}

int FileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_lister.rowCount();
}

int FileListModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_lister.DriveColumnsShown() ? 7 : 9;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const int row = index.row();
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return col == 0 ? m_lister.caption(row) : m_lister.subItem(row, col - 1);
    case Qt::DecorationRole:
        if (col != 0)
            return QVariant();
        if (m_lister.isParentRow(row))
            return m_parentIcon;
        return ui::IconCache::instance().icon(m_lister.iconIndex(row));
    case Qt::TextAlignmentRole:
        return headerData(col, Qt::Horizontal, role);
    default:
        return QVariant();
    }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QVariant();
    if (role == Qt::DisplayRole) {
        const QStringList captions = m_lister.DriveColumnsShown() ? driveColumnCaptions() : fileColumnCaptions();
        return section >= 0 && section < captions.size() ? captions.at(section) : QVariant();
    }
    if (role == Qt::TextAlignmentRole) {
        const bool right = m_lister.DriveColumnsShown() ? (section == 2 || section == 3) : section == 1;
        return QVariant::fromValue(Qt::Alignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    }
    return QVariant();
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    // Captions of entries can be edited (the list decides when an edit may start); drives and ".." not.
    if (index.column() == 0 && m_lister.fileRow(index.row()) && !m_lister.isParentRow(index.row()))
        f |= Qt::ItemIsEditable;
    return f;
}

void FileListModel::listingStarted()
{
    Q_EMIT listStarted();
}

void FileListModel::rowsAboutToReset()
{
    beginResetModel();
}

void FileListModel::rowsReset()
{
    endResetModel();
    Q_EMIT columnSetChanged();
}

void FileListModel::rowsAboutToBeRemoved(int first, int last)
{
    beginRemoveRows(QModelIndex(), first, last);
}

void FileListModel::rowsRemoved()
{
    endRemoveRows();
}

void FileListModel::rowsAboutToBeAppended(int first, int last)
{
    beginInsertRows(QModelIndex(), first, last);
}

void FileListModel::rowsAppended()
{
    endInsertRows();
}

void FileListModel::rowsAboutToBeSorted()
{
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
}

void FileListModel::rowsSorted(const std::vector<int>& newPosition)
{
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& i : from) {
        const int row = i.row() >= 0 && size_t(i.row()) < newPosition.size() ? newPosition[size_t(i.row())] : -1;
        to.append(row < 0 ? QModelIndex() : createIndex(row, i.column()));
    }
    changePersistentIndexList(from, to);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void FileListModel::sortStateChanged()
{
    Q_EMIT sortIndicatorChanged();
}

void FileListModel::listingFinished()
{
    Q_EMIT listFinished();
}
