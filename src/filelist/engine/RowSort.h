#pragma once
#include "filelist/engine/FileRow.h"
#include <functional>
#include <optional>
#include <vector>

namespace filelist {

// The header-click comparison of two file rows: folders before files, then by the sort column
// (0 name upper-cased, 1 size in KB, 3 modified, 7 accessed, others the sub-item text with a-z folded),
// negated when descending unless one of them is the parent entry. Negative puts a first.
int CompareItems(const FileRow& a, const FileRow& b, int sortColumn, bool descending);

// The order the rows take when sorted by CompareItems: element k is the index of the row that goes to
// position k. Keys are computed once per sort. Parent entries, whose comparisons are never reversed,
// take their ascending place in ascending order and the first place in descending order.
// `keepGoing` is called between steps (a long sort lets the event loop run there); when it returns false
// the sort is abandoned and nothing is returned.
std::optional<std::vector<int>> sortOrder(const std::vector<FileRow>& rows, int sortColumn, bool descending,
                                          const std::function<bool()>& keepGoing = {});

} // namespace filelist
