#!/usr/bin/env bash
# Compare benchmark: two generated 200,000-line files that differ in 1% of their lines (changed, inserted and
# deleted lines spread over the file), compared by orvo-cli compare and by diff (best of 3 each, warm cache).
# Peak memory of orvo-cli is set against the two files' size.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
LINES=${LINES:-200000}
build_targets orvo-cli
CLI=$BUILD/bin/orvo-cli

A=$TMP/a.txt
B=$TMP/b.txt

echo "generating two files of $LINES lines in $TMP"
awk -v n="$LINES" -v a="$A" -v b="$B" 'BEGIN {
  srand(7)
  for (i = 1; i <= n; i++) {
    line = sprintf("%06d %s record %d value=%d status=%s", i, (i % 7 ? "item" : "entry"), int(rand() * 100000),
                   int(rand() * 1000000), (rand() < 0.5 ? "ok" : "pending"))
    print line > a
    r = rand()
    if (r < 0.006) print line " (edited)" > b          # changed line
    else if (r < 0.008) { print line > b; print "inserted " i > b }   # inserted line
    else if (r < 0.010) { }                             # deleted line
    else print line > b
  }
}'
size_a=$(stat -c %s "$A")
size_b=$(stat -c %s "$B")
both=$((size_a + size_b))
echo "file sizes: $size_a + $size_b bytes"

best_of_3() {
  local best=0 t0 t1 ms
  for _ in 1 2 3; do
    t0=$(date +%s%N)
    "$@" > /dev/null || [ $? -eq 1 ]   # both tools exit with 1 when the files differ
    t1=$(date +%s%N)
    ms=$(( (t1 - t0) / 1000000 ))
    if [ "$best" -eq 0 ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

# Peak resident set size in KiB of one run.
peak_kib() {
  if [ -x /usr/bin/time ]; then
    { /usr/bin/time -v "$@" > /dev/null 2> "$TMP/time.txt" || true; }
    awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' "$TMP/time.txt"
  else
    "$@" > /dev/null &
    local pid=$! hwm=0 v
    while [ -r "/proc/$pid/status" ]; do
      v=$(awk '/VmHWM/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
      [ -n "$v" ] && hwm=$v
      sleep 0.005
    done
    wait "$pid" || true
    echo "$hwm"
  fi
}

"$CLI" compare "$A" "$B" > /dev/null || true   # warm the cache
diff "$A" "$B" > /dev/null || true
rows=$("$CLI" compare "$A" "$B" | wc -l || true)
marked=$("$CLI" compare "$A" "$B" | awk -F '\t' 'NR > 1 && substr($1, 1, 1) == "x"' | wc -l || true)
cli_ms=$(best_of_3 "$CLI" compare "$A" "$B")
diff_ms=$(best_of_3 diff "$A" "$B")
echo "orvo-cli compare: ${cli_ms} ms ($rows rows, $marked marked)"
echo "diff:             ${diff_ms} ms"
awk -v a="$cli_ms" -v b="$diff_ms" 'BEGIN { printf "time ratio:       %.2f (target <= 2.0)\n", (b > 0 ? a / b : 0) }'

kib=$(peak_kib "$CLI" compare "$A" "$B")
echo "orvo-cli peak RSS: ${kib} KiB; the two files: $((both / 1024)) KiB"
awk -v m="$kib" -v f="$both" 'BEGIN { printf "memory ratio:     %.2f (target <= 3.0)\n", m * 1024 / f }'
