#pragma once
#include <QString>
#include <QtGlobal>

namespace md5 {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// The read side of a byte stream, as the hashing loop uses it.
class TStream {
public:
    virtual ~TStream() = default;
    virtual qint64 Read(void* Buffer, qint64 Count) = 0;
    virtual qint64 Seek(qint64 Offset, TSeekOrigin Origin) = 0;
    virtual qint64 Size() const = 0;
};

// Opens a regular file for reading without blocking on FIFOs or devices; returns the descriptor and its
// size, or -1 (errno set) when the path cannot be opened or is not a regular file.
int openRegularFile(const QString& fileName, qint64* size);

// A file read with plain read(2) calls. Create raises EFOpenError "Error opening %s".
class TFileStream : public TStream {
public:
    explicit TFileStream(const QString& FileName);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    qint64 Read(void* Buffer, qint64 Count) override;   // raises EReadError on an I/O error
    qint64 Seek(qint64 Offset, TSeekOrigin Origin) override;
    qint64 Size() const override { return m_size; }

private:
    QString m_fileName;
    int m_fd = -1;
    qint64 m_size = 0;
};

} // namespace md5
