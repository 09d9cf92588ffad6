#include "app/ListFile.h"
#include "platform/Path.h"
#include "platform/PrivateDir.h"
#include <QFile>
#include <QStringDecoder>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace app {

QString decodeText(const QByteArray& bytes)
{
    if (const auto bom = QStringConverter::encodingForData(bytes)) {
        QStringDecoder dec(*bom);   // strips the BOM
        return dec.decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder gb("GB18030");
    if (gb.isValid())
        return gb.decode(bytes);
    return text;
}

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
    struct stat st;
    return !dir.isEmpty() && ::lstat(plat::path::encode(dir + name).constData(), &st) == 0;
}

std::optional<QStringList> readListFile(const QString& name)
{
    const int fd = plat::openPrivateFile(name, O_RDONLY);
    if (fd < 0)
        return std::nullopt;
    QFile f;
    if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    return splitLines(decodeText(bytes));
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
    const int fd = plat::openPrivateFile(part, O_WRONLY | O_CREAT | O_TRUNC);
    if (fd < 0)
        return false;
    bool ok = true;
    for (qsizetype done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        done += n > 0 ? n : 0;
    }
    ok = ::close(fd) == 0 && ok;
    const QByteArray partPath = plat::path::encode(dir + part);
    if (ok && ::rename(partPath.constData(), plat::path::encode(dir + name).constData()) == 0)
        return true;
    ::unlink(partPath.constData());
    return false;
}

bool removeListFile(const QString& name)
{
    const QString dir = plat::privateDir();
    if (dir.isEmpty())
        return false;
    return ::unlink(plat::path::encode(dir + name).constData()) == 0 || errno == ENOENT;
}

} // namespace app
