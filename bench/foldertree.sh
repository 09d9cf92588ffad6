#!/usr/bin/env bash
# Folder tree benchmark: a generated folder of 20,000 sub-folders expanded in the real tree (best of 3),
# against listing its sub-folders with find; then the longest event-loop stall while change monitors
# refresh that folder after folders are created and removed from outside.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
COUNT=${COUNT:-20000}
build_targets foldertree_bench
BENCH=$BUILD/bin/foldertree_bench

mkdir -p "$TMP/big"
echo "generating $COUNT sub-folders in $TMP/big"
( cd "$TMP/big" && seq -f "folder%05g" 1 "$COUNT" | xargs mkdir )
# every tenth folder gets a sub-folder of its own, so the has-children probe finds both kinds
( cd "$TMP/big" && seq -f "folder%05g/inner" 1 10 "$COUNT" | xargs mkdir )

find "$TMP/big" -mindepth 1 -maxdepth 1 -type d > /dev/null   # warm the cache
find_ms=$(best_of_3 sh -c "find '$TMP/big' -mindepth 1 -maxdepth 1 -type d | sort")
echo "find -type d | sort:         ${find_ms} ms (the standard tool listing the same sub-folders)"
QT_QPA_PLATFORM=offscreen "$BENCH" "$TMP"
