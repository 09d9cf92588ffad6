#!/usr/bin/env bash
# Listing benchmark: a generated folder of 100,000 files listed by orvo-cli and by ls -l (best of 3 each,
# warm cache), then in the real widget with bench/filelist_gui_bench.
# LIST_MILLION=1 adds a folder of 1,000,000 entries (MILLION_COUNT to change it; a minute or two to generate,
# in the scratch folder, removed afterwards), listed by orvo-cli against find -printf and ls -l, then in
# the widget.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
COUNT=${COUNT:-100000}
LIST_MILLION=${LIST_MILLION:-0}
build_targets orvo-cli filelist_gui_bench
CLI=$BUILD/bin/orvo-cli
GUI=$BUILD/bin/filelist_gui_bench

# generate DIR N: N entries named from a few stems and extensions (some without extension, some dot-files),
# a fifth of them 1,500 bytes, an eleventh 7 MB sparse, plus 100 folders.
generate() {
  local dir=$1 n=$2
  mkdir -p "$dir"
  echo "generating $n files in $dir"
  (
    cd "$dir"
    awk -v n="$n" 'BEGIN {
      split("txt jpg png pdf doc cpp h md csv tar.gz zip mp3 log json xml html so sh py ini", ext, " ")
      split("report IMG_ notes 数据 data backup 文档 Photo archive readme", stem, " ")
      for (i = 0; i < n; i++) {
        s = stem[i % 10 + 1]; e = ext[int(i / 7) % 20 + 1]
        if (i % 97 == 0) printf "%s %d\n", s, i            # no extension
        else if (i % 89 == 0) printf ".%s%d.%s\n", s, i, e   # dot-file
        else printf "%s%d.%s\n", s, i, e
      }
    }' | xargs -d '\n' touch
    # a spread of sizes
    ls | awk 'NR % 5 == 1' | xargs -d '\n' truncate -s 1500
    ls | awk 'NR % 11 == 3' | xargs -d '\n' truncate -s 7000000
    for d in $(seq 1 100); do mkdir "folder$d"; done
  )
}

mkdir -p "$TMP/empty"
DIR=$TMP/big
generate "$DIR" "$COUNT"

"$CLI" list "$DIR" > /dev/null   # warm the cache
ls -l --time-style=+%Y-%m-%d "$DIR" > /dev/null
echo "load average:   $(cut -d' ' -f1-3 /proc/loadavg)"
cli_ms=$(best_of_3 "$CLI" list "$DIR")
ls_ms=$(best_of_3 ls -l --time-style=+%Y-%m-%d "$DIR")
rows=$("$CLI" list "$DIR" | wc -l)
echo "orvo-cli list:  ${cli_ms} ms ($rows rows)"
echo "ls -l:          ${ls_ms} ms"
awk -v a="$cli_ms" -v b="$ls_ms" 'BEGIN { printf "ratio:          %.2f (target <= 1.0)\n", (b > 0 ? a / b : 0) }'

QT_QPA_PLATFORM=offscreen "$GUI" "$DIR" "$TMP/empty"

if [ "$LIST_MILLION" = 1 ]; then
  rm -rf "$DIR"
  DIR=$TMP/million
  generate "$DIR" "${MILLION_COUNT:-1000000}"
  "$CLI" list "$DIR" > /dev/null   # warm the cache
  find "$DIR" -maxdepth 1 -printf '%s %T@ %p\n' > /dev/null
  echo "load average:   $(cut -d' ' -f1-3 /proc/loadavg)"
  cli_ms=$(best_of_3 "$CLI" list "$DIR")
  find_ms=$(best_of_3 find "$DIR" -maxdepth 1 -printf '%s %T@ %p\n')
  ls_ms=$(best_of_3 ls -l --time-style=+%Y-%m-%d "$DIR")
  rows=$("$CLI" list "$DIR" | wc -l)
  echo "orvo-cli list:  ${cli_ms} ms ($rows rows)"
  echo "find -printf:   ${find_ms} ms"
  echo "ls -l:          ${ls_ms} ms"
  awk -v a="$cli_ms" -v b="$find_ms" 'BEGIN { printf "ratio to find:  %.2f (target <= 1.5)\n", (b > 0 ? a / b : 0) }'
  QT_QPA_PLATFORM=offscreen "$GUI" "$DIR" "$TMP/empty"
  echo "(targets at 1,000,000: gui listing < 5000 ms, longest loop gap <= 50 ms, window heap <= 300 bytes/row)"
  rm -rf "$DIR"
fi
