#include "tools/compare/engine/LineSource.h"
#include "platform/posix/FileIO.h"
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace fc {

namespace {
constexpr qint64 kBlock = 1 << 20;
// Line indices are 32-bit; a file with more lines is refused rather than wrapped.
constexpr qint64 kMaxLines = std::numeric_limits<qint32>::max() / 2;
} // namespace

// 64-bit multiply-mix hash, eight bytes per step.
quint64 hashBytes(const char* p, qint64 n)
{
    constexpr quint64 m = 0xc6a4a7935bd1e995ULL;
    constexpr int r = 47;
    quint64 h = 0x8445d61a4e774912ULL ^ (quint64(n) * m);
    while (n >= 8) {
        quint64 k;
        std::memcpy(&k, p, 8);
        k *= m;
        k ^= k >> r;
        k *= m;
        h ^= k;
        h *= m;
        p += 8;
        n -= 8;
    }
    if (n > 0) {
        quint64 k = 0;
        std::memcpy(&k, p, size_t(n));
        h ^= k;
        h *= m;
    }
    h ^= h >> r;
    h *= m;
    h ^= h >> r;
    return h ? h : 1;   // 0 stands for "not worked out yet"
}

LineSource::LineSource(const QString& path) : m_path(path)
{
    // Only a regular file: a FIFO would wait for a writer, a device such as /dev/zero might never end.
    plat::posix::SysError error;
    plat::posix::Fd fd = plat::posix::openRegularFile(path, &m_fileSize, &error);
    if (!fd.valid()) {
        const QString why = error.code == EINVAL ? QStringLiteral("not a regular file")
                                                 : plat::posix::errnoText(error.code);
        throw EFileCompareError(m_path + QLatin1Char('\n') + why);
    }
    if (!m_file.open(fd.get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        fail();
    fd.release();
}

void LineSource::fail()
{
    throw EFileCompareError(m_path + QLatin1Char('\n') + m_file.errorString());
}

bool LineSource::next(qint32& index)
{
    while (m_next >= m_lineCount) {
        if (m_eof)
            return false;
        fill();
    }
    index = m_next++;
    return true;
}

bool LineSource::atEnd()
{
    while (m_next >= m_lineCount) {
        if (m_eof)
            return true;
        fill();
    }
    return false;
}

void LineSource::push(const char* begin, const char* end, bool brokenByLf)
{
    if (m_lineCount >= kMaxLines)
        throw EFileCompareError(m_path + QStringLiteral("\ntoo many lines"));
    if (brokenByLf && end > begin && end[-1] == '\r')
        --end;
    const size_t chunk = size_t(m_lineCount >> kChunkBits);
    if (chunk == m_chunks.size())
        m_chunks.push_back(std::make_unique_for_overwrite<const char*[]>(size_t(kChunkLines)));
    m_chunks[chunk][size_t(m_lineCount & (kChunkLines - 1))] = begin;
    m_sizeKept.push_back(false);
    m_lastSize = end - begin;
    ++m_lineCount;
}

// The last line read is followed by none in its block: its size is kept aside.
void LineSource::keepLastSize()
{
    if (m_lineCount == 0 || m_sizeKept.back())
        return;
    m_sizeKept.back() = true;
    m_keptSizes.emplace_back(qint32(m_lineCount - 1), m_lastSize);
}

qint64 LineSource::keptSize(qint32 index) const
{
    const auto it = std::lower_bound(m_keptSizes.begin(), m_keptSizes.end(), std::make_pair(index, qint64(0)));
    return it->second;
}

qint64 LineSource::estimatedLines() const
{
    if (m_bytesRead <= 0)
        return 0;
    return std::max(m_lineCount, qint64(double(m_lineCount) * double(m_fileSize) / double(m_bytesRead)));
}

std::vector<LineSource::Range> LineSource::nonAsciiRanges() const
{
    std::vector<Range> ranges;
    for (size_t b = 0; b < m_blocks.size(); ++b) {
        if (!m_blocks[b].nonAscii)
            continue;
        const qint32 end = b + 1 < m_blocks.size() ? m_blocks[b + 1].firstLine : qint32(m_lineCount);
        if (!ranges.empty() && ranges.back().end == m_blocks[b].firstLine)
            ranges.back().end = end;
        else
            ranges.push_back({m_blocks[b].firstLine, end});
    }
    return ranges;
}

void LineSource::fill()
{
    if (m_used == m_blockSize) {
        // Start a new block and carry the unfinished line over, so a line never spans two blocks.
        const qint64 partial = m_used - m_lineStart;
        const qint64 size = std::max(kBlock, partial * 2);
        auto block = std::make_unique_for_overwrite<char[]>(size_t(size));
        if (partial > 0)
            std::memcpy(block.get(), m_block + m_lineStart, size_t(partial));
        const bool carriedNonAscii = partial > 0 && m_blocks.back().nonAscii;
        keepLastSize();   // the next line starts in the new block
        if (m_lineStart == 0 && !m_blocks.empty())
            m_blocks.pop_back();   // the old block held nothing but the unfinished line
        m_block = block.get();
        m_blocks.push_back({std::move(block), qint32(m_lineCount), carriedNonAscii});
        m_blockSize = size;
        m_used = partial;
        m_lineStart = 0;
    }
    const qint64 got = m_file.read(m_block + m_used, m_blockSize - m_used);
    if (got < 0)
        fail();
    m_bytesRead += std::max<qint64>(got, 0);
    if (got == 0) {
        if (m_used > m_lineStart)
            push(m_block + m_lineStart, m_block + m_used, false);   // last line without a break
        m_lineStart = m_used;
        m_eof = true;
        m_file.close();
        return;
    }
    // One pass over the new bytes: the line breaks, and whether any byte is outside ASCII.
    const char* p = m_block + m_used;
    const char* const end = p + got;
    const auto lineBreak = [&](const char* at) {
        push(m_block + m_lineStart, at, true);
        m_lineStart = at + 1 - m_block;
    };
    bool nonAscii = false;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    __m128i any = _mm_setzero_si128();
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        any = _mm_or_si128(any, v);
        for (unsigned bits = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf))); bits; bits &= bits - 1)
            lineBreak(p + __builtin_ctz(bits));
    }
    nonAscii = _mm_movemask_epi8(any) != 0;
#endif
    for (; p < end; ++p) {
        nonAscii = nonAscii || static_cast<unsigned char>(*p) >= 0x80;
        if (*p == '\n')
            lineBreak(p);
    }
    if (nonAscii)
        m_blocks.back().nonAscii = true;
    m_used += got;
}

} // namespace fc
