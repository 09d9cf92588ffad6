#include "tools/search/engine/ContentSearch.h"
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace search {
namespace {

// Closes a descriptor on every path.
struct Fd {
    int fd;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

ContentMatcher::ContentMatcher(const QByteArray& text, bool ignoreCase, size_t blockSize)
    : m_text(text), m_ignoreCase(ignoreCase), m_block(blockSize < 1 ? 1 : blockSize)
{
    for (int c = 0; c < 256; ++c)
        m_fold[c] = (ignoreCase && c >= 'A' && c <= 'Z') ? (unsigned char)(c + 32) : (unsigned char)c;
    for (char& c : m_text) {
        const unsigned char f = m_fold[(unsigned char)c];
        m_folded = m_folded || (ignoreCase && f >= 'a' && f <= 'z');
        c = char(f);
    }
    // Horspool shifts for the folded comparison; a letter and its other case share one shift.
    const size_t m = size_t(m_text.size());
    m_skip.fill(m ? m : 1);
    for (size_t i = 0; i + 1 < m; ++i) {
        const unsigned char c = (unsigned char)m_text[qsizetype(i)];
        m_skip[c] = m - 1 - i;
        if (m_folded && c >= 'a' && c <= 'z')
            m_skip[c - 32] = m - 1 - i;
    }
}

const char* ContentMatcher::find(const char* data, size_t size) const
{
    const size_t m = size_t(m_text.size());
    if (m == 0)
        return data;
    if (size < m)
        return nullptr;
    if (!m_folded)
        return static_cast<const char*>(::memmem(data, size, m_text.constData(), m));
    const auto* hay = reinterpret_cast<const unsigned char*>(data);
    const auto* needle = reinterpret_cast<const unsigned char*>(m_text.constData());
    const size_t last = m - 1;
    const unsigned char lastByte = needle[last];
    for (size_t i = 0; i + m <= size;) {
        const unsigned char c = hay[i + last];
        if (m_fold[c] == lastByte) {
            size_t k = 0;
            while (k < last && m_fold[hay[i + k]] == needle[k])
                ++k;
            if (k == last)
                return data + i;
        }
        i += m_skip[c];
    }
    return nullptr;
}

bool ContentMatcher::fileContains(const char* path, const std::function<bool()>& stopped)
{
    // O_NONBLOCK: opening a FIFO that appeared after the entry was read must not wait for a writer.
    Fd f{::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
    if (f.fd < 0)
        return false;
    struct stat st;
    if (::fstat(f.fd, &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    const size_t m = size_t(m_text.size());
    if (m == 0)
        return true;
    const size_t keep = m - 1;
    if (m_buffer.size() < keep + m_block)
        m_buffer.resize(keep + m_block);
    char* buf = m_buffer.data();
    size_t carry = 0;
    for (;;) {
        if (stopped && stopped())
            return false;
        const ssize_t got = ::read(f.fd, buf + carry, m_block);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;   // a read error ends the reading with nothing found
        }
        if (got == 0)
            return false;
        const size_t filled = carry + size_t(got);
        if (find(buf, filled))
            return true;
        carry = filled < keep ? filled : keep;
        std::memmove(buf, buf + filled - carry, carry);
    }
}

} // namespace search
