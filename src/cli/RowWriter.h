#pragma once
#include "cli/Commands.h"
#include <QByteArrayView>
#include <QStringEncoder>
#include <QStringView>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace cli {

// Buffered UTF-8 output of text rows to standard output.
//
// With `escapeRows`, a row whose cells hold a TAB, a line break or a carriage return, or which starts with
// a backslash, is written as digest lists write such names: a backslash first, then the row with "\\",
// "\t", "\n" and "\r" in place of those characters inside its cells. Every other row is written as it is,
// so the row structure (TAB between cells, LF after each row) always holds.
class RowWriter {
public:
    explicit RowWriter(bool escapeRows = false) : m_escapeRows(escapeRows) { m_buf.reserve(kFlushAt + 4096); }
    ~RowWriter() { flush(); }

    void bytes(QByteArrayView b)
    {
        const size_t at = m_buf.size();
        m_buf.append(b.data(), size_t(b.size()));
        noteCell(at);
    }
    void text(QStringView s)
    {
        const size_t at = m_buf.size();
        m_buf.resize(at + size_t(s.size()) * 3);
        char* end = m_encoder.appendToBuffer(m_buf.data() + at, s);
        m_buf.resize(size_t(end - m_buf.data()));
        noteCell(at);
    }
    void ch(char c) { m_buf.push_back(c); }
    void endRow()
    {
        if (m_rowNeedsEscape)
            escapeRow();
        m_cells.clear();
        m_rowNeedsEscape = false;
        m_buf.push_back('\n');
        m_rowStart = m_buf.size();
        if (m_buf.size() >= kFlushAt)
            flush();
    }
    void flush()
    {
        if (m_rowStart > 0)
            writeOut(m_buf.data(), m_rowStart);
        m_buf.erase(0, m_rowStart);
        for (auto& cell : m_cells)
            cell.first -= m_rowStart;
        m_rowStart = 0;
    }

private:
    static constexpr size_t kFlushAt = 1 << 16;

    void noteCell(size_t at)
    {
        if (!m_escapeRows || at == m_buf.size())
            return;
        m_cells.push_back({at, m_buf.size()});
        if ((at == m_rowStart && m_buf[at] == '\\') ||
            m_buf.find_first_of("\t\n\r", at) != std::string::npos)
            m_rowNeedsEscape = true;
    }

    void escapeRow()
    {
        std::string row = "\\";
        size_t pos = m_rowStart;
        for (const auto& [from, to] : m_cells) {
            row.append(m_buf, pos, from - pos);
            for (size_t i = from; i < to; ++i) {
                switch (m_buf[i]) {
                case '\\': row += "\\\\"; break;
                case '\t': row += "\\t"; break;
                case '\n': row += "\\n"; break;
                case '\r': row += "\\r"; break;
                default: row += m_buf[i];
                }
            }
            pos = to;
        }
        row.append(m_buf, pos, std::string::npos);
        m_buf.resize(m_rowStart);
        m_buf += row;
    }

    std::string m_buf;
    size_t m_rowStart = 0;                            // where the unfinished row begins in m_buf
    std::vector<std::pair<size_t, size_t>> m_cells;   // cell text of the unfinished row: [from, to)
    bool m_escapeRows;
    bool m_rowNeedsEscape = false;
    QStringEncoder m_encoder{QStringEncoder::Utf8};
};

} // namespace cli
