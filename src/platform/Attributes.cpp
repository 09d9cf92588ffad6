#include "platform/Attributes.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/posix/PathCodec.h"
#include <QFile>
#include <sys/stat.h>

namespace plat {

QSet<QString> readHiddenList(const QString& dir)
{
    QSet<QString> names;
    QFile f(path::withTrailingSep(dir) + QStringLiteral(".hidden"));
    if (!f.open(QIODevice::ReadOnly))
        return names;
    const QList<QByteArray> lines = f.readAll().split('\n');
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            names.insert(posix::decodePath(line));
    }
    return names;
}

quint32 attributes(mode_t mode, const QString& name, bool listedHidden)
{
    quint32 a = 0;
    if (!(mode & S_IWUSR))
        a |= kAttrReadOnly;
    const bool dotName = name.startsWith(u'.') && name != QLatin1String(".") && name != QLatin1String("..");
    if (dotName || listedHidden)
        a |= kAttrHidden;
    if (S_ISCHR(mode) || S_ISBLK(mode) || S_ISFIFO(mode) || S_ISSOCK(mode))
        a |= kAttrSystem;
    if (S_ISDIR(mode))
        a |= kAttrDirectory;
    if (S_ISREG(mode))
        a |= kAttrArchive;
    return a;
}

quint32 attributes(const QString& p)
{
    const QByteArray bytes = path::encode(path::withoutTrailingSep(p));
    struct stat st;
    if (::stat(bytes.constData(), &st) != 0 && ::lstat(bytes.constData(), &st) != 0)
        return 0;
    const QString clean = path::withoutTrailingSep(p);
    const QString name = path::namePart(clean);
    const bool listed = !name.isEmpty() && readHiddenList(path::folderPart(clean)).contains(name);
    return attributes(st.st_mode, name, listed);
}

QString attributeLetters(quint32 a)
{
    QString s;
    if (a & kAttrArchive)
        s += u'A';
    if (a & kAttrReadOnly)
        s += u'R';
    if (a & kAttrHidden)
        s += u'H';
    if (a & kAttrSystem)
        s += u'S';
    return s;
}

} // namespace plat
