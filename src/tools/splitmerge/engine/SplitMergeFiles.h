#pragma once
#include "platform/posix/Fd.h"
#include <QString>
#include <functional>

// Checked file I/O for the split, merge and insertion engine: descriptors that carry their path and
// whose close is checked, outputs written beside their target and renamed over it only when complete,
// and range copies through the platform's copy loop. Failures raise ESplitMergeError with the texts below.
namespace splitmerge::io {

// Called after every copied block with the bytes copied so far.
using Progress = std::function<void(qint64 done)>;

bool exists(const QString& path);          // an entry that is not a folder (links followed)
bool isDirectory(const QString& path);
// The read-only attribute: the owner write bit is clear. Refused as a target even for root.
bool isReadOnly(const QString& path);

// An open descriptor with the path it was opened as. close() reports a failed close; the destructor
// closes silently.
class Fd {
public:
    Fd() = default;
    Fd(plat::posix::Fd fd, const QString& path) : m_fd(std::move(fd)), m_path(path) {}

    int get() const { return m_fd.get(); }
    bool valid() const { return m_fd.valid(); }
    const QString& path() const { return m_path; }
    qint64 size() const;                    // throws when the size cannot be read
    void close();                           // throws on failure

private:
    plat::posix::Fd m_fd;
    QString m_path;
};

Fd openRead(const QString& path);
Fd openReadWrite(const QString& path);     // refused for a read-only file

// A new content for `target`, written to a hidden temporary file in the target's folder. commit()
// closes it and renames it over the target; without a commit the temporary file is removed, so a
// failure never leaves a partial file and keeps an older target as it was.
class OutputFile {
public:
    explicit OutputFile(const QString& target);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    int fd() const { return m_fd.get(); }
    const QString& target() const { return m_target; }
    void commit();

private:
    QString m_target;     // links resolved
    QString m_temp;
    Fd m_fd;
    bool m_committed = false;
};

// Copies `length` bytes (-1: up to the end) from `in` at `inOffset` to `out` at `outOffset`.
// Returns the bytes copied; fewer than `length` only when the input ended early.
qint64 copyRange(const Fd& in, qint64 inOffset, int out, const QString& outPath, qint64 outOffset, qint64 length,
                 const Progress& progress = {});
// The same into a new output: the source's holes stay holes and the output ends where the copy ends.
qint64 copyInto(const Fd& in, qint64 inOffset, const OutputFile& out, qint64 outOffset, qint64 length,
                const Progress& progress = {});

// Error texts.
QString openError(const QString& path, int err);
QString createError(const QString& path, int err);
QString readError(const QString& path, int err);
QString writeError(const QString& path, int err);
QString readOnlyError(const QString& path);
QString missingError(const QString& path);

} // namespace splitmerge::io
