#include "tools/search/engine/NameMask.h"
#include "platform/Mask.h"
#include "platform/posix/PathCodec.h"

namespace search {
namespace {

inline char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

// The platform matcher's algorithm on bytes: '*' any run, '?' one character, else equal after folding;
// `appendDot` matches the name as if it ended in '.'.
bool matchBytes(const char* name, size_t length, const QByteArray& piece, bool appendDot)
{
    const size_t n = length + (appendDot ? 1 : 0);
    const size_t pn = size_t(piece.size());
    auto at = [&](size_t i) { return i < length ? lower(name[i]) : '.'; };
    size_t ni = 0, pi = 0, starN = 0;
    qsizetype starP = -1;
    while (ni < n) {
        if (pi < pn) {
            const char pc = piece[qsizetype(pi)];
            if (pc == '*') {
                starP = qsizetype(pi++);
                starN = ni;
                continue;
            }
            if (pc == '?' || pc == at(ni)) {
                ++pi;
                ++ni;
                continue;
            }
        }
        if (starP < 0)
            return false;
        pi = size_t(starP) + 1;
        ni = ++starN;
    }
    while (pi < pn && piece[qsizetype(pi)] == '*')
        ++pi;
    return pi == pn;
}

} // namespace

NameMask::NameMask(const QString& mask) : m_mask(mask)
{
    m_all = mask == QLatin1String("*") || mask == QLatin1String("*.*");
    m_ascii = true;
    for (QChar c : mask) {
        if (c.unicode() >= 0x80) {
            m_ascii = false;
            break;
        }
        m_lower.append(lower(char(c.unicode())));
    }
}

bool NameMask::matches(const char* name, size_t length, QString& decoded) const
{
    decoded.clear();
    if (m_all)
        return true;
    bool ascii = m_ascii;
    bool dot = false;
    for (size_t i = 0; ascii && i < length; ++i) {
        ascii = (unsigned char)name[i] < 0x80;
        dot = dot || name[i] == '.';
    }
    if (!ascii) {
        decoded = plat::posix::decodePath(QByteArrayView(name, qsizetype(length)));
        return plat::platformMaskMatch(decoded, m_mask);
    }
    return matchBytes(name, length, m_lower, false) || (!dot && matchBytes(name, length, m_lower, true));
}

} // namespace search
