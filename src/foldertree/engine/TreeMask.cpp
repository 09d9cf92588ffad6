#include "foldertree/engine/TreeMask.h"

namespace foldertree {

TreeMask::TreeMask(const QString& mask)
{
    for (const QString& part : mask.split(u';')) {
        const QString t = part.trimmed().toLower();
        if (!t.isEmpty())
            m_parts.append(t);
    }
    if (m_parts.isEmpty())
        m_parts.append(QStringLiteral("*.*"));
}

bool TreeMask::matchPart(const QString& name, const QString& part)
{
    if (part == u"*")
        return true;
    if (part == u"*.*")
        return name.contains(u'.');
    // Iterative wildcard match with one back-tracking point at the last '*'.
    qsizetype ni = 0, pi = 0, starP = -1, starN = 0;
    while (ni < name.size()) {
        if (pi < part.size() && part[pi] == u'*') {
            starP = pi++;
            starN = ni;
            continue;
        }
        if (pi < part.size() && (part[pi] == u'?' || part[pi] == name[ni])) {
            ++pi;
            ++ni;
            continue;
        }
        if (starP < 0)
            return false;
        pi = starP + 1;
        ni = ++starN;
    }
    while (pi < part.size() && part[pi] == u'*')
        ++pi;
    return pi == part.size();
}

bool TreeMask::matches(const QString& name) const
{
    const QString lower = name.toLower();
    for (const QString& part : m_parts)
        if (matchPart(lower, part))
            return true;
    return false;
}

} // namespace foldertree
