#!/usr/bin/env bash
# File operation benchmark: a 1 GiB file and a folder of 20,000 small files copied by orvo-cli and by cp /
# cp -r in the same run (best of 3 each, targets removed and the disk synced between runs), then a move of
# the big file within the file system, which must be a rename.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
SMALL=${SMALL:-20000}
build_targets orvo-cli
CLI=$BUILD/bin/orvo-cli

mkdir -p "$TMP/src" "$TMP/dst" "$TMP/moved"

echo "generating a 1 GiB file and $SMALL small files in $TMP/src"
head -c $((1 << 30)) /dev/urandom > "$TMP/src/big.bin"
(
  mkdir -p "$TMP/src/small"
  cd "$TMP/src/small"
  dirs=$(( (SMALL + 199) / 200 ))
  for d in $(seq 1 "$dirs"); do mkdir "d$d"; done
  # files of 100 to 8,000 bytes
  awk -v n="$SMALL" 'BEGIN { srand(7); for (i = 0; i < n; i++) printf "d%d/f%05d.txt %d\n", int(i / 200) + 1, i, 100 + int(rand() * 7900) }' |
    python3 -c '
import sys
blob = bytes(range(256)) * 40
for line in sys.stdin:
    name, size = line.split()
    with open(name, "wb") as f:
        f.write(blob[: int(size)])
'
)
sync

# Runs "$@" three times after removing $1-th target and syncing; prints the best wall time in ms.
best_of_3() {
  local target=$1; shift
  local best=0 t0 t1 ms
  for _ in 1 2 3; do
    rm -rf "$target"; sync
    t0=$(date +%s%N)
    "$@"
    t1=$(date +%s%N)
    ms=$(( (t1 - t0) / 1000000 ))
    if [ "$best" -eq 0 ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  rm -rf "$target"; sync
  echo "$best"
}

ratio() {
  awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { printf "ratio:               %.2f (target <= %s)\n", (b > 0 ? a / b : 0), t }'
}

cat "$TMP/src/big.bin" > /dev/null   # warm the cache for both
orvo_big=$(best_of_3 "$TMP/dst/big.bin" "$CLI" copy "$TMP/src/big.bin" "$TMP/dst")
cp_big=$(best_of_3 "$TMP/dst/big.bin" cp "$TMP/src/big.bin" "$TMP/dst/")
echo "1 GiB file, orvo-cli copy: ${orvo_big} ms"
echo "1 GiB file, cp:            ${cp_big} ms"
ratio "$orvo_big" "$cp_big" 1.1

orvo_small=$(best_of_3 "$TMP/dst/small" "$CLI" copy "$TMP/src/small" "$TMP/dst")
cp_small=$(best_of_3 "$TMP/dst/small" cp -r "$TMP/src/small" "$TMP/dst/")
echo "$SMALL small files, orvo-cli copy: ${orvo_small} ms"
echo "$SMALL small files, cp -r:         ${cp_small} ms"
ratio "$orvo_small" "$cp_small" 1.5

# Same content check of one run of each.
"$CLI" copy "$TMP/src/small" "$TMP/dst" && diff -r "$TMP/src/small" "$TMP/dst/small" > /dev/null &&
  echo "copied tree identical to the source" || { echo "copied tree differs" >&2; exit 1; }

t0=$(date +%s%N)
"$CLI" move "$TMP/src/big.bin" "$TMP/moved"
t1=$(date +%s%N)
echo "move of the 1 GiB file within the file system: $(( (t1 - t0) / 1000000 )) ms (a rename)"
