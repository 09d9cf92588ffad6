#include "tools/splitmerge/engine/FileIo.h"
#include "tools/splitmerge/engine/SplitMergeError.h"
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace splitmerge::io {
namespace {

QByteArray enc(const QString& p)
{
    return QFile::encodeName(p);
}

QString reason(int err)
{
    return QStringLiteral("\n") + qt_error_string(err);
}

// Errors of a copy that belong to the writing side.
bool isWriteSideError(int err)
{
    return err == ENOSPC || err == EDQUOT || err == EFBIG || err == EROFS;
}

Fd openChecked(const QString& path, int flags)
{
    // Non-blocking, so that a FIFO does not hang the open; only files and block devices are read.
    const int fd = ::open(enc(path).constData(), flags | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw ESplitMergeError(errno == ENOENT ? missingError(path) : openError(path, errno));
    Fd f(fd, path);
    struct stat st;
    if (::fstat(fd, &st) != 0)
        throw ESplitMergeError(openError(path, errno));
    if (S_ISDIR(st.st_mode))
        throw ESplitMergeError(openError(path, EISDIR));
    if (!S_ISREG(st.st_mode) && !S_ISBLK(st.st_mode))
        throw ESplitMergeError(openError(path, EINVAL));
    const int fl = ::fcntl(fd, F_GETFL);
    if (fl < 0 || ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK) != 0)
        throw ESplitMergeError(openError(path, errno));
    return f;
}

} // namespace

QString openError(const QString& path, int err)
{
    return QStringLiteral("无法打开文件 ") + path + reason(err);
}

QString createError(const QString& path, int err)
{
    return QStringLiteral("无法创建文件 ") + path + reason(err);
}

QString readError(const QString& path, int err)
{
    return QStringLiteral("读文件出错: ") + path + reason(err);
}

QString writeError(const QString& path, int err)
{
    return QStringLiteral("写文件出错: ") + path + reason(err);
}

QString readOnlyError(const QString& path)
{
    return QStringLiteral("文件是只读的,不能改写: ") + path;
}

QString missingError(const QString& path)
{
    return path + QStringLiteral("  不存在！");
}

std::optional<FileId> idOf(const QString& path)
{
    struct stat st;
    if (path.isEmpty() || ::stat(enc(path).constData(), &st) != 0)
        return std::nullopt;
    return FileId{quint64(st.st_dev), quint64(st.st_ino)};
}

std::optional<FileId> idOf(int fd)
{
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0)
        return std::nullopt;
    return FileId{quint64(st.st_dev), quint64(st.st_ino)};
}

bool sameFile(const QString& a, const QString& b)
{
    const auto ia = idOf(a);
    const auto ib = idOf(b);
    return ia && ib && *ia == *ib;
}

bool exists(const QString& path)
{
    struct stat st;
    return !path.isEmpty() && ::stat(enc(path).constData(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool isDirectory(const QString& path)
{
    struct stat st;
    return !path.isEmpty() && ::stat(enc(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isReadOnly(const QString& path)
{
    struct stat st;
    return ::stat(enc(path).constData(), &st) == 0 && !(st.st_mode & S_IWUSR);
}

// --- Fd ---

Fd& Fd::operator=(Fd&& o) noexcept
{
    if (this != &o) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = o.m_fd;
        m_path = o.m_path;
        o.m_fd = -1;
    }
    return *this;
}

Fd::~Fd()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

qint64 Fd::size() const
{
    struct stat st;
    if (::fstat(m_fd, &st) != 0)
        throw ESplitMergeError(readError(m_path, errno));
    if (S_ISBLK(st.st_mode)) {
        const off_t end = ::lseek(m_fd, 0, SEEK_END);
        if (end < 0)
            throw ESplitMergeError(readError(m_path, errno));
        return end;
    }
    return st.st_size;
}

void Fd::close()
{
    if (m_fd < 0)
        return;
    const int fd = m_fd;
    m_fd = -1;
    // Linux releases the descriptor even when close reports EINTR; the data may be lost, so it is an error too.
    if (::close(fd) != 0)
        throw ESplitMergeError(writeError(m_path, errno));
}

Fd openRead(const QString& path)
{
    return openChecked(path, O_RDONLY);
}

Fd openReadWrite(const QString& path)
{
    if (isReadOnly(path))
        throw ESplitMergeError(openError(path, EACCES));
    return openChecked(path, O_RDWR);
}

// --- OutputFile ---

OutputFile::OutputFile(const QString& target) : m_target(target)
{
    // Writing to a link writes its target, as opening the name for writing would.
    const QFileInfo info(target);
    if (info.isSymLink() && !info.symLinkTarget().isEmpty())
        m_target = info.symLinkTarget();
    struct stat st;
    const bool existed = ::stat(enc(m_target).constData(), &st) == 0;
    if (existed && S_ISDIR(st.st_mode))
        throw ESplitMergeError(createError(m_target, EISDIR));
    if (existed && !(st.st_mode & S_IWUSR))
        throw ESplitMergeError(readOnlyError(m_target));

    const QString folder = QFileInfo(m_target).absolutePath() + u'/';
    for (int attempt = 0;; ++attempt) {
        const QString temp = folder + QStringLiteral(".orvo-") +
                             QString::number(QRandomGenerator::global()->generate64(), 36) + QStringLiteral(".part");
        const int fd = ::open(enc(temp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            m_temp = temp;
            m_fd = Fd(fd, m_target);
            break;
        }
        if (errno != EEXIST || attempt > 100)
            throw ESplitMergeError(createError(m_target, errno));
    }
    // A replaced file keeps its permission bits.
    if (existed)
        (void)::fchmod(m_fd.get(), st.st_mode & 07777);
}

OutputFile::~OutputFile()
{
    if (!m_committed && !m_temp.isEmpty()) {
        m_fd = Fd();
        ::unlink(enc(m_temp).constData());
    }
}

void OutputFile::commit()
{
    m_fd.close();
    if (::rename(enc(m_temp).constData(), enc(m_target).constData()) != 0)
        throw ESplitMergeError(writeError(m_target, errno));
    m_committed = true;
}

// --- copy ---

qint64 copyRange(const Fd& in, qint64 inOffset, int out, const QString& outPath, qint64 outOffset, qint64 length,
                 const Progress& progress)
{
    constexpr qint64 kKernelChunk = qint64(64) << 20;
    constexpr size_t kBuffer = size_t(4) << 20;
    std::unique_ptr<char[]> buffer;
    bool kernel = true;
    qint64 done = 0;
    while (length < 0 || done < length) {
        const qint64 want = length < 0 ? kKernelChunk : std::min(kKernelChunk, length - done);
        ssize_t n = 0;
        if (kernel) {
            loff_t ri = inOffset + done;
            loff_t wo = outOffset + done;
            n = ::copy_file_range(in.get(), &ri, out, &wo, size_t(want), 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && isWriteSideError(errno))
                throw ESplitMergeError(writeError(outPath, errno));
            if (n <= 0) {
                // Not supported here, or the end: the plain path tells them apart and names the failing side.
                kernel = false;
                continue;
            }
        } else {
            if (!buffer)
                buffer.reset(new char[kBuffer]);
            n = ::pread(in.get(), buffer.get(), size_t(std::min<qint64>(want, qint64(kBuffer))), inOffset + done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                throw ESplitMergeError(readError(in.path(), errno));
            if (n == 0)
                break;
            for (ssize_t w = 0; w < n;) {
                const ssize_t m = ::pwrite(out, buffer.get() + w, size_t(n - w), outOffset + done + w);
                if (m < 0 && errno == EINTR)
                    continue;
                if (m <= 0)
                    throw ESplitMergeError(writeError(outPath, m < 0 ? errno : ENOSPC));
                w += m;
            }
            // Later blocks may go through the kernel again.
            kernel = n == ssize_t(kBuffer);
        }
        done += n;
        if (progress)
            progress(done);
    }
    return done;
}

} // namespace splitmerge::io
