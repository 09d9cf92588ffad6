#include "tools/search/engine/ExcludeMatch.h"

namespace search {

QString upperAscii(QStringView s)
{
    QString out(s.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        d[i] = QChar(c >= u'a' && c <= u'z' ? char16_t(c - 32) : c);
    }
    return out;
}

std::vector<ExcludePattern> compileExcludes(const QStringList& patterns)
{
    std::vector<ExcludePattern> out;
    out.reserve(size_t(patterns.size()));
    for (const QString& p : patterns) {
        const qsizetype slash = p.lastIndexOf(u'/');
        out.push_back({upperAscii(QStringView(p).left(slash + 1)), upperAscii(QStringView(p).mid(slash + 1))});
    }
    return out;
}

bool excludeNameMatches(QStringView name, QStringView pat)
{
    qsizetype i = 0, j = 0;
    const qsizetype n = name.size(), m = pat.size();
    while (i < n && j < m) {
        const QChar c = name[i], p = pat[j];
        if (c == p || (p == u'?' && c != u'.')) {
            ++i;
            ++j;
        } else if (c == u'.') {
            if (p == u'?') {
                ++j;
            } else if (p == u'*') {
                ++j;
                while (j < m && pat[j] != u'.')
                    ++j;
            } else {
                return false;
            }
        } else if (p == u'*') {
            ++i;
        } else {
            return false;
        }
    }
    while (j < m && (pat[j] == u'*' || pat[j] == u'?'))
        ++j;
    return i == n && j == m;
}

bool excludeMatches(const ExcludePattern& p, QStringView upperFolder, QStringView upperName)
{
    if (!p.folder.isEmpty()) {
        if (p.folder.size() > upperFolder.size() || !upperFolder.endsWith(p.folder))
            return false;
    }
    return p.name.isEmpty() || excludeNameMatches(upperName, p.name);
}

} // namespace search
