#pragma once
#include <QByteArrayView>
#include <QStringEncoder>
#include <QStringView>
#include <cstdio>
#include <string>

namespace cli {

// Buffered UTF-8 output of text rows to standard output.
class RowWriter {
public:
    RowWriter() { m_buf.reserve(kFlushAt + 4096); }
    ~RowWriter() { flush(); }

    void bytes(QByteArrayView b) { m_buf.append(b.data(), size_t(b.size())); }
    void text(QStringView s)
    {
        const size_t at = m_buf.size();
        m_buf.resize(at + size_t(s.size()) * 3);
        char* end = m_encoder.appendToBuffer(m_buf.data() + at, s);
        m_buf.resize(size_t(end - m_buf.data()));
    }
    void ch(char c) { m_buf.push_back(c); }
    void endRow()
    {
        m_buf.push_back('\n');
        if (m_buf.size() >= kFlushAt)
            flush();
    }
    void flush()
    {
        if (!m_buf.empty())
            std::fwrite(m_buf.data(), 1, m_buf.size(), stdout);
        m_buf.clear();
    }

private:
    static constexpr size_t kFlushAt = 1 << 16;
    std::string m_buf;
    QStringEncoder m_encoder{QStringEncoder::Utf8};
};

} // namespace cli
