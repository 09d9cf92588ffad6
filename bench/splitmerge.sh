#!/usr/bin/env bash
# Split and merge benchmark: a 1 GiB file cut into 10 pieces and joined again, by orvo-cli and by
# split -n 10 and cat (best of $ROUNDS runs each, taken in turns; warm cache; written data synced before
# every run).
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
SIZE_MB=${SIZE_MB:-1024}
ROUNDS=${ROUNDS:-5}
build_targets orvo-cli
CLI=$BUILD/bin/orvo-cli

SRC=$TMP/source.bin
mkdir -p "$TMP/orvo" "$TMP/std"
echo "generating ${SIZE_MB} MiB in $SRC"
head -c $((SIZE_MB * 1024 * 1024)) /dev/urandom > "$SRC"

clean() { rm -f "$TMP"/orvo/* "$TMP"/std/*; sync; }

# Times one run of "$@" after `prepare`, in ms.
time_ms() {
  local prepare=$1; shift
  local t0 t1
  $prepare
  t0=$(date +%s%N)
  "$@" > /dev/null
  t1=$(date +%s%N)
  echo $(( (t1 - t0) / 1000000 ))
}

# Best of ROUNDS for two commands, run in turns so that a change of load hits both alike.
# Prints "best_a best_b".
best_interleaved() {
  local prepare=$1 a=$2 b=$3 best_a=0 best_b=0 ms
  for _ in $(seq 1 "$ROUNDS"); do
    ms=$(time_ms "$prepare" "$a")
    if [ "$best_a" -eq 0 ] || [ "$ms" -lt "$best_a" ]; then best_a=$ms; fi
    ms=$(time_ms "$prepare" "$b")
    if [ "$best_b" -eq 0 ] || [ "$ms" -lt "$best_b" ]; then best_b=$ms; fi
  done
  echo "$best_a $best_b"
}

orvo_split() { "$CLI" split --count 10 "$SRC" "$TMP/orvo/part"; }
std_split() { split -n 10 "$SRC" "$TMP/std/part"; }
orvo_merge() { "$CLI" merge "$TMP/orvo/part1" "$TMP/orvo/joined"; }
std_merge() { cat "$TMP"/std/part?? > "$TMP/std/joined"; }
# Merging needs the pieces: keep them, drop only the joined file.
keep_pieces() { rm -f "$TMP/orvo/joined" "$TMP/std/joined"; sync; }

cat "$SRC" > /dev/null   # warm the cache
read -r orvo_split_ms std_split_ms < <(best_interleaved clean orvo_split std_split)
clean; orvo_split; std_split
read -r orvo_merge_ms std_merge_ms < <(best_interleaved keep_pieces orvo_merge std_merge)
orvo_merge; std_merge
cmp "$SRC" "$TMP/orvo/joined" && cmp "$SRC" "$TMP/std/joined"
pieces=$(ls "$TMP/orvo" | grep -c '^part')

echo "orvo-cli split --count 10: ${orvo_split_ms} ms ($pieces pieces)"
echo "split -n 10:               ${std_split_ms} ms"
awk -v a="$orvo_split_ms" -v b="$std_split_ms" 'BEGIN { printf "split ratio:               %.2f (target <= 1.2)\n", (b > 0 ? a / b : 0) }'
echo "orvo-cli merge:            ${orvo_merge_ms} ms (output identical to the source)"
echo "cat:                       ${std_merge_ms} ms"
awk -v a="$orvo_merge_ms" -v b="$std_merge_ms" 'BEGIN { printf "merge ratio:               %.2f (target <= 1.2)\n", (b > 0 ? a / b : 0) }'
