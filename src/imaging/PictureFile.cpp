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
    return decodePicture(data, QFileInfo(path).suffix(), options);
}

} // namespace imaging
