#pragma once
#include <QString>
#include <functional>
#include <optional>

// Checked file I/O for the split, merge and insertion engine: descriptors whose close is checked,
// outputs written beside their target and renamed over it only when complete, and a range copy that
// lets the kernel move the bytes where it can.
namespace splitmerge::io {

// Called after every copied block with the bytes copied so far.
using Progress = std::function<void(qint64 done)>;

// Identity of a file (links followed).
struct FileId {
    quint64 dev = 0;
    quint64 ino = 0;
    bool operator==(const FileId&) const = default;
};

std::optional<FileId> idOf(const QString& path);
std::optional<FileId> idOf(int fd);
// True when both paths name one existing file; a missing path is never the same.
bool sameFile(const QString& a, const QString& b);
bool exists(const QString& path);          // an entry that is not a folder (links followed)
bool isDirectory(const QString& path);
// The read-only attribute: the owner write bit is clear. Refused as a target even for root.
bool isReadOnly(const QString& path);

// An open descriptor. close() reports a failed close; the destructor closes silently.
class Fd {
public:
    Fd() = default;
    Fd(int fd, const QString& path) : m_fd(fd), m_path(path) {}
    Fd(Fd&& o) noexcept : m_fd(o.m_fd), m_path(o.m_path) { o.m_fd = -1; }
    Fd& operator=(Fd&& o) noexcept;
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd();

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    const QString& path() const { return m_path; }
    qint64 size() const;                    // throws when the size cannot be read
    void close();                           // throws on failure

private:
    int m_fd = -1;
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

// Error texts.
QString openError(const QString& path, int err);
QString createError(const QString& path, int err);
QString readError(const QString& path, int err);
QString writeError(const QString& path, int err);
QString readOnlyError(const QString& path);
QString missingError(const QString& path);

} // namespace splitmerge::io
