#include "foldertree/engine/ShellNamespace.h"
#include "platform/Attributes.h"
#include "platform/FileSystem.h"
#include "platform/IconKeys.h"
#include "platform/Path.h"
#include "platform/Services.h"
#include "platform/ShellInfo.h"
#include "platform/Volumes.h"
#include "platform/posix/DirStream.h"
#include "platform/posix/EntryOps.h"
#include "platform/posix/FileOps.h"
#include "platform/posix/StatRecord.h"
#include <QCollator>
#include <QDir>
#include <QHash>
#include <QLocale>
#include <QStandardPaths>
#include <cerrno>

namespace plat {
namespace {

const QString kDesktop = QStringLiteral("desktop");
const QString kDrives = QStringLiteral("drives");
const QString kNetwork = QStringLiteral("network");
const QString kControls = QStringLiteral("controls");
const QString kPrinters = QStringLiteral("printers");
const QString kPersonal = QStringLiteral("personal");
const QString kBitbucket = QStringLiteral("bitbucket");

constexpr int kProbeLimit = 2000;

QCollator& collator()
{
    thread_local QCollator c = [] {
        QCollator k(QLocale(QLocale::Chinese, QLocale::China));
        k.setCaseSensitivity(Qt::CaseInsensitive);
        return k;
    }();
    return c;
}

QString clean(const QString& p)
{
    return path::withoutTrailingSep(QDir::cleanPath(p));
}

QString childPath(const QString& dir, const QString& name)
{
    return dir.endsWith(u'/') ? QString(dir + name) : QString(dir + u'/' + name);
}

QString desktopDir()
{
    return clean(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
}

QString existingDir(const QString& p)
{
    return !p.isEmpty() && path::isDirectory(p) ? clean(p) : QString();
}

// The home trash's files/ folder, made when missing (the trash layout creates it on first use anyway).
QString trashFilesDir()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        return {};
    const QString trash = data + QStringLiteral("/Trash");
    for (const QString& d : QStringList{trash, trash + QStringLiteral("/files"), trash + QStringLiteral("/info")})
        if (!path::isDirectory(d))
            posix::makeDir(d, 0700);
    return existingDir(trash + QStringLiteral("/files"));
}

// Result of reading a folder up to its first sub-folder.
struct Probe {
    bool subFolder = false;
    bool anyChild = false;
};

Probe probeFolder(const QString& dir, bool includeHidden, bool wantFiles, const foldertree::TreeMask* mask)
{
    Probe r;
    posix::DirStream stream;
    if (!stream.open(dir))
        return r;
    int count = 0;
    posix::DirStream::Entry e;
    while (stream.next(e)) {
        const char* n = e.name;
        if (posix::isDotOrDotDot(n))
            continue;
        if (++count > kProbeLimit) {
            r.subFolder = r.anyChild = true;
            break;
        }
        if (!includeHidden && n[0] == '.')
            continue;
        if (posix::isFolderAt(stream.fd(), n, e.type)) {
            r.subFolder = r.anyChild = true;
            break;
        }
        if (wantFiles && !r.anyChild && (!mask || mask->matches(path::decode(n))))
            r.anyChild = true;
    }
    return r;
}

void applyProbe(ShellEntry& e, const EnumRequest& req)
{
    if (!e.isFolder() || e.item.path.isEmpty())
        return;
    const bool files = req.flags & TF_NONFOLDERS;
    const Probe p = probeFolder(e.item.path, req.flags & TF_HIDDEN, files, req.mask ? &*req.mask : nullptr);
    if (p.subFolder)
        e.attributes |= sfgao::HASSUBFOLDER;
    e.anyChild = files && p.anyChild;
}

void setNameKey(ShellEntry& e)
{
    e.nameKey = collator().sortKey(e.displayName);
}

// Facts about the folder whose entries are being described.
struct FolderContext {
    bool haveDev = false;
    quint64 dev = 0;
    bool writable = false;
};

FolderContext folderContext(const QString& dir)
{
    FolderContext c;
    posix::StatRecord st;
    if (posix::statPath(dir, st)) {
        c.haveDev = true;
        c.dev = st.dev;
    }
    c.writable = posix::mayWrite(dir);
    return c;
}

// A file-system entry from its find data.
ShellEntry fileEntry(const QString& dir, const FindData& fd, const FolderContext& ctx)
{
    ShellEntry e;
    e.item.path = childPath(dir, fd.name);
    e.key = fd.name;
    e.displayName = fd.name;
    const bool isDir = fd.isDir();
    quint32 a = sfgao::FILESYSTEM | sfgao::CANCOPY | sfgao::CANMOVE | sfgao::CANLINK | sfgao::CANDELETE
        | sfgao::HASPROPSHEET;
    if (isDir)
        a |= sfgao::FOLDER | sfgao::FILESYSANCESTOR | sfgao::DROPTARGET;
    if (fd.isLink)
        a |= sfgao::LINK;
    if (fd.attributes & kAttrReadOnly)
        a |= sfgao::READONLY;
    const bool mountRoot = !fd.isLink && isDir && ctx.haveDev && fd.dev != ctx.dev;
    if (ctx.writable && !mountRoot)
        a |= sfgao::CANRENAME;
    e.attributes = a;
    const ShellInfo::Entry info = ShellInfo::describe(fd.name, isDir);
    e.icon = info.icon;
    e.typeName = info.typeName;
    if (isDir)
        e.openIcon = iconIndex(QStringLiteral("folder-open"));
    e.size = fd.size;
    e.modifiedNs = fd.writeNs;
    setNameKey(e);
    return e;
}

ShellEntry specialEntry(const ShellItem& item)
{
    ShellEntry e;
    e.item = item;
    e.key = QStringLiteral("/::") + item.id;
    e.typeName = QStringLiteral("文件夹");
    QString icon = QStringLiteral("folder");
    quint32 a = sfgao::FOLDER;
    if (item.id == kDesktop) {
        e.displayName = QStringLiteral("桌面");
        icon = QStringLiteral("user-desktop");
        a |= sfgao::FILESYSANCESTOR | sfgao::HASSUBFOLDER | sfgao::DROPTARGET;
    } else if (item.id == kDrives) {
        e.displayName = QStringLiteral("计算机");
        icon = QStringLiteral("computer");
        e.rank = 2;
        a |= sfgao::FILESYSANCESTOR | sfgao::HASSUBFOLDER;   // "/" is always mounted
    } else if (item.id == kNetwork) {
        e.displayName = QStringLiteral("网上邻居");
        icon = QStringLiteral("network-workgroup");
        e.rank = 3;
    } else if (item.id == kControls) {
        e.displayName = QStringLiteral("控制面板");
    } else if (item.id == kPrinters) {
        e.displayName = QStringLiteral("打印机");
    } else if (item.id == kPersonal) {
        e.displayName = QStringLiteral("我的文档");
        e.rank = 1;
        a |= sfgao::FILESYSANCESTOR | sfgao::DROPTARGET;
    } else if (item.id == kBitbucket) {
        e.displayName = QStringLiteral("回收站");
        icon = QStringLiteral("user-trash");
        e.rank = 4;
        a |= sfgao::FILESYSANCESTOR | sfgao::DROPTARGET;
    }
    if (!item.path.isEmpty())
        a |= sfgao::FILESYSTEM | sfgao::HASPROPSHEET;
    e.attributes = a;
    e.icon = iconIndex(icon);
    e.openIcon = item.path.isEmpty() || item.id == kDesktop || item.id == kBitbucket ? e.icon
                                                                                    : iconIndex(QStringLiteral("folder-open"));
    setNameKey(e);
    return e;
}

// Entries of a file-system folder, as the flags ask.
void listFolder(const QString& dir, const EnumRequest& req, QList<ShellEntry>& out)
{
    const bool folders = req.flags & TF_FOLDERS;
    const bool files = req.flags & TF_NONFOLDERS;
    if (!folders && !files)
        return;
    IFileSystem* fs = services().fs;
    if (!fs)
        return;
    const KindFilter kinds = folders && files ? KindFilter::Any : folders ? KindFilter::FoldersOnly : KindFilter::NonFolders;
    const bool hidden = req.flags & TF_HIDDEN;
    const FolderContext ctx = folderContext(dir);
    fs->enumerateKind(dir, QStringLiteral("*"), kinds, [&](const FindData& fd) {
        if (req.stop && req.stop())
            return false;
        if (fd.name == u"." || fd.name == u"..")
            return true;
        if (!hidden && (fd.attributes & kAttrHidden))
            return true;
        ShellEntry e = fileEntry(dir, fd, ctx);
        applyProbe(e, req);
        out.append(std::move(e));
        return true;
    }, [&] { return !(req.stop && req.stop()); });
}

int sign(qint64 v)
{
    return v < 0 ? -1 : v > 0 ? 1 : 0;
}

int compareNames(const ShellEntry& a, const ShellEntry& b)
{
    if (a.nameKey && b.nameKey)
        return sign(a.nameKey->compare(*b.nameKey));
    return sign(QString::compare(a.displayName, b.displayName, Qt::CaseInsensitive));
}

} // namespace

QString ShellEntry::parsingName() const
{
    return item.path.isEmpty() ? QString(QStringLiteral("::orvo:") + item.id) : item.path;
}

ShellItem ShellNamespace::desktop()
{
    return {kDesktop, desktopDir()};
}

std::optional<ShellItem> ShellNamespace::special(TPidls pidl)
{
    auto plain = [](const QString& p) -> std::optional<ShellItem> {
        const QString d = existingDir(p);
        if (d.isEmpty())
            return std::nullopt;
        return ShellItem{QString(), d};
    };
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    switch (pidl) {
    case PIDL_DESKTOP:
        return desktop();
    case PIDL_DRIVES:
        return ShellItem{kDrives, QString()};
    case PIDL_NETWORK:
        return ShellItem{kNetwork, QString()};
    case PIDL_CONTROLS:
        return ShellItem{kControls, QString()};
    case PIDL_PRINTERS:
        return ShellItem{kPrinters, QString()};
    case PIDL_PERSONAL: {
        const QString d = existingDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        if (d.isEmpty())
            return std::nullopt;
        return ShellItem{kPersonal, d};
    }
    case PIDL_BITBUCKET: {
        const QString d = trashFilesDir();
        if (d.isEmpty())
            return std::nullopt;
        return ShellItem{kBitbucket, d};
    }
    case PIDL_DESKTOPDIRECTORY:
        return plain(desktopDir());
    case PIDL_PROGRAMS:
    case PIDL_STARTMENU:
        return plain(data + QStringLiteral("/applications"));
    case PIDL_STARTUP:
        return plain(config + QStringLiteral("/autostart"));
    case PIDL_SENDTO:
        return plain(data + QStringLiteral("/orvo/SendTo"));
    case PIDL_NETHOOD:
        return plain(QStandardPaths::writableLocation(QStandardPaths::PublicShareLocation));
    case PIDL_TEMPLATES:
        return plain(QStandardPaths::writableLocation(QStandardPaths::TemplatesLocation));
    case PIDL_FONTS:
        return plain(QStandardPaths::writableLocation(QStandardPaths::FontsLocation));
    case PIDL_FAVORITES:
    case PIDL_RECENT:
    case PIDL_USERDEFINED:
        break;
    }
    return std::nullopt;
}

ShellItem ShellNamespace::fromPath(const QString& p)
{
    return {QString(), clean(QDir::isAbsolutePath(p) ? p : QDir::current().absoluteFilePath(p))};
}

QString ShellNamespace::normalizePath(const QString& text)
{
    if (text.isEmpty())
        return {};
    QString p = fromPath(text).path;
    while (!path::isDirectory(p)) {
        if (path::isRoot(p) || p.isEmpty())
            return {};
        const qsizetype slash = p.lastIndexOf(u'/');
        p = slash <= 0 ? QStringLiteral("/") : p.left(slash);
    }
    return p;
}

ShellEntry ShellNamespace::describe(const ShellItem& item, const EnumRequest& request)
{
    if (!item.id.isEmpty()) {
        ShellEntry e = specialEntry(item);
        if (item.id != kDesktop)
            applyProbe(e, request);
        return e;
    }
    ShellEntry e;
    e.item = item;
    e.key = item.path;
    if (item.path.isEmpty())
        return e;
    if (path::isRoot(item.path)) {
        FindData fd;
        fd.name = QStringLiteral("/");
        fd.attributes = attributes(item.path);
        ShellEntry r = fileEntry(QString(), fd, FolderContext{});
        r.item = item;
        r.key = item.path;
        r.displayName = item.path;
        r.attributes &= ~sfgao::CANRENAME;
        setNameKey(r);
        applyProbe(r, request);
        return r;
    }
    std::optional<FindData> fd = services().fs ? services().fs->find(item.path) : std::nullopt;
    if (!fd)
        return e;   // a failed query leaves the item without attributes
    const QString dir = path::withoutTrailingSep(path::folderPart(item.path));
    e = fileEntry(dir.isEmpty() ? QStringLiteral("/") : dir, *fd, folderContext(dir.isEmpty() ? QStringLiteral("/") : dir));
    e.item = item;
    e.key = item.path;
    applyProbe(e, request);
    return e;
}

QList<ShellEntry> ShellNamespace::children(const ShellItem& parent, const EnumRequest& request)
{
    QList<ShellEntry> out;
    if (parent.id == kDesktop) {
        EnumRequest req = request;
        req.flags |= TF_FOLDERS;   // the desktop always lists its folders
        for (TPidls p : {PIDL_PERSONAL, PIDL_DRIVES, PIDL_NETWORK, PIDL_BITBUCKET}) {
            if (req.stop && req.stop())
                return out;
            if (std::optional<ShellItem> s = special(p))
                out.append(describe(*s, req));
        }
        if (!parent.path.isEmpty())
            listFolder(parent.path, req, out);
        return out;
    }
    if (parent.id == kDrives) {
        if (!(request.flags & TF_FOLDERS) || !services().volumes)
            return out;
        const QList<Volume> volumes = services().volumes->list();
        for (int i = 0; i < volumes.size(); ++i) {
            if (request.stop && request.stop())
                break;
            const Volume& v = volumes[i];
            ShellEntry e = describe(ShellItem{QString(), clean(v.root)}, request);
            e.attributes |= sfgao::FILESYSTEM | sfgao::FOLDER | sfgao::FILESYSANCESTOR | sfgao::DROPTARGET;
            e.attributes &= ~sfgao::CANRENAME;
            if (v.type == DriveType::Removable)
                e.attributes |= sfgao::REMOVABLE;
            e.key = e.item.path;
            e.displayName = v.label.isEmpty() ? e.item.path : QString(v.label + QStringLiteral(" (") + e.item.path + u')');
            e.icon = iconIndex(ShellInfo::driveIconKey(v.type));
            e.openIcon = e.icon;
            e.rank = 10 + i;
            setNameKey(e);
            out.append(std::move(e));
        }
        return out;
    }
    if (!parent.path.isEmpty())
        listFolder(parent.path, request, out);
    return out;
}

bool ShellNamespace::sameEntry(const ShellEntry& a, const ShellEntry& b)
{
    return a.item == b.item && a.key == b.key && a.displayName == b.displayName && a.attributes == b.attributes
        && a.icon == b.icon && a.openIcon == b.openIcon && a.rank == b.rank && a.size == b.size
        && a.modifiedNs == b.modifiedNs && a.typeName == b.typeName && a.anyChild == b.anyChild;
}

ChildDelta ShellNamespace::diff(const QList<ShellEntry>& before, const QList<ShellEntry>& after)
{
    ChildDelta d;
    QHash<QString, const ShellEntry*> old;
    old.reserve(before.size());
    for (const ShellEntry& e : before)
        old.insert(e.key, &e);
    for (const ShellEntry& e : after) {
        auto it = old.find(e.key);
        if (it == old.end()) {
            d.added.append(e);
            continue;
        }
        if (!sameEntry(*it.value(), e)) {
            d.changed.append(e);
            d.previous.append(*it.value());
        }
        old.erase(it);
    }
    for (auto it = old.cbegin(); it != old.cend(); ++it)
        d.removed.append(*it.value());
    return d;
}

int ShellNamespace::compare(const ShellEntry& a, const ShellEntry& b, int column)
{
    int r = 0;
    switch (column) {
    case 1:
        r = sign(a.size - b.size);
        break;
    case 2:
        r = sign(QString::compare(a.typeName, b.typeName, Qt::CaseInsensitive));
        break;
    case 3:
        r = a.modifiedNs < b.modifiedNs ? -1 : (b.modifiedNs < a.modifiedNs ? 1 : 0);
        break;
    default:
        if (a.isFolder() != b.isFolder())
            return a.isFolder() ? -1 : 1;
        if (a.rank != b.rank)
            return a.rank < b.rank ? -1 : 1;
        break;
    }
    return r != 0 ? r : compareNames(a, b);
}

QString ShellNamespace::alreadyExistsText(const QString& name)
{
    return u'"' + name + QStringLiteral("\" already exists !");
}

ShellItem ShellNamespace::rename(const ShellItem& item, const QString& newName)
{
    const QString oldName = path::namePart(item.path);
    if (item.path.isEmpty() || !item.id.isEmpty() || path::isRoot(item.path))
        throw EShellError(EShellError::Failed, QStringLiteral("无法重命名“%1”：%2").arg(item.path, QStringLiteral("不是文件系统中的项目")));
    if (newName.isEmpty() || newName == u"." || newName == u".." || newName.contains(u'/') || newName.contains(QChar(0)))
        throw EShellError(EShellError::AlreadyExists, alreadyExistsText(newName));
    const QString target = path::folderPart(item.path) + newName;
    const int err = posix::renameNoReplace(item.path, target);
    if (err == EEXIST || err == ENOTEMPTY)
        throw EShellError(EShellError::AlreadyExists, alreadyExistsText(newName));
    if (err != 0)
        throw EShellError(EShellError::Failed,
                          QStringLiteral("无法重命名“%1”：%2").arg(oldName, posix::errnoText(err)));
    return {QString(), target};
}

int ShellNamespace::routeScore(const ShellItem& node, const ShellItem& target, const QStringList& volumeRoots)
{
    if (!target.id.isEmpty() && node.id == target.id)
        return kExact;
    if (target.path.isEmpty())
        return 0;
    if (!node.path.isEmpty()) {
        if (path::samePath(node.path, target.path))
            return kExact;
        return path::isUnder(target.path, node.path) ? int(node.path.size()) : 0;
    }
    int best = 0;
    if (node.id == kDrives)
        for (const QString& root : volumeRoots)
            if (path::samePath(root, target.path) || path::isUnder(target.path, root))
                best = qMax(best, int(root.size()));
    return best;
}

QStringList ShellNamespace::volumeRoots()
{
    QStringList roots;
    if (services().volumes)
        for (const Volume& v : services().volumes->list())
            roots.append(clean(v.root));
    return roots;
}

bool ShellNamespace::hasSubFolder(const QString& dir, bool includeHidden)
{
    return probeFolder(dir, includeHidden, false, nullptr).subFolder;
}

} // namespace plat
