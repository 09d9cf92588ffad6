// Reading a picture file through the platform layer, then decoding its bytes.
#include "imaging/Picture.h"
#include "platform/posix/FileIO.h"
#include <QFileInfo>

namespace imaging {
namespace {

// Files past this cannot hold a picture within the pixel cap in any format read here.
constexpr qint64 kMaxFileBytes = qint64(1536) * 1024 * 1024;

LoadResult failed(const QString& path, Failure failure, const QString& reason)
{
    LoadResult r;
    r.format = formatForExtension(QFileInfo(path).suffix());
    r.failure = failure;
    r.reason = reason;
    return r;
}

// The bytes of a small companion file, or nothing when it is missing or unreadable.
QByteArray readSmallFile(const QString& path, qint64 limit)
{
    qint64 size = 0;
    plat::posix::Fd fd = plat::posix::openRegularFile(path, &size);
    if (!fd.valid() || size > limit)
        return {};
    QByteArray data(size, Qt::Uninitialized);
    const qint64 got = plat::posix::readFull(fd.get(), data.data(), size);
    if (got < 0)
        return {};
    data.truncate(got);
    return data;
}

// The Dr. Halo palette beside a CUT picture: same name, extension ".PAL" or ".pal".
QByteArray cutPalette(const QString& path)
{
    const QFileInfo info(path);
    const QString base = info.path() + u'/' + info.completeBaseName();
    for (const char* ext : {".PAL", ".pal"}) {
        const QByteArray pal = readSmallFile(base + QLatin1String(ext), 64 * 1024);
        if (!pal.isEmpty())
            return pal;
    }
    return {};
}

} // namespace

LoadResult loadPicture(const QString& path, const LoadOptions& options)
{
    qint64 size = 0;
    plat::posix::SysError error;
    plat::posix::Fd fd = plat::posix::openRegularFile(path, &size, &error);
    if (!fd.valid())
        return failed(path, Failure::Unreadable, plat::posix::errnoText(error.code));
    if (size > kMaxFileBytes)
        return failed(path, Failure::TooLarge, QStringLiteral("file too large for a picture"));
    QByteArray data(size, Qt::Uninitialized);
    const qint64 got = plat::posix::readFull(fd.get(), data.data(), size);
    if (got < 0)
        return failed(path, Failure::Unreadable, plat::posix::errnoText(errno));
    data.truncate(got);   // the file may have shrunk since it was sized
    if (data.isEmpty())
        return failed(path, Failure::Damaged, QStringLiteral("empty file"));
    const QString extension = QFileInfo(path).suffix();
    const QByteArray palette = formatForExtension(extension) == Format::Cut ? cutPalette(path) : QByteArray();
    return decodePicture(data, extension, options, palette);
}

} // namespace imaging
