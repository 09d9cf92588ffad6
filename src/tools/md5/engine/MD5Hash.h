#pragma once
#include "tools/md5/engine/MD5Errors.h"
#include <QString>
#include <functional>

namespace md5 {
class Stream;
}

// Read modes: the index of the MD5 window's mode list.
enum TMD5ReadMode { rmAuto = 0, rmMapped = 1, rmFileStream = 2 };

// Called after each block with the bytes done and the total; setting Cancel ends the hashing without a
// digest. `Data` is the caller's value handed to MD5File.
using TMD5HashCallback = std::function<void(bool& Cancel, qint64 Done, qint64 Total, void* Data)>;

inline constexpr qint64 kMD5MappedBlockSize = 4096;
inline constexpr qint64 kMD5StreamBlockSize = 4194304;
// Files of this size or more are never mapped.
inline constexpr qint64 kMD5LargeFileSize = 2147483648LL;

// The MD5 digest of a file as 32 upper-case hexadecimal digits. Automatic mode maps files below 2 GB and
// streams larger ones; mapped mode reads 4096-byte blocks out of a mapped view, file-stream mode reads
// 4 MB blocks. An empty text means no digest: the hashing was cancelled, or mapped mode was asked for a
// file of 2 GB or more. A file that cannot be opened, mapped or read raises md5::EStreamError.
// An empty file is read, not mapped, and has the digest of the empty message in every mode.
QString MD5File(const QString& FileName, int Mode, const TMD5HashCallback& Callback = nullptr,
                void* CallbackData = nullptr);

// True when the file is 2 GB or larger; a file that cannot be opened or sized is not large.
bool MD5IsLargeFile(const QString& FileName);
// The size of a regular file that can be opened for reading, else -1.
qint64 MD5FileSize(const QString& FileName);

namespace md5 {

// Hashes a stream from its start in blocks of `blockSize` bytes, one callback per block. Reads at most
// the stream's size; a stream whose size is 0 is read to its end (a truly empty file gives the digest of
// the empty message). Returns an empty text when cancelled.
QString hashStream(Stream& stream, qint64 blockSize, const TMD5HashCallback& callback, void* data);

} // namespace md5
