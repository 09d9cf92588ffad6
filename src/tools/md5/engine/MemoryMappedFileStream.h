#pragma once
#include "platform/posix/MappedFile.h"
#include "tools/md5/engine/Streams.h"

// A read-only stream over a mapped view of a whole file. Create raises md5::EFOpenError "Error opening %s"
// (file name) when the file cannot be opened or sized, and "Error creating file mapping object %s"
// (mapping name) when it cannot be mapped; an empty file cannot be mapped. The mapping name only labels
// that message: no named object exists.
class TMemoryMappedReadOnlyFileStream : public md5::Stream {
public:
    TMemoryMappedReadOnlyFileStream(const QString& FileName, const QString& MappingName);
    TMemoryMappedReadOnlyFileStream(const TMemoryMappedReadOnlyFileStream&) = delete;
    TMemoryMappedReadOnlyFileStream& operator=(const TMemoryMappedReadOnlyFileStream&) = delete;

    // Copies min(Count, Size - Position) bytes; 0 for a negative position or count or at the end. A file
    // shortened by another program while it is mapped raises md5::EReadError "Error reading %s".
    qint64 Read(void* Buffer, qint64 Count) override;
    qint64 Seek(qint64 Offset, md5::TSeekOrigin Origin) override;   // no bounds check
    qint64 Size() const override { return m_size; }
    qint64 Write(const void* Buffer, qint64 Count);    // raises md5::EWriteError
    void SetSize(qint64 NewSize);                       // raises EFSizeUnChangable

    QString FileName() const { return m_fileName; }
    QString MappingName() const { return m_mappingName; }
    const void* Memory() const { return m_map.data(); }
    qint64 Position() const { return m_position; }

private:
    QString m_fileName;
    QString m_mappingName;
    plat::posix::MappedFile m_map;
    qint64 m_size = 0;
    qint64 m_position = 0;
};
