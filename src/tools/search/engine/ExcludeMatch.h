#pragma once
#include <QString>
#include <QStringList>
#include <vector>

namespace search {

// One exclusion pattern, split into its folder part (up to and including the last '/') and its name part,
// both upper-cased (ASCII).
struct ExcludePattern {
    QString folder;
    QString name;
};

std::vector<ExcludePattern> compileExcludes(const QStringList& patterns);

// ASCII upper case; other characters unchanged.
QString upperAscii(QStringView s);

// The exclusion rule's own name matcher (both sides already upper-cased): '?' matches one character
// other than '.', '*' runs up to the next '.' of the name, and a '.' of the name is only matched by '.',
// by a skipped '?' or by the '*' that jumps to the pattern's next '.'. So "*.*" does not match README and
// "*" does not match A.TXT.
bool excludeNameMatches(QStringView name, QStringView pattern);

// Whether the entry `name` in the folder `upperFolder` (upper-cased, ending in '/') is excluded by `p`:
// a pattern folder must equal the same number of trailing characters of the entry's folder, an empty
// pattern name matches every name.
bool excludeMatches(const ExcludePattern& p, QStringView upperFolder, QStringView upperName);

} // namespace search
