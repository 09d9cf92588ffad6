// orvo-cli copy, move, delete and trash: the file operation engine without windows. Questions answer No,
// so nothing is replaced or deleted for good unless a flag says so; one line per failed item on stderr,
// exit code 1 when anything failed.
#include "cli/Commands.h"
#include "fileops/engine/FileOpEngine.h"
#include "fileops/engine/FileOperation.h"
#include "fileops/engine/Trash.h"
#include "platform/Path.h"
#include "platform/posix/PathCodec.h"
#include <QDir>
#include <cstdio>

namespace cli {
namespace {

void printLine(const QString& line)
{
    std::fputs(plat::posix::encodePath(QString(line + QLatin1Char('\n'))).constData(), stderr);
}

// Runs one request per source so that every item is tried and reported on its own.
int runEach(int op, unsigned flags, const QStringList& sources, const QString& destDir)
{
    int failed = 0;
    // A signal stops the operation as its Cancel would: the copy in progress takes its temporary entry
    // away, the sources stay, and no further item is started.
    stopOnSignal([] { fileops::FileOpProgress::stopAll(); });
    for (const QString& s : sources) {
        if (signalled())
            break;
        fileops::FileOpRequest r;
        r.op = op;
        r.flags = flags;
        r.sources = {s};
        if (!destDir.isEmpty()) {
            QString name = s;
            while (name.size() > 1 && name.endsWith(QLatin1Char('/')))
                name.chop(1);
            r.targets = {plat::path::withTrailingSep(destDir) + plat::path::namePart(name)};
        }
        fileops::SilentPrompter prompter;
        const fileops::FileOpResult res = fileops::runFileOperation(r, prompter);
        if (!res.success()) {
            ++failed;
            if (res.problems.isEmpty())
                printLine(QStringLiteral("失败：") + s);
            for (const QString& p : res.problems)
                printLine(p);
        }
    }
    return failed ? 1 : 0;
}

int runTransfer(const QString& command, int op, const QStringList& args)
{
    bool rename = false;
    QStringList paths;
    bool options = true;
    for (const QString& a : args) {
        if (options && a == QLatin1String("--rename-on-collision"))
            rename = true;
        else if (options && a == QLatin1String("--"))
            options = false;
        else if (options && a.startsWith(QLatin1String("--")))
            return usageError(command);
        else
            paths << a;
    }
    if (paths.size() < 2)
        return usageError(command);
    const QString dest = paths.takeLast();
    if (!plat::path::isDirectory(dest)) {
        printLine(QStringLiteral("目标文件夹“%1”不存在").arg(dest));
        return 1;
    }
    // Target folders exist; the names inside are the sources' own.
    unsigned flags = fileops::FOF_MULTIDESTFILES | fileops::FOF_SILENT;
    if (rename)
        flags |= fileops::FOF_RENAMEONCOLLISION;
    return runEach(op, flags, paths, dest);
}

int runCopy(const QStringList& args)
{
    return runTransfer(QStringLiteral("copy"), fileops::FO_COPY, args);
}

int runMove(const QStringList& args)
{
    return runTransfer(QStringLiteral("move"), fileops::FO_MOVE, args);
}

int runDelete(const QStringList& args)
{
    bool permanent = false;
    bool options = true;
    QStringList paths;
    for (const QString& a : args) {
        if (options && a == QLatin1String("--permanent"))
            permanent = true;
        else if (options && a == QLatin1String("--"))
            options = false;
        else if (options && a.startsWith(QLatin1String("--")))
            return usageError(QStringLiteral("delete"));
        else
            paths << a;
    }
    if (paths.isEmpty())
        return usageError(QStringLiteral("delete"));
    // --permanent is the user's confirmation; without it the recycle bin, and a failed trash stays.
    const unsigned flags = permanent ? (fileops::FOF_SILENT | fileops::FOF_NOCONFIRMATION)
                                     : (fileops::FOF_ALLOWUNDO | fileops::FOF_NOCONFIRMATION | fileops::FOF_SILENT);
    return runEach(fileops::FO_DELETE, flags, paths, QString());
}

int runTrash(const QStringList& args)
{
    if (args != QStringList{QStringLiteral("--empty")})
        return usageError(QStringLiteral("trash"));
    fileops::TrashCan::emptyAll();
    return 0;
}

const Registration copyReg{"copy", "copy [--rename-on-collision] SRC... DESTDIR", runCopy};
const Registration moveReg{"move", "move [--rename-on-collision] SRC... DESTDIR", runMove};
const Registration deleteReg{"delete", "delete [--permanent] PATH...", runDelete};
const Registration trashReg{"trash", "trash --empty", runTrash};

} // namespace
} // namespace cli
