#include "filelist/engine/ListNames.h"
#include "fileops/engine/FileOpTypes.h"
#include "fileops/engine/FileOperation.h"
#include "platform/Path.h"
#include "platform/posix/EntryOps.h"
#include <cerrno>

namespace filelist {

namespace path = plat::path;

namespace {

// Tries numbered names until `make` succeeds or fails for another reason than a taken name.
template <typename Make>
QString createNumbered(const QString& dir, const QString& base, const QString& ext, Make make)
{
    if (dir.isEmpty() || !path::isDirectory(dir))
        return QString();
    const QString d = path::withTrailingSep(dir);
    for (int n = 1; n < 1000000; ++n) {
        const QString candidate = d + numberedName(base, n, ext);
        const int e = make(candidate);
        if (e == 0)
            return candidate;
        if (e != EEXIST)
            return QString();
    }
    return QString();
}

} // namespace

QString numberedName(const QString& base, int n, const QString& ext)
{
    if (n <= 1)
        return base + ext;
    return base + u'(' + QString::number(n) + u')' + ext;
}

QString createNewFolder(const QString& dir)
{
    return createNumbered(dir, kNewFolderName, QString(), [](const QString& p) {
        return plat::posix::makeDir(p, 0777).code;
    });
}

QString createNewTextDocument(const QString& dir)
{
    return createNumbered(dir, kNewTextName, kTextExt, [](const QString& p) {
        return plat::posix::createEmptyFile(p, 0666).code;
    });
}

bool isValidName(const QString& name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') && !name.contains(QChar(0));
}

bool entryExists(const QString& p)
{
    return plat::posix::entryExists(p);
}

QString alreadyExistsText(const QString& p)
{
    return u'"' + path::namePart(path::withoutTrailingSep(p)) + QStringLiteral("\" already exists !");
}

QString invalidNameText(const QString& name)
{
    return u'"' + name + QStringLiteral("\" is not a valid name !");
}

RenameOutcome renameEntry(const QString& source, const QString& newName, fileops::FileOpPrompter& ui)
{
    const QString from = path::withoutTrailingSep(source);
    const QString target = path::folderPart(from) + newName;
    if (isValidName(newName) && target == from)
        return RenameOutcome::Unchanged;
    if (!isValidName(newName)) {
        ui.error(invalidNameText(newName));
        return RenameOutcome::Invalid;
    }
    if (entryExists(target)) {
        ui.error(alreadyExistsText(target));
        return RenameOutcome::Exists;
    }
    return fileops::ShellFileOperation(ui, fileops::FO_RENAME, false, {from}, {target}) ? RenameOutcome::Renamed
                                                                                        : RenameOutcome::Failed;
}

QString batchRenameName(const QString& p, const QString& base, int n, const std::optional<QString>& ext)
{
    const QString tail = ext ? u'.' + *ext : path::extOf(path::namePart(path::withoutTrailingSep(p)));
    return base + QString::number(n) + tail;
}

QString batchRenameTarget(const QString& p, const QString& base, int n, const std::optional<QString>& ext)
{
    return path::folderPart(path::withoutTrailingSep(p)) + batchRenameName(p, base, n, ext);
}

int batchRename(const QList<fileops::ListItem>& items, const QString& base, const std::optional<QString>& ext,
                fileops::FileOpPrompter& ui)
{
    int renamed = 0;
    int n = 1;
    for (const fileops::ListItem& item : items) {
        if (item.isDriveOrParent())
            continue;
        if (renameEntry(item.path, batchRenameName(item.path, base, n++, ext), ui) == RenameOutcome::Renamed)
            ++renamed;
    }
    return renamed;
}

} // namespace filelist
