#pragma once
#include "platform/Errors.h"
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

// Raised when a compared file cannot be opened or read.
class EFileCompareError : public EOrvoError {
public:
    using EOrvoError::EOrvoError;
};

namespace fc {

// One line of a compared file: its bytes, the line break excluded.
struct Line {
    const char* data;
    qint64 size;
};

inline bool sameLine(const Line& a, const Line& b)
{
    return a.size == b.size && (a.size == 0 || std::memcmp(a.data, b.data, size_t(a.size)) == 0);
}

// A hash of the bytes that is never 0.
quint64 hashBytes(const char* p, qint64 n);

// Reads a file in blocks and hands out its lines one at a time. A line ends at LF; a CR right before
// the LF belongs to the break. The bytes stay in memory for the life of the source.
class LineSource {
public:
    // Lines [first, end) of the blocks that hold bytes outside ASCII (other blocks are plain ASCII).
    struct Range {
        qint32 first, end;
    };

    explicit LineSource(const QString& path);   // throws EFileCompareError
    LineSource(const LineSource&) = delete;
    LineSource& operator=(const LineSource&) = delete;

    // Hands out the next line's index; false at the end of the file.
    bool next(qint32& index);
    // True when no line is left to hand out.
    bool atEnd();
    Line line(qint32 index) const
    {
        const char* data = start(index);
        if (index + 1 == m_lineCount)
            return {data, m_lastSize};
        if (m_sizeKept[size_t(index)])
            return {data, keptSize(index)};
        // The next line follows this one's break (LF, or CR LF) in the same block.
        qint64 size = start(index + 1) - data - 1;
        if (size > 0 && data[size - 1] == '\r')
            --size;
        return {data, size};
    }
    // The line's hash, worked out on first use: runs of equal lines are compared byte-wise and never need it.
    quint64 hash(qint32 index)
    {
        const size_t page = size_t(index) >> kHashPageBits;
        if (page >= m_hashPages.size())
            m_hashPages.resize(page + 1);
        auto& hashes = m_hashPages[page];
        if (!hashes)
            hashes = std::make_unique<quint64[]>(size_t(1) << kHashPageBits);   // zero: none worked out yet
        quint64& h = hashes[size_t(index) & ((size_t(1) << kHashPageBits) - 1)];
        if (h == 0) {
            const Line l = line(index);
            h = hashBytes(l.data, l.size);
        }
        return h;
    }
    qint32 handedOut() const { return m_next; }
    // The number of lines the whole file holds, judged from the lines read so far (0 before any).
    qint64 estimatedLines() const;
    // The line ranges of the blocks read so far that hold a byte >= 0x80.
    std::vector<Range> nonAsciiRanges() const;
    // Closes the file; the lines read so far stay.
    void close() { m_file.close(); }

private:
    // A line is kept as where it starts, in chunks of a fixed size: no copying as they grow. Its size
    // follows from where the next line starts, except for the last line of a block, whose size is kept
    // aside. Hashes are kept in small pages, only where one was asked for.
    static constexpr int kChunkBits = 16;
    static constexpr int kHashPageBits = 12;
    static constexpr qint64 kChunkLines = qint64(1) << kChunkBits;

    const char* start(qint32 index) const
    {
        return m_chunks[size_t(index) >> kChunkBits][size_t(index) & (kChunkLines - 1)];
    }
    struct Block {
        std::unique_ptr<char[]> bytes;
        qint32 firstLine;     // index of the first line that starts in it
        bool nonAscii;        // a byte >= 0x80 was read into it
    };

    void fill();
    void push(const char* begin, const char* end, bool brokenByLf);
    qint64 keptSize(qint32 index) const;
    void keepLastSize();
    [[noreturn]] void fail();

    QString m_path;
    QFile m_file;
    std::vector<Block> m_blocks;
    char* m_block = nullptr;
    qint64 m_blockSize = 0;
    qint64 m_used = 0;        // bytes of the current block filled
    qint64 m_lineStart = 0;   // start of the unfinished line in the current block
    std::vector<std::unique_ptr<const char*[]>> m_chunks;
    qint64 m_lastSize = 0;                                // of the last line read
    std::vector<bool> m_sizeKept;                         // per line: its size is in m_keptSizes
    std::vector<std::pair<qint32, qint64>> m_keptSizes;   // by line index
    std::vector<std::unique_ptr<quint64[]>> m_hashPages;
    qint64 m_fileSize = 0;    // when opened
    qint64 m_bytesRead = 0;
    qint64 m_lineCount = 0;
    qint32 m_next = 0;
    bool m_eof = false;
};

} // namespace fc
