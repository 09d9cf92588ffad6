#include "platform/Volumes.h"
#include "platform/Path.h"
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace plat {
namespace {

struct MountLine {
    QString root;        // the mounted sub-tree of the file system ("/" unless a bind mount)
    QString mountPoint;
    QString fsType;
    QString source;
};

// "\040" and the like in mountinfo fields.
QString unescape(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int v = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += char(v);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return QFile::decodeName(out);
}

QList<MountLine> readMountInfo()
{
    QList<MountLine> lines;
    QFile f(QStringLiteral("/proc/self/mountinfo"));
    if (!f.open(QIODevice::ReadOnly))
        return lines;
    const QList<QByteArray> rows = f.readAll().split('\n');
    for (const QByteArray& row : rows) {
        const QList<QByteArray> fields = row.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 5 || dash < 0 || dash + 2 >= fields.size())
            continue;
        lines.append({unescape(fields[3]), unescape(fields[4]), QString::fromLatin1(fields[dash + 1]),
                      unescape(fields[dash + 2])});
    }
    return lines;
}

bool isNetworkFs(const QString& t)
{
    static const QStringList kTypes = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs", "9p", "davfs"};
    return kTypes.contains(t);
}

// Removable or fixed from /sys/class/block; Unknown when the device has no entry there.
DriveType blockDeviceType(const QString& device)
{
    const QString dev = QFileInfo(device).canonicalFilePath();
    const QString name = QFileInfo(dev.isEmpty() ? device : dev).fileName();
    const QString sys = QFileInfo(QStringLiteral("/sys/class/block/") + name).canonicalFilePath();
    if (sys.isEmpty())
        return DriveType::Unknown;
    if (sys.contains(QLatin1String("/usb")))
        return DriveType::Removable;
    QString disk = sys;
    if (QFile::exists(sys + QStringLiteral("/partition")))
        disk = QFileInfo(sys).path();   // a partition: ask its disk
    QFile removable(disk + QStringLiteral("/removable"));
    if (removable.open(QIODevice::ReadOnly) && removable.readAll().trimmed() == "1")
        return DriveType::Removable;
    return DriveType::Fixed;
}

DriveType driveType(const MountLine& m)
{
    if (m.source.startsWith(QLatin1String("/dev/sr")) || m.fsType == QLatin1String("iso9660") || m.fsType == QLatin1String("udf"))
        return DriveType::CdRom;
    if (isNetworkFs(m.fsType))
        return DriveType::Remote;
    if (m.fsType == QLatin1String("tmpfs") || m.fsType == QLatin1String("ramfs"))
        return DriveType::RamDisk;
    if (m.source.startsWith(QLatin1String("/dev/")))
        return blockDeviceType(m.source);
    return m.mountPoint == QLatin1String("/") ? DriveType::Fixed : DriveType::Unknown;
}

bool isListed(const MountLine& m)
{
    if (m.mountPoint == QLatin1String("/"))
        return true;
    if (m.root != QLatin1String("/"))
        return false;   // bind mount of a sub-tree
    if (isNetworkFs(m.fsType))
        return true;
    return m.source.startsWith(QLatin1String("/dev/")) && !m.source.startsWith(QLatin1String("/dev/loop"))
        && m.fsType != QLatin1String("squashfs");
}

} // namespace

QList<Volume> LinuxVolumes::list()
{
    // The last mount on a mount point covers the earlier ones; keep it at the first one's place.
    QList<MountLine> mounts;
    for (const MountLine& m : readMountInfo()) {
        auto it = std::find_if(mounts.begin(), mounts.end(), [&](const MountLine& o) { return o.mountPoint == m.mountPoint; });
        if (it != mounts.end())
            *it = m;
        else
            mounts.append(m);
    }
    QList<Volume> out;
    bool haveRoot = false;
    for (const MountLine& m : mounts) {
        if (!isListed(m))
            continue;
        Volume v;
        v.root = m.mountPoint;
        v.device = m.source;
        v.fsType = m.fsType;
        v.type = driveType(m);
        const QStorageInfo info(v.root);
        v.label = info.isValid() ? info.name() : QString();
        if (v.type != DriveType::Removable && v.type != DriveType::CdRom && info.isValid()) {
            v.total = info.bytesTotal();
            v.free = info.bytesAvailable();
        }
        if (v.root == QLatin1String("/")) {
            out.prepend(v);
            haveRoot = true;
        } else {
            out.append(v);
        }
    }
    if (!haveRoot) {
        const QStorageInfo info(QStringLiteral("/"));
        Volume v;
        v.root = QStringLiteral("/");
        v.type = DriveType::Fixed;
        v.total = info.bytesTotal();
        v.free = info.bytesAvailable();
        out.prepend(v);
    }
    return out;
}

QStringList IVolumes::mountPoints()
{
    QStringList out;
    for (const Volume& v : list())
        out << v.root;
    return out;
}

QStringList LinuxVolumes::mountPoints()
{
    // Kernel interfaces hold no user files; an automount point is not touched (that would mount it).
    static const QStringList kNoFiles = {"proc", "sysfs", "cgroup", "cgroup2", "devpts", "mqueue", "debugfs",
                                         "tracefs", "securityfs", "pstore", "bpf", "configfs", "fusectl", "autofs",
                                         "binfmt_misc", "hugetlbfs", "efivarfs", "rpc_pipefs", "nsfs", "selinuxfs"};
    QStringList out{QStringLiteral("/")};
    for (const MountLine& m : readMountInfo()) {
        if (!kNoFiles.contains(m.fsType) && !out.contains(m.mountPoint))
            out << m.mountPoint;
    }
    return out;
}

qint64 LinuxVolumes::availableBytes(const QString& p)
{
    const QStorageInfo info(p);
    return info.isValid() && info.isReady() ? qMax<qint64>(0, info.bytesAvailable()) : 0;
}

} // namespace plat
