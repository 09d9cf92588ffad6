#include "platform/posix/DataCopy.h"
#include "platform/posix/Faults.h"
#include "platform/posix/FileId.h"
#include <algorithm>
#include <cerrno>
#include <limits>
#include <memory>
#include <sys/sendfile.h>
#include <unistd.h>

namespace plat::posix {

namespace {

constexpr qint64 kChunk = qint64(16) << 20;     // copy_file_range / sendfile step; the hook runs between
constexpr qint64 kBuffer = qint64(1) << 20;     // pread/pwrite step

// Errors that mean "not this way here" rather than a failure of either file.
bool refusedByCopyRange(int e)
{
    return e == EXDEV || e == EINVAL || e == ENOSYS || e == EOPNOTSUPP || e == EBADF || e == EPERM;
}

bool refusedBySendFile(int e)
{
    return e == EINVAL || e == ENOSYS || e == EOPNOTSUPP;
}

class Copier {
public:
    Copier(int in, int out, qint64 delta) : m_in(in), m_out(out), m_delta(delta) {}

    // Copies up to `len` bytes at input offset `at`: the bytes copied (0 at the input's end) or -1 with
    // error()/writeSide() set.
    qint64 chunk(qint64 at, qint64 len)
    {
        if (const int e = faults::checkFd(faults::Op::Write, m_out))
            return failed(e, true);
        for (;;) {
            if (m_mode == CopyFileRange) {
                loff_t inOff = at;
                loff_t outOff = at + m_delta;
                const ssize_t n = ::copy_file_range(m_in, &inOff, m_out, &outOff, size_t(len), 0);
                if (n > 0)
                    return n;
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0 && refusedByCopyRange(errno)) {
                    m_mode = SendFile;
                    continue;
                }
                // The input's end, or a failure: the plain calls tell them apart and name the failing side.
                return plain(at, len);
            }
            if (m_mode == SendFile) {
                if (::lseek(m_out, at + m_delta, SEEK_SET) < 0)
                    return failed(errno, true);
                off_t inOff = at;
                const ssize_t n = ::sendfile(m_out, m_in, &inOff, size_t(len));
                if (n > 0)
                    return n;
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0 && refusedBySendFile(errno)) {
                    m_mode = ReadWrite;
                    continue;
                }
                return plain(at, len);
            }
            return plain(at, len);
        }
    }

    int error() const { return m_error; }
    bool writeSide() const { return m_writeSide; }

private:
    enum Mode { CopyFileRange, SendFile, ReadWrite };

    qint64 failed(int e, bool writeSide)
    {
        m_error = e;
        m_writeSide = writeSide;
        return -1;
    }

    qint64 plain(qint64 at, qint64 len)
    {
        if (!m_buffer)
            m_buffer.reset(new char[kBuffer]);
        ssize_t n;
        do
            n = ::pread(m_in, m_buffer.get(), size_t(std::min(len, kBuffer)), at);
        while (n < 0 && errno == EINTR);
        if (n < 0)
            return failed(errno, false);
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::pwrite(m_out, m_buffer.get() + done, size_t(n - done), at + m_delta + done);
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                return failed(w < 0 ? errno : ENOSPC, true);
            done += w;
        }
        return n;
    }

    int m_in;
    int m_out;
    qint64 m_delta;     // output offset minus input offset
    Mode m_mode = CopyFileRange;
    std::unique_ptr<char[]> m_buffer;
    int m_error = 0;
    bool m_writeSide = false;
};

} // namespace

CopyOutcome copyRange(int in, int out, const CopySpan& span, const ChunkHook& hook)
{
    CopyOutcome result;
    const bool keepHoles = span.keepHoles && span.length >= 0;
    const qint64 start = span.inOffset;
    qint64 end = span.length < 0 ? std::numeric_limits<qint64>::max() : start + span.length;
    Copier copier(in, out, span.outOffset - span.inOffset);
    bool holesKnown = keepHoles;
    qint64 pos = start;
    const auto fail = [&](int e, bool writeSide) {
        result.copied = pos - start;
        result.error = e;
        result.writeSide = writeSide;
        return result;
    };
    while (pos < end) {
        qint64 dataStart = pos;
        qint64 dataEnd = end;
        if (holesKnown) {
            const off_t d = ::lseek(in, pos, SEEK_DATA);
            if (d < 0) {
                if (errno == ENXIO) {
                    pos = end;      // the rest is one hole
                    break;
                }
                holesKnown = false;
            } else {
                dataStart = std::min<qint64>(d, end);
                const off_t h = ::lseek(in, d, SEEK_HOLE);
                dataEnd = h < 0 ? end : std::min<qint64>(h, end);
            }
        }
        while (dataStart < dataEnd) {
            const qint64 n = copier.chunk(dataStart, std::min(kChunk, dataEnd - dataStart));
            if (n < 0) {
                pos = dataStart;
                return fail(copier.error(), copier.writeSide());
            }
            if (n == 0) {       // the input ended (or got shorter while we copied)
                end = dataStart;
                dataEnd = dataStart;
                break;
            }
            dataStart += n;
            if (hook) {
                if (const int e = hook(n, dataStart)) {
                    pos = dataStart;
                    return fail(e, false);
                }
            }
        }
        pos = std::max(pos, dataEnd);
    }
    pos = std::min(pos, end);
    result.copied = pos - start;
    if (keepHoles && ::ftruncate(out, span.outOffset + result.copied) != 0)
        return fail(errno, true);
    return result;
}

int copyData(int in, int out, qint64 size, const ChunkHook& hook)
{
    CopySpan span;
    span.length = size;
    span.keepHoles = true;
    return copyRange(in, out, span, hook).error;
}

mode_t copyModeFor(const struct stat& source)
{
    const Owner owner = processOwner();
    mode_t m = source.st_mode & 07777;
    if (source.st_uid != owner.uid)
        m &= ~mode_t(S_ISUID);
    if (source.st_gid != owner.gid)
        m &= ~mode_t(S_ISGID);
    return m;
}

int setMode(int fd, mode_t mode)
{
    return ::fchmod(fd, mode) == 0 ? 0 : errno;
}

int setModeAndTimes(int fd, mode_t mode, const struct stat& times)
{
    if (const int e = setMode(fd, mode))
        return e;
    const timespec t[2] = {times.st_atim, times.st_mtim};
    return ::futimens(fd, t) == 0 ? 0 : errno;
}

} // namespace plat::posix
