#pragma once
#include "platform/posix/Fd.h"
#include <QString>
#include <QtGlobal>

namespace md5 {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// The read side of a byte stream, as the hashing loop uses it.
class Stream {
public:
    virtual ~Stream() = default;
    virtual qint64 Read(void* Buffer, qint64 Count) = 0;
    virtual qint64 Seek(qint64 Offset, TSeekOrigin Origin) = 0;
    virtual qint64 Size() const = 0;
};

// A file read with plain read(2) calls. Create raises EFOpenError "Error opening %s".
class FileStream : public Stream {
public:
    explicit FileStream(const QString& FileName);
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    qint64 Read(void* Buffer, qint64 Count) override;   // raises EReadError on an I/O error
    qint64 Seek(qint64 Offset, TSeekOrigin Origin) override;
    qint64 Size() const override { return m_size; }

private:
    QString m_fileName;
    plat::posix::Fd m_fd;
    qint64 m_size = 0;
};

} // namespace md5
