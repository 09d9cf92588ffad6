#include "filelist/engine/FileLister.h"
#include "filelist/engine/RowFormats.h"
#include "filelist/engine/RowSort.h"
#include "platform/IconKeys.h"
#include "platform/Path.h"
#include "platform/Pump.h"
#include "platform/Services.h"
#include "platform/ShellInfo.h"
#include "platform/Volumes.h"
#include <QCoreApplication>
#include <QThread>
#include <array>
#include <cstring>

namespace filelist {
namespace {

constexpr quint32 kFileTypeBits = 1 | 2 | 4 | 32 | 128;

plat::IFileSystem* fs()
{
    return plat::services().fs;
}

} // namespace

// The shared type cache locks, cuts and lower-cases the extension for every name; rows of one listing
// mostly repeat a few extensions, remembered here as found (same extension, same answer).
struct FileLister::TypeMemo {
    struct Slot {
        QString suffix;
        plat::ShellInfo::Entry entry;
        bool used = false;
    };
    std::array<Slot, 64> slots;
    plat::ShellInfo::Entry folder;
    bool haveFolder = false;

    plat::ShellInfo::Entry describe(const QString& name, bool isDir)
    {
        if (isDir) {
            if (!haveFolder) {
                folder = plat::ShellInfo::describe(name, true);
                haveFolder = true;
            }
            return folder;
        }
        const qsizetype dot = name.lastIndexOf(u'.');
        const QStringView suffix = dot < 0 ? QStringView() : QStringView(name).mid(dot);
        size_t hash = size_t(suffix.size());
        for (QChar c : suffix)
            hash = hash * 31 + c.unicode();
        Slot& slot = slots[hash % slots.size()];
        if (!slot.used || slot.suffix != suffix) {
            slot.entry = plat::ShellInfo::describe(name, false);
            slot.suffix = suffix.toString();
            slot.used = true;
        }
        return slot.entry;
    }
};

FileLister::FileLister() = default;

FileLister::~FileLister()
{
    m_stopa = true;
}

bool FileLister::isDrivesWord(const QString& s)
{
    return s.compare(kDrivesWord, Qt::CaseInsensitive) == 0;
}

int FileLister::parentIconIndex()
{
    static const int index = plat::iconIndex(QStringLiteral(":/filelist/Parent_L28.png"));
    return index;
}

void FileLister::setDirectory(const QString& value)
{
    const bool drives = isDrivesWord(value);
    const bool same = isDrivesWord(m_directory)
        ? drives
        : !drives && !value.isEmpty() && plat::path::samePath(plat::path::normalizeFolder(value), m_directory);
    if (same)
        return;
    m_stopa = true;
    QString v = value;
    if (!drives)
        v = plat::path::isDirectory(value) ? plat::path::normalizeFolder(value) : kDrivesWord;
    m_directory = v;
    UpdateFileList();
}

void FileLister::setMask(const QString& value)
{
    if (value == m_mask)
        return;
    m_mask = value;
    UpdateFileList();
}

void FileLister::setFileType(quint32 value)
{
    if (value == m_fileType)
        return;
    m_fileType = value;
    UpdateFileList();
}

void FileLister::setShowFolders(bool value)
{
    if (value == m_showFolders)
        return;
    m_showFolders = value;
    UpdateFileList();
}

void FileLister::UpdateFileList()
{
    if (m_readOnly)
        return;
    const std::weak_ptr<int> life = m_life;
    if (!m_stopa) {
        // A listing is running further up the stack: let it see the flag and end.
        m_stopa = true;
        QCoreApplication::processEvents();
        if (life.expired())
            return;
        QThread::msleep(80);
    }
    clearRows();
    m_stopa = false;
    m_totalSize = 0;
    m_typeMemo = std::make_unique<TypeMemo>();
    m_haveLastTime = false;
    ++m_listings;
    m_pump.restart();
    if (m_observer)
        m_observer->listingStarted();
    try {
        if (!isDrivesWord(m_directory) && !plat::path::isDirectory(m_directory)) {
            const QString parent = plat::path::folderPart(m_directory.left(m_directory.size() - 1));
            m_directory = plat::path::isDirectory(parent) ? parent : kDrivesWord;
        }
        if (isDrivesWord(m_directory)) {
            if (!m_driveColumnsShown)
                setColumnSet(true);
            AddDrives();
        } else {
            if (m_driveColumnsShown)
                setColumnSet(false);
            m_listedDir = plat::path::withTrailingSep(m_directory);
            const quint32 mask = m_fileType & kFileTypeBits;
            if (m_showFolders && !AddFiles(QStringLiteral("*.*"), mask | plat::kAttrDirectory) && life.expired())
                return;
            QString rest = m_mask.trimmed();
            if (rest.isEmpty())
                rest = QStringLiteral("*.*");
            while (!rest.isEmpty() && !m_stopa) {
                const qsizetype semi = rest.indexOf(u';');
                const QString piece = semi < 0 ? rest : rest.left(semi);
                rest = semi < 0 ? QString() : rest.mid(semi + 1);
                if (!AddFiles(piece, mask) && life.expired())
                    return;
            }
        }
    } catch (const std::exception&) {
        // Rows found so far stay; the list is still sorted below.
    }
    m_sortDescending = true;
    ColumnClick(0);
    publish();
    m_stopa = true;
    if (m_observer)
        m_observer->listingFinished();
    QCoreApplication::processEvents();
}

bool FileLister::AddFiles(const QString& piece, quint32 mask)
{
    m_sortEnabled = true;
    m_passAttributes = mask;
    const std::weak_ptr<int> life = m_life;
    if (!fs())
        return false;
    const auto kinds = (mask & plat::kAttrDirectory) ? plat::KindFilter::FoldersOnly : plat::KindFilter::NonFolders;
    const auto afterEntry = [&] { return pumpIfDue() && !m_stopa; };
    const bool found = fs()->enumerateKind(m_listedDir, piece, kinds, [&](const plat::FindData& entry) {
        AddFileItem(entry);
        return afterEntry();
    }, afterEntry);
    return found && !life.expired();
}

void FileLister::AddFileItem(const plat::FindData& e)
{
    if (!admits(e, m_passAttributes, {m_hhf, m_hsf, m_parentDirEnabled}))
        return;
    FileRow r;
    r.name = e.name;
    r.attrs = quint8(e.attributes & 0xFF);
    const bool parent = e.name == QLatin1String("..");
    if (parent) {
        r.type = kParentTypeName;
        r.icon = parentIconIndex();
    } else {
        const plat::ShellInfo::Entry info = m_typeMemo->describe(e.name, e.isDir());
        r.type = info.typeName;
        r.icon = info.icon;
    }
    r.size = e.isDir() ? 0 : e.size;
    formatTime(e.writeNs, r.modified);
    formatTime(e.creationNs, r.created);
    formatTime(e.accessNs, r.accessed);
    r.flags = quint8((parent ? FileRow::kParent : 0) | (m_hideFileExt ? FileRow::kHideExt : 0));
    m_totalSize += r.size;
    if (parent)
        m_parentIndex = m_parentIndex == -1 ? qint64(m_files.size()) : -2;
    m_order.push_back(int(m_files.size()));
    m_files.push_back(std::move(r));
}

// Local-time text of a file time; the three times of a row and of neighbouring rows often share a second.
void FileLister::formatTime(plat::FileTime utc, char* out)
{
    if (!m_haveLastTime || utc.sec != m_lastTimeSec) {
        plat::formatLocalTime(utc, m_lastTimeText);
        m_lastTimeSec = utc.sec;
        m_haveLastTime = true;
    }
    std::memcpy(out, m_lastTimeText, plat::kTimeTextLength);
}

void FileLister::AddDrives()
{
    m_sortEnabled = false;
    plat::IVolumes* volumes = plat::services().volumes;
    if (!volumes)
        return;
    for (const plat::Volume& v : volumes->list()) {
        try {
            DriveRow d;   // pushed only when complete
            d.caption = driveCaption(v);
            d.type = driveTypeName(v.type);
            const bool unread = v.type == plat::DriveType::Removable || v.type == plat::DriveType::CdRom;
            d.total = unread ? QStringLiteral("0 Mb") : driveSizeText(v.total);
            d.free = unread ? QStringLiteral("0 Mb") : driveSizeText(v.free);
            d.root = plat::path::withTrailingSep(v.root);
            d.icon = plat::iconIndex(plat::ShellInfo::driveIconKey(v.type));
            m_drives.push_back(std::move(d));
        } catch (const std::exception&) {
        }
    }
}

void FileLister::OneLevelUp()
{
    if (isDrivesWord(m_directory))
        return;
    const QString dir = plat::path::withTrailingSep(m_directory);
    if (plat::path::isRoot(dir)) {
        setDirectory(QStringLiteral("Drives"));
        return;
    }
    setDirectory(plat::path::folderPart(dir.left(dir.size() - 1)));
}

void FileLister::ColumnClick(int column)
{
    if (!m_sortEnabled)
        return;
    if (column == m_sortColumn) {
        m_sortDescending = !m_sortDescending;
    } else {
        m_sortColumn = column;
        m_sortDescending = true;
    }
    publish();
    // A long sort lets events run between its steps; if the rows change meanwhile (a newer listing,
    // another header click) this sort is dropped, the newer state sorts itself.
    const std::weak_ptr<int> life = m_life;
    const quint64 version = m_version;
    const auto keepGoing = [&] {
        if (!m_pump.due())
            return true;
        m_pump.pumpNow();
        if (life.expired())
            return false;
        return m_version == version;
    };
    const std::optional<std::vector<int>> order = sortOrder(m_files, m_sortColumn, m_sortDescending, keepGoing);
    if (life.expired() || !order || m_version != version)
        return;
    ++m_version;
    if (m_observer)
        m_observer->rowsAboutToBeSorted();
    std::vector<int> positionOf(m_files.size());
    for (size_t k = 0; k < order->size(); ++k)
        positionOf[size_t((*order)[k])] = int(k);
    std::vector<int> newPosition(m_order.size());
    for (size_t row = 0; row < m_order.size(); ++row)
        newPosition[row] = positionOf[size_t(m_order[row])];
    m_order = *order;
    if (m_observer) {
        m_observer->rowsSorted(newPosition);
        m_observer->sortStateChanged();
    }
}

int FileLister::rowCount() const
{
    return m_published;
}

const FileRow* FileLister::fileRow(int row) const
{
    return !m_driveColumnsShown && row >= 0 && size_t(row) < m_order.size() ? &m_files[size_t(m_order[size_t(row)])] : nullptr;
}

const DriveRow* FileLister::driveRow(int row) const
{
    return m_driveColumnsShown && row >= 0 && size_t(row) < m_drives.size() ? &m_drives[size_t(row)] : nullptr;
}

QString FileLister::caption(int row) const
{
    if (const FileRow* f = fileRow(row))
        return captionOf(*f);
    if (const DriveRow* d = driveRow(row))
        return d->caption;
    return QString();
}

QString FileLister::subItem(int row, int i) const
{
    if (const FileRow* f = fileRow(row))
        return fileSubItem(*f, m_listedDir, i);
    if (const DriveRow* d = driveRow(row))
        return driveSubItem(*d, i);
    return QString();
}

int FileLister::iconIndex(int row) const
{
    if (const FileRow* f = fileRow(row))
        return f->icon;
    if (const DriveRow* d = driveRow(row))
        return d->icon;
    return -1;
}

bool FileLister::isParentRow(int row) const
{
    // Asked for every row whenever a view lays the rows out: answered from the order alone.
    if (m_driveColumnsShown || row < 0 || size_t(row) >= m_order.size() || m_parentIndex == -1)
        return false;
    if (m_parentIndex >= 0)
        return m_order[size_t(row)] == m_parentIndex;
    return m_files[size_t(m_order[size_t(row)])].isParent();
}

qint64 FileLister::selectedSize(const QList<int>& rows) const
{
    qint64 total = 0;
    if (!fs())
        return 0;
    for (int row : rows) {
        const QString path = subItem(row, 4);
        if (path.isEmpty())
            continue;
        if (const auto found = fs()->find(path); found && !found->isDir())
            total += found->size;
    }
    return total;
}

qint64 FileLister::DriveFreeSpace() const
{
    plat::IVolumes* volumes = plat::services().volumes;
    if (isDrivesWord(m_directory) || !volumes)
        return 0;
    return volumes->availableBytes(m_directory) / 1024;
}

void FileLister::clearRows()
{
    const int shown = m_published;
    if (m_observer && shown > 0)
        m_observer->rowsAboutToBeRemoved(0, shown - 1);
    m_files.clear();
    m_files.shrink_to_fit();
    m_order.clear();
    m_order.shrink_to_fit();
    m_drives.clear();
    m_published = 0;
    m_batchCostMs = 0;
    m_parentIndex = -1;
    ++m_version;
    if (m_observer && shown > 0)
        m_observer->rowsRemoved();
}

void FileLister::setColumnSet(bool drives)
{
    if (m_observer)
        m_observer->rowsAboutToReset();
    ++m_version;
    m_driveColumnsShown = drives;
    if (m_observer)
        m_observer->rowsReset();
}

void FileLister::publish()
{
    const int total = int(m_driveColumnsShown ? m_drives.size() : m_files.size());
    if (total <= m_published)
        return;
    if (m_observer)
        m_observer->rowsAboutToBeAppended(m_published, total - 1);
    ++m_version;
    m_published = total;
    m_sincePublish.start();
    if (m_observer)
        m_observer->rowsAppended();
}

// A view lays out all of its rows again after each batch, so batches grow with the rows shown: a batch
// goes out once half as many rows as are shown are waiting, or when the last one is 250 ms old and at
// least eight times as old as the pump that followed it took (what the views spent on it). A long
// listing then costs a bounded number of full layouts while it still shows its progress.
bool FileLister::publishBatch()
{
    const qsizetype waiting = qsizetype(m_driveColumnsShown ? m_drives.size() : m_files.size()) - m_published;
    if (waiting <= 0)
        return false;
    if (waiting < m_published / 2 && m_sincePublish.isValid()
        && !m_sincePublish.hasExpired(std::max<qint64>(250, 8 * m_batchCostMs)))
        return false;
    publish();
    return true;
}

bool FileLister::pumpIfDue()
{
    if (!m_pump.due())
        return true;
    const std::weak_ptr<int> life = m_life;
    const bool published = publishBatch();
    QElapsedTimer pump;
    pump.start();
    m_pump.pumpNow();
    if (life.expired())
        return false;
    if (published)
        m_batchCostMs = pump.elapsed();
    return true;
}

} // namespace filelist
