#!/usr/bin/env bash
# MD5 benchmark: a 1 GiB file (warm cache) hashed by orvo-cli md5 in file-stream mode (4 MB reads) and in
# mapped mode (4096-byte blocks out of the mapping), against md5sum and openssl md5 in the same run (best
# of 3 rounds); then the MD5 window against the engine alone, for the cost of progress callbacks.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
SIZE_MIB=${SIZE_MIB:-1024}
build_targets orvo-cli md5_window_bench
CLI=$BUILD/bin/orvo-cli
WIN=$BUILD/bin/md5_window_bench

FILE=$TMP/data.bin
echo "generating $SIZE_MIB MiB in $FILE"
head -c $((SIZE_MIB * 1024 * 1024)) /dev/urandom > "$FILE"
cat "$FILE" > /dev/null   # warm the cache

# One timed run: "wall_ms cpu_ms", CPU = user + system time of the command (robust against other load).
timed() {
  local out TIMEFORMAT='%3R %3U %3S'
  out=$( { time "$@" > /dev/null; } 2>&1 )
  awk '{ printf "%d %d\n", $1 * 1000, ($2 + $3) * 1000 }' <<< "$out"
}

want=$(md5sum "$FILE" | cut -c1-32)
for mode in stream mapped; do
  got=$("$CLI" md5 --mode "$mode" "$FILE" | cut -c1-32 | tr 'A-F' 'a-f')
  [ "$got" = "$want" ] || { echo "orvo-cli md5 --mode $mode: digest $got, md5sum says $want" >&2; exit 1; }
done

# Rounds alternate the four tools, so changing load on the machine hits each of them alike; best per tool.
declare -A wall cpu
tools=(stream mapped md5sum openssl)
run_tool() {
  case $1 in
    stream) timed "$CLI" md5 --mode stream "$FILE" ;;
    mapped) timed "$CLI" md5 --mode mapped "$FILE" ;;
    md5sum) timed md5sum "$FILE" ;;
    openssl) timed openssl md5 "$FILE" ;;
  esac
}
for _ in 1 2 3; do
  for t in "${tools[@]}"; do
    read -r w c < <(run_tool "$t")
    if [ -z "${wall[$t]:-}" ] || [ "$w" -lt "${wall[$t]}" ]; then wall[$t]=$w; fi
    if [ -z "${cpu[$t]:-}" ] || [ "$c" -lt "${cpu[$t]}" ]; then cpu[$t]=$c; fi
  done
done
stream_ms=${wall[stream]} stream_cpu=${cpu[stream]}
mapped_ms=${wall[mapped]} mapped_cpu=${cpu[mapped]}
md5sum_ms=${wall[md5sum]} md5sum_cpu=${cpu[md5sum]}
openssl_ms=${wall[openssl]} openssl_cpu=${cpu[openssl]}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
report() {   # name wall_ms cpu_ms
  awk -v n="$1" -v ms="$2" -v cpu="$3" -v ref="$md5sum_ms" -v refcpu="$md5sum_cpu" -v mib="$SIZE_MIB" 'BEGIN {
    printf "%-28s wall %6d ms %7.1f MiB/s %.2fx md5sum | cpu %6d ms %7.1f MiB/s %.2fx md5sum\n",
      n, ms, mib * 1000 / ms, ref / ms, cpu, mib * 1000 / cpu, refcpu / cpu }'
}
report "orvo-cli md5 --mode stream" "$stream_ms" "$stream_cpu"
report "orvo-cli md5 --mode mapped" "$mapped_ms" "$mapped_cpu"
report "md5sum" "$md5sum_ms" "$md5sum_cpu"
report "openssl md5" "$openssl_ms" "$openssl_cpu"
verdict() {   # name ms ref_ms
  awk -v n="$1" -v ms="$2" -v ref="$3" 'BEGIN { printf "  %s %.2fx %s", n, ref / ms, (ref / ms >= 0.95 ? "met" : "MISSED") }'
}
echo "target: >= 0.95x md5sum throughput"
echo "  wall:$(verdict stream "$stream_ms" "$md5sum_ms")$(verdict mapped "$mapped_ms" "$md5sum_ms")"
echo "  cpu: $(verdict stream "$stream_cpu" "$md5sum_cpu")$(verdict mapped "$mapped_cpu" "$md5sum_cpu")"

QT_QPA_PLATFORM=offscreen "$WIN" "$FILE"
