#include "foldertree/engine/TreeMask.h"
#include "platform/Mask.h"

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
    return plat::wildcardMatch(name, part);
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
