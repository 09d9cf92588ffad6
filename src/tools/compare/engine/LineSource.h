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

// One line of a compared file: its bytes (the line break excluded) and their hash.
struct Line {
    const char* data;
    qint64 size;
    quint64 hash;
};

inline bool sameLine(const Line& a, const Line& b)
{
    return a.hash == b.hash && a.size == b.size && (a.size == 0 || std::memcmp(a.data, b.data, size_t(a.size)) == 0);
}

quint64 hashBytes(const char* p, qint64 n);

// Reads a file in blocks and hands out its lines one at a time. A line ends at LF; a CR right before
// the LF belongs to the break. The bytes stay in memory for the life of the source.
class LineSource {
public:
    explicit LineSource(const QString& path);   // throws EFileCompareError
    LineSource(const LineSource&) = delete;
    LineSource& operator=(const LineSource&) = delete;

    // Hands out the next line's index; false at the end of the file.
    bool next(qint32& index);
    // True when no line is left to hand out.
    bool atEnd();
    const Line& line(qint32 index) const { return m_lines[size_t(index)]; }
    qint32 handedOut() const { return m_next; }
    // Closes the file; the lines read so far stay.
    void close() { m_file.close(); }

private:
    void fill();
    void push(const char* begin, const char* end, bool brokenByLf);
    [[noreturn]] void fail();

    QString m_path;
    QFile m_file;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_block = nullptr;
    qint64 m_blockSize = 0;
    qint64 m_used = 0;        // bytes of the current block filled
    qint64 m_lineStart = 0;   // start of the unfinished line in the current block
    std::vector<Line> m_lines;
    qint32 m_next = 0;
    bool m_eof = false;
};

} // namespace fc
