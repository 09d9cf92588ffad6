#include "app/HistoryFiles.h"
#include "platform/PrivateDir.h"
#include "platform/TextDecode.h"
#include "platform/posix/EntryOps.h"
#include "platform/posix/FileIO.h"
#include <QFile>
#include <cerrno>
#include <fcntl.h>

namespace app {

QStringList splitLines(const QString& text)
{
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            lines.append(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

bool listFileExists(const QString& name)
{
    const QString dir = plat::privateDir();
    return !dir.isEmpty() && plat::posix::entryExists(dir + name);
}

std::optional<QStringList> readListFile(const QString& name)
{
    // Not waiting on a FIFO put in the file's place: that reads as a damaged list.
    const std::optional<QByteArray> bytes = plat::readPrivateFile(name);
    if (!bytes)
        return std::nullopt;
    return splitLines(plat::decodeText(*bytes));
}

bool writeListFile(const QString& name, const QStringList& lines)
{
    const QString dir = plat::privateDir();
    if (dir.isEmpty())
        return false;
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    // Written beside the target and renamed over it, so a failed write keeps the old list.
    const QString part = name + QStringLiteral(".part");
    plat::posix::Fd fd(plat::openPrivateFile(part, O_WRONLY | O_CREAT | O_TRUNC));
    if (!fd.valid())
        return false;
    const bool written = plat::posix::writeAll(fd.get(), bytes) == 0;
    if (fd.close() == 0 && written && !plat::posix::renameOver(dir + part, dir + name))
        return true;
    plat::posix::removeFile(dir + part);
    return false;
}

bool removeListFile(const QString& name)
{
    const QString dir = plat::privateDir();
    if (dir.isEmpty())
        return false;
    const plat::posix::SysError e = plat::posix::removeFile(dir + name);
    return !e || e.code == ENOENT;
}

} // namespace app
