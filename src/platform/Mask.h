#pragma once
#include <QStringView>

namespace plat {

// Wildcard match of a file name against one mask piece: case-folded, '*' any run (empty included),
// '?' exactly one character, everything else literal. A name without '.' is also tried as name + ".",
// so "*.*" matches "README". The piece is used as given (no trimming).
bool platformMaskMatch(QStringView name, QStringView piece);
// The same match without the appended dot: "*.*" needs a '.' in the name.
bool wildcardMatch(QStringView name, QStringView piece);

} // namespace plat
