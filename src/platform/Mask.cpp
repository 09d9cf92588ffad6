#include "platform/Mask.h"

namespace plat {
namespace {

inline char16_t fold(QChar c)
{
    return c.unicode() < 0x80 ? char16_t(c.unicode() >= 'A' && c.unicode() <= 'Z' ? c.unicode() + 32 : c.unicode())
                              : c.toCaseFolded().unicode();
}

// Iterative matcher with single back-tracking point for the last '*'; linear for typical pieces.
bool match(QStringView name, QStringView piece, bool appendDot)
{
    const qsizetype n = name.size() + (appendDot ? 1 : 0);
    auto at = [&](qsizetype i) { return i < name.size() ? fold(name[i]) : char16_t(u'.'); };
    qsizetype ni = 0, pi = 0, starP = -1, starN = 0;
    while (ni < n) {
        if (pi < piece.size()) {
            const QChar pc = piece[pi];
            if (pc == u'*') {
                starP = pi++;
                starN = ni;
                continue;
            }
            if (pc == u'?' || fold(pc) == at(ni)) {
                ++pi;
                ++ni;
                continue;
            }
        }
        if (starP < 0)
            return false;
        pi = starP + 1;
        ni = ++starN;
    }
    while (pi < piece.size() && piece[pi] == u'*')
        ++pi;
    return pi == piece.size();
}

} // namespace

bool wildcardMatch(QStringView name, QStringView piece)
{
    return match(name, piece, false);
}

bool platformMaskMatch(QStringView name, QStringView piece)
{
    if (piece == u"*" || piece == u"*.*")
        return true;   // every name matches (names without '.' through the appended dot)
    if (match(name, piece, false))
        return true;
    return !name.contains(u'.') && match(name, piece, true);
}

} // namespace plat
