#include "tools/splitmerge/engine/SplitMergeFiles.h"
#include "platform/posix/FileOps.h"
#include "tools/splitmerge/engine/SplitMergeError.h"
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>

namespace splitmerge::io {

using namespace plat::posix;

namespace {

QString reason(int err)
{
    return QStringLiteral("\n") + errnoText(err);
}

Fd openChecked(const QString& path, int flags)
{
    // Non-blocking, so that a FIFO does not hang the open; only files and block devices are read.
    plat::posix::Fd fd = openPath(path, flags | O_NONBLOCK);
    if (!fd.valid())
        throw ESplitMergeError(errno == ENOENT ? missingError(path) : openError(path, errno));
    struct stat st;
    if (const int e = statFd(fd.get(), st))
        throw ESplitMergeError(openError(path, e));
    if (S_ISDIR(st.st_mode))
        throw ESplitMergeError(openError(path, EISDIR));
    if (!S_ISREG(st.st_mode) && !S_ISBLK(st.st_mode))
        throw ESplitMergeError(openError(path, EINVAL));
    if (const int e = setBlocking(fd.get()))
        throw ESplitMergeError(openError(path, e));
    return Fd(std::move(fd), path);
}

qint64 copyChecked(const Fd& in, int out, const QString& outPath, const CopySpan& span, const Progress& progress)
{
    ChunkHook hook;
    if (progress)
        hook = [&](qint64, qint64 offset) {
            progress(offset - span.inOffset);
            return 0;
        };
    const CopyOutcome r = plat::posix::copyRange(in.get(), out, span, hook);
    if (r.error)
        throw ESplitMergeError(r.writeSide ? writeError(outPath, r.error) : readError(in.path(), r.error));
    return r.copied;
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

bool exists(const QString& path)
{
    struct stat st;
    return statPath(path, st) == 0 && !S_ISDIR(st.st_mode);
}

bool isDirectory(const QString& path)
{
    struct stat st;
    return statPath(path, st) == 0 && S_ISDIR(st.st_mode);
}

bool isReadOnly(const QString& path)
{
    struct stat st;
    return statPath(path, st) == 0 && !(st.st_mode & S_IWUSR);
}

// --- Fd ---

qint64 Fd::size() const
{
    qint64 size = 0;
    if (const int e = sizeOf(m_fd.get(), size))
        throw ESplitMergeError(readError(m_path, e));
    return size;
}

void Fd::close()
{
    if (const int e = m_fd.close())
        throw ESplitMergeError(writeError(m_path, e));
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
    const bool existed = statPath(m_target, st) == 0;
    if (existed && S_ISDIR(st.st_mode))
        throw ESplitMergeError(createError(m_target, EISDIR));
    if (existed && !(st.st_mode & S_IWUSR))
        throw ESplitMergeError(readOnlyError(m_target));

    const QString folder = QFileInfo(m_target).absolutePath() + u'/';
    for (int attempt = 0;; ++attempt) {
        const QString temp = folder + QStringLiteral(".orvo-") +
                             QString::number(QRandomGenerator::global()->generate64(), 36) + QStringLiteral(".part");
        plat::posix::Fd fd = openPath(temp, O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd.valid()) {
            m_temp = temp;
            m_fd = Fd(std::move(fd), m_target);
            break;
        }
        if (errno != EEXIST || attempt > 100)
            throw ESplitMergeError(createError(m_target, errno));
    }
    // A replaced file keeps its permission bits.
    if (existed)
        (void)setMode(m_fd.get(), st.st_mode & 07777);
}

OutputFile::~OutputFile()
{
    if (!m_committed && !m_temp.isEmpty()) {
        m_fd = Fd();
        removeFile(m_temp);
    }
}

void OutputFile::commit()
{
    m_fd.close();
    if (const int e = renamePath(m_temp, m_target))
        throw ESplitMergeError(writeError(m_target, e));
    m_committed = true;
}

// --- copy ---

qint64 copyRange(const Fd& in, qint64 inOffset, int out, const QString& outPath, qint64 outOffset, qint64 length,
                 const Progress& progress)
{
    CopySpan span;
    span.inOffset = inOffset;
    span.outOffset = outOffset;
    span.length = length;
    return copyChecked(in, out, outPath, span, progress);
}

qint64 copyInto(const Fd& in, qint64 inOffset, const OutputFile& out, qint64 outOffset, qint64 length,
                const Progress& progress)
{
    CopySpan span;
    span.inOffset = inOffset;
    span.outOffset = outOffset;
    span.length = length;
    span.keepHoles = length >= 0;
    return copyChecked(in, out.fd(), out.target(), span, progress);
}

} // namespace splitmerge::io
