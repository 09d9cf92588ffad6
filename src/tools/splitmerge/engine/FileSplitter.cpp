#include "tools/splitmerge/engine/FileSplitter.h"
#include "tools/splitmerge/engine/SplitFields.h"
#include "tools/splitmerge/engine/SplitMergeError.h"
#include "platform/posix/FileId.h"
#include <QFileInfo>

namespace splitmerge {

// --- FileSplitter ---

void FileSplitter::Open(const QString& path, bool writable)
{
    Close();
    m_fd = writable ? io::openReadWrite(path) : io::openRead(path);
    m_writable = writable;
    m_position = 0;
}

void FileSplitter::Close()
{
    m_fd = io::Fd();
    m_position = 0;
}

qint64 FileSplitter::Size() const
{
    if (!m_fd.valid())
        return 0;
    try {
        return m_fd.size();
    } catch (const ESplitMergeError&) {
        return 0;
    }
}

void FileSplitter::SetPosition(qint64 position)
{
    m_position = (position < 0 || position >= Size()) ? 0 : position;
}

bool FileSplitter::askReplace(const QString& path)
{
    return OnReplace && OnReplace(this, path);
}

io::Progress FileSplitter::progressFor(qint64 before, qint64 total)
{
    if (!OnProgress)
        return {};
    return [this, before, total](qint64 done) { OnProgress(this, before + done, total); };
}

void FileSplitter::refuseIfOpened(const QString& path, const QString& text) const
{
    const auto opened = plat::posix::fileId(m_fd.get());
    const auto other = plat::posix::fileId(path);
    if (opened && other && *opened == *other)
        throw ESplitMergeError(text + path);
}

FileSplitter::Outcome FileSplitter::Split(const QString& base, qint64 pieceSize)
{
    if (!IsOpen())
        throw ESplitMergeError(QStringLiteral("没有打开的文件。"));
    if (pieceSize <= 0)
        throw ESplitMergeError(QStringLiteral("分割大小必须大于0。"));
    const qint64 size = m_fd.size();
    if (size == 0)
        throw ESplitMergeError(QStringLiteral("文件为空,不能分割。"));
    const qint64 start = m_position < size ? m_position : 0;
    const qint64 total = size - start;
    const qint64 pieces = piecesFor(total, pieceSize);
    for (qint64 k = 1; k <= pieces; ++k)
        refuseIfOpened(pieceName(base, k), QStringLiteral("分割出的文件不能是正在分割的文件: "));

    qint64 pos = start;
    for (qint64 k = 1; k <= pieces; ++k) {
        const QString name = pieceName(base, k);
        if (io::isDirectory(name))
            throw ESplitMergeError(io::createError(name, EISDIR));
        if (io::exists(name)) {
            if (io::isReadOnly(name))
                throw ESplitMergeError(io::readOnlyError(name));
            if (!askReplace(name))
                return Outcome::Stopped;
        }
        const qint64 n = qMin(pieceSize, size - pos);
        io::OutputFile out(name);
        if (io::copyInto(m_fd, pos, out, 0, n, progressFor(pos - start, total)) != n)
            throw ESplitMergeError(io::readError(FileName(), EIO));   // the file became shorter meanwhile
        out.commit();
        pos += n;
    }
    m_position = pos < size ? pos : 0;
    return Outcome::Completed;
}

QString FileSplitter::BackupName(const QString& path)
{
    const QFileInfo info(path);
    return info.absolutePath() + u'/' + QStringLiteral("备份") + info.fileName();
}

bool FileSplitter::Insert(const QString& source, qint64 position, const QString& backup)
{
    if (!IsOpen())
        throw ESplitMergeError(QStringLiteral("没有打开的文件。"));
    if (!m_writable)
        throw ESplitMergeError(io::openError(FileName(), EBADF));
    if (!io::exists(source))
        throw ESplitMergeError(io::missingError(source));
    refuseIfOpened(source, QStringLiteral("不能将打开的文件接入它自己: "));
    if (!backup.isEmpty()) {
        refuseIfOpened(backup, QStringLiteral("备份文件不能是打开的文件: "));
        if (plat::posix::sameFile(backup, source))
            throw ESplitMergeError(QStringLiteral("备份文件不能是要接入的文件: ") + backup);
        if (io::isReadOnly(backup))
            throw ESplitMergeError(io::readOnlyError(backup));
    }
    io::Fd in = io::openRead(source);
    const qint64 length = in.size();

    if (!backup.isEmpty()) {
        if (io::isDirectory(backup))
            throw ESplitMergeError(io::createError(backup, EISDIR));
        if (io::exists(backup) && !askReplace(backup))
            return false;
        const qint64 size = m_fd.size();
        io::OutputFile out(backup);
        if (io::copyInto(m_fd, 0, out, 0, size, progressFor(0, size + length)) != size)
            throw ESplitMergeError(io::readError(FileName(), EIO));
        out.commit();
    }

    const qint64 size = m_fd.size();
    const qint64 at = qBound<qint64>(0, position, size);
    const qint64 before = backup.isEmpty() ? 0 : size;
    io::copyRange(in, 0, m_fd.get(), FileName(), at, -1, progressFor(before, before + length));
    in.close();
    // The opened file was written: its close is checked too, and it ends the insertion.
    m_position = 0;
    m_fd.close();
    return true;
}

// --- PieceMerger ---

int PieceMerger::CountPieces() const
{
    int k = 0;
    while (io::exists(pieceName(m_base, k + 1)))
        ++k;
    return k;
}

void PieceMerger::Check(const QString& alsoReading) const
{
    const int pieces = CountPieces();
    if (pieces == 0)
        throw ESplitMergeError(io::missingError(pieceName(m_base, 1)));
    const auto out = plat::posix::fileId(m_output);
    if (!out)
        return;
    for (int k = 1; k <= pieces; ++k) {
        if (plat::posix::fileId(pieceName(m_base, k)) == out)
            throw ESplitMergeError(QStringLiteral("合并后的文件不能是要合并的文件: ") + m_output);
    }
    if (!alsoReading.isEmpty() && plat::posix::fileId(alsoReading) == out)
        throw ESplitMergeError(QStringLiteral("合并后的文件不能是打开的文件: ") + m_output);
    if (io::isDirectory(m_output))
        throw ESplitMergeError(io::createError(m_output, EISDIR));
    if (io::isReadOnly(m_output))
        throw ESplitMergeError(io::readOnlyError(m_output));
}

int PieceMerger::Execute(const QString& alsoReading)
{
    Check(alsoReading);
    const auto outId = plat::posix::fileId(m_output);
    io::OutputFile out(m_output);
    qint64 written = 0;
    int k = 1;
    for (;; ++k) {
        const QString name = pieceName(m_base, k);
        if (!io::exists(name))
            break;
        // A piece that appeared as the output after the check ends the set, as a gap does.
        if (outId && plat::posix::fileId(name) == outId)
            break;
        io::Fd in = io::openRead(name);
        io::Progress progress;
        if (OnProgress)
            progress = [this, written](qint64 done) { OnProgress(this, written + done); };
        written += io::copyRange(in, 0, out.fd(), out.target(), written, -1, progress);
        in.close();
    }
    out.commit();
    return k - 1;
}

bool mergeAvailable(const QString& openedPath)
{
    const QString base = mergeBase(openedPath);
    return !base.isEmpty() && io::exists(pieceName(base, 1)) && io::exists(pieceName(base, 2));
}

} // namespace splitmerge
