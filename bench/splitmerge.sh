#!/usr/bin/env bash
# Split and merge benchmark: a 1 GiB file cut into 10 pieces and joined again, by orvo-cli and by
# split -n 10 and cat (best of 3 each, warm cache, written data synced before every run).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build}
SIZE_MB=${SIZE_MB:-1024}
[ -d "$BUILD" ] || cmake -S "$ROOT" -B "$BUILD" >/dev/null
cmake --build "$BUILD" -j2 --target orvo-cli >/dev/null
CLI=$BUILD/bin/orvo-cli

TMP=$(mktemp -d "${TMPDIR:-/tmp}/orvo-bench-XXXXXX")
trap 'rm -rf "$TMP"' EXIT
SRC=$TMP/source.bin
mkdir -p "$TMP/orvo" "$TMP/std"
echo "generating ${SIZE_MB} MiB in $SRC"
head -c $((SIZE_MB * 1024 * 1024)) /dev/urandom > "$SRC"

clean() { rm -f "$TMP"/orvo/* "$TMP"/std/*; sync; }

# Runs "$@" three times after `clean`, prints the best time in ms.
best_of_3() {
  local prepare=$1; shift
  local best=0 t0 t1 ms
  for _ in 1 2 3; do
    $prepare
    t0=$(date +%s%N)
    "$@" > /dev/null
    t1=$(date +%s%N)
    ms=$(( (t1 - t0) / 1000000 ))
    if [ "$best" -eq 0 ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

orvo_split() { "$CLI" split --count 10 "$SRC" "$TMP/orvo/part"; }
std_split() { split -n 10 "$SRC" "$TMP/std/part"; }
orvo_merge() { "$CLI" merge "$TMP/orvo/part1" "$TMP/orvo/joined"; }
std_merge() { cat "$TMP"/std/part?? > "$TMP/std/joined"; }
# Merging needs the pieces: keep them, drop only the joined file.
keep_pieces() { rm -f "$TMP/orvo/joined" "$TMP/std/joined"; sync; }

cat "$SRC" > /dev/null   # warm the cache
orvo_split_ms=$(best_of_3 clean orvo_split)
std_split_ms=$(best_of_3 clean std_split)
orvo_split; std_split
orvo_merge_ms=$(best_of_3 keep_pieces orvo_merge)
std_merge_ms=$(best_of_3 keep_pieces std_merge)
orvo_merge; std_merge
cmp "$SRC" "$TMP/orvo/joined" && cmp "$SRC" "$TMP/std/joined"
pieces=$(ls "$TMP/orvo" | grep -c '^part')

echo "orvo-cli split --count 10: ${orvo_split_ms} ms ($pieces pieces)"
echo "split -n 10:               ${std_split_ms} ms"
awk -v a="$orvo_split_ms" -v b="$std_split_ms" 'BEGIN { printf "split ratio:               %.2f (target <= 1.2)\n", (b > 0 ? a / b : 0) }'
echo "orvo-cli merge:            ${orvo_merge_ms} ms (output identical to the source)"
echo "cat:                       ${std_merge_ms} ms"
awk -v a="$orvo_merge_ms" -v b="$std_merge_ms" 'BEGIN { printf "merge ratio:               %.2f (target <= 1.2)\n", (b > 0 ? a / b : 0) }'
