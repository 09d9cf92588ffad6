#pragma once
#include <QString>
#include <QStringList>

namespace foldertree {

// The folder tree's own file mask: masks separated by ";", each trimmed, empty ones dropped; no mask
// at all means "*.*". Matching is case-insensitive. "*" matches every name and "*.*" every name that
// holds a "."; otherwise "*" matches any run (also empty) and "?" one character, and the whole name
// must be consumed. Unlike the file list's pieces, "*.*" does not match a name without a dot.
class TreeMask {
public:
    explicit TreeMask(const QString& mask = QString());
    bool matches(const QString& name) const;
    const QStringList& parts() const { return m_parts; }   // lower-cased
    QString joined() const { return m_parts.join(u';'); }
    static bool matchPart(const QString& lowerName, const QString& lowerPart);
private:
    QStringList m_parts;
};

} // namespace foldertree
