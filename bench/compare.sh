#!/usr/bin/env bash
# Compare benchmark: orvo-cli compare against diff (best of 3 each, warm cache, in the same run) on
#  - records: two generated 200,000-line files that differ in 1% of their lines (changed, inserted and
#    deleted lines spread over the file);
#  - large records: the same kind of files with 707,000 lines that differ in a few lines only;
#  - large source: two source-like files of 707,000 lines (many repeated lines, comments in Chinese), the
#    second an edited release of the first (about 60 places: changed lines, inserted and deleted blocks,
#    functions added, removed and moved), in UTF-8 and in GB18030.
# Peak memory of orvo-cli (/usr/bin/time -v) is set against the two files' size. LARGE=0 skips the large cases.
set -euo pipefail
HERE=$(dirname "$0")
source "$HERE/lib/common.sh"
LINES=${LINES:-200000}
LARGE_LINES=${LARGE_LINES:-707000}
LARGE=${LARGE:-1}
build_targets orvo-cli
CLI=$BUILD/bin/orvo-cli

# records LINES EDIT_RATE A B: files of numbered records; about EDIT_RATE of the lines differ.
records() {
  awk -v n="$1" -v rate="$2" -v a="$3" -v b="$4" 'BEGIN {
    srand(7)
    for (i = 1; i <= n; i++) {
      line = sprintf("%06d %s record %d value=%d status=%s", i, (i % 7 ? "item" : "entry"), int(rand() * 100000),
                     int(rand() * 1000000), (rand() < 0.5 ? "ok" : "pending"))
      print line > a
      r = rand() / rate
      if (r < 0.6) print line " (edited)" > b          # changed line
      else if (r < 0.8) { print line > b; print "inserted " i > b }   # inserted line
      else if (r < 1.0) { }                             # deleted line
      else print line > b
    }
  }'
}

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

# measure LABEL A B: times both tools on one pair and sets orvo-cli's peak memory against the files.
measure() {
  local label=$1 a=$2 b=$3
  local both=$(( $(stat -c %s "$a") + $(stat -c %s "$b") ))
  echo "-- $label: $(wc -l < "$a") + $(wc -l < "$b") lines, $((both / 1024)) KiB"
  "$CLI" compare "$a" "$b" > /dev/null || true   # warm the cache
  diff "$a" "$b" > /dev/null || true
  local rows marked cli_ms diff_ms kib
  rows=$("$CLI" compare "$a" "$b" | wc -l || true)
  marked=$("$CLI" compare "$a" "$b" | awk -F '\t' 'NR > 1 && substr($1, 1, 1) == "x"' | wc -l || true)
  cli_ms=$(best_of_3 "$CLI" compare "$a" "$b")
  diff_ms=$(best_of_3 diff "$a" "$b")
  echo "orvo-cli compare: ${cli_ms} ms ($rows rows, $marked marked)"
  echo "diff:             ${diff_ms} ms"
  awk -v a="$cli_ms" -v b="$diff_ms" 'BEGIN { printf "time ratio:       %.2f (target <= 1.0)\n", (b > 0 ? a / b : 0) }'
  kib=$(peak_kib "$CLI" compare "$a" "$b")
  echo "orvo-cli peak RSS: ${kib} KiB"
  awk -v m="$kib" -v f="$both" 'BEGIN { printf "memory ratio:     %.2f (target <= 2.0)\n", m * 1024 / f }'
}

echo "load average: $(cat /proc/loadavg)"
echo "generating the files in $TMP"
records "$LINES" 0.01 "$TMP/a.txt" "$TMP/b.txt"
measure "records" "$TMP/a.txt" "$TMP/b.txt"
if [ "$LARGE" = 1 ]; then
  records "$LARGE_LINES" 0.0001 "$TMP/la.txt" "$TMP/lb.txt"
  measure "large records" "$TMP/la.txt" "$TMP/lb.txt"
  python3 "$HERE/lib/source_pair.py" "$TMP/s1.c" "$TMP/s2.c" "$LARGE_LINES" 60 utf-8
  measure "large source, UTF-8" "$TMP/s1.c" "$TMP/s2.c"
  python3 "$HERE/lib/source_pair.py" "$TMP/g1.c" "$TMP/g2.c" "$LARGE_LINES" 60 gb18030
  measure "large source, GB18030" "$TMP/g1.c" "$TMP/g2.c"
fi
echo "load average: $(cat /proc/loadavg)"
