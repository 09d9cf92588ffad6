#include "platform/Path.h"
#include "platform/posix/PathCodec.h"
#include <QDir>
#include <QFile>
#include <sys/stat.h>

namespace plat::path {

QString withTrailingSep(const QString& p)
{
    return p.endsWith(kSep) ? p : p + kSep;
}

QString withoutTrailingSep(const QString& p)
{
    if (p.size() > 1 && p.endsWith(kSep))
        return p.left(p.size() - 1);
    return p;
}

QString folderPart(const QString& p)
{
    const qsizetype i = p.lastIndexOf(kSep);
    return i < 0 ? QString() : p.left(i + 1);
}

QString namePart(const QString& p)
{
    return p.mid(p.lastIndexOf(kSep) + 1);
}

QString extOf(const QString& name)
{
    const QString n = namePart(name);
    const qsizetype i = n.lastIndexOf(u'.');
    return i < 0 ? QString() : n.mid(i);
}

bool isRoot(const QString& p)
{
    return p == QLatin1String("/");
}

bool samePath(const QString& a, const QString& b)
{
    return withoutTrailingSep(a) == withoutTrailingSep(b);
}

bool isUnder(const QString& child, const QString& parent)
{
    const QString c = withTrailingSep(child);
    const QString p = withTrailingSep(parent);
    return c.size() > p.size() && c.startsWith(p);
}

QString normalizeFolder(const QString& p)
{
    const QString abs = QDir::isAbsolutePath(p) ? p : QDir::current().absoluteFilePath(p);
    return withTrailingSep(QDir::cleanPath(abs));
}

bool isDirectory(const QString& p)
{
    struct stat st;
    return !p.isEmpty() && ::stat(encode(p).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

QByteArray encode(const QString& p)
{
    return posix::encodePath(p);
}

QString decode(const char* bytes)
{
    return posix::decodePath(bytes);
}

} // namespace plat::path
