#include "tools/md5/engine/MD5Hash.h"
#include "tools/md5/engine/MD5.h"
#include "tools/md5/engine/MemoryMappedFileStream.h"
#include "tools/md5/engine/Streams.h"
#include "platform/posix/FileIO.h"
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string.h>

namespace md5 {
namespace {

// One read buffer per file, wiped and freed at the end.
struct Buffer {
    explicit Buffer(qint64 n) : size(size_t(n)), data(static_cast<char*>(std::aligned_alloc(64, (size + 63) & ~size_t(63))))
    {
        if (!data)
            throw std::bad_alloc();
    }
    ~Buffer()
    {
        explicit_bzero(data, size);
        std::free(data);
    }
    size_t size;
    char* data;
};

} // namespace

QString hashStream(Stream& stream, qint64 blockSize, const TMD5HashCallback& callback, void* data)
{
    const qint64 total = stream.Size();
    const qint64 bufferSize = total > 0 ? std::min(blockSize, total) : blockSize;
    Buffer buffer(bufferSize);
    stream.Seek(0, soBeginning);
    Md5Context ctx;
    qint64 done = 0;
    for (;;) {
        const qint64 want = total > 0 ? std::min(bufferSize, total - done) : bufferSize;
        if (want <= 0)
            break;
        const qint64 got = stream.Read(buffer.data, want);
        if (got <= 0)
            break;
        done += got;
        ctx.Update(buffer.data, size_t(got));
        if (callback) {
            bool cancel = false;
            callback(cancel, done, total, data);
            if (cancel)
                return QString();   // the context wipes itself
        }
    }
    return digestText(ctx.Final());
}

} // namespace md5

qint64 MD5FileSize(const QString& fileName)
{
    qint64 size = -1;
    return plat::posix::openRegularFile(fileName, &size).valid() ? size : -1;
}

bool MD5IsLargeFile(const QString& FileName)
{
    return MD5FileSize(FileName) >= kMD5LargeFileSize;
}

QString MD5File(const QString& FileName, int Mode, const TMD5HashCallback& Callback, void* CallbackData)
{
    try {
        const qint64 size = MD5FileSize(FileName);
        const bool large = size >= kMD5LargeFileSize;
        if (Mode == rmAuto)
            Mode = large ? rmFileStream : rmMapped;
        if (Mode == rmMapped && large)
            throw EMD5HashFileSizeIsTooLargeToBeMapped(
                QStringLiteral("The file is large than 2 GBytes, so that could not be mapped in memory.\r\n%1")
                    .arg(FileName));
        // Nothing to map in an empty file: it is read instead, so the empty message gets its digest.
        if (Mode == rmMapped && size != 0) {
            TMemoryMappedReadOnlyFileStream stream(
                FileName, QFileInfo(FileName).fileName() + QStringLiteral("_MAPPED_FOR_MD5"));
            return md5::hashStream(stream, kMD5MappedBlockSize, Callback, CallbackData);
        }
        md5::FileStream stream(FileName);
        return md5::hashStream(stream, Mode == rmMapped ? kMD5MappedBlockSize : kMD5StreamBlockSize, Callback,
                               CallbackData);
    } catch (const EMD5HashError&) {
        return QString();
    }
}
