#!/usr/bin/env bash
# ".zak" benchmark: a generated 256 MiB mixed corpus (text-like, random and zero runs) compressed and
# decompressed by orvo-cli zak and by gzip / pigz in the same run (best of $REPEAT each, warm cache).
# Targets: compression no slower than `pigz -6 -p 2` with a size within 2% of `gzip -6`; decompression no
# slower than `gzip -d`; `--level none` with its wall time close to its CPU time.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
MIB=${MIB:-256}
REPEAT=${REPEAT:-3}
build_targets orvo-cli zak_corpus
CLI=$BUILD/bin/orvo-cli
GEN=$BUILD/bin/zak_corpus
HAVE_PIGZ=0
command -v pigz > /dev/null && HAVE_PIGZ=1

echo "load average: $(cat /proc/loadavg)"
echo "generating a $MIB MiB corpus in $TMP"
"$GEN" "$TMP/corpus" "$MIB"

# best CMD...: runs the command $REPEAT times and prints the fastest run as "wall_ms cpu_ms" (cpu: user +
# system time of the command and its children, from `times` in this shell).
best() {
  local best_wall=0 best_cpu=0 t0 t1 wall cpu
  for _ in $(seq "$REPEAT"); do
    times > "$TMP/times0"
    t0=$(date +%s%N)
    "$@"
    t1=$(date +%s%N)
    times > "$TMP/times1"
    wall=$(( (t1 - t0) / 1000000 ))
    cpu=$(awk 'FNR == 2 { split($1, u, "m"); split($2, s, "m")
                          ms = (u[1] * 60 + u[2] + s[1] * 60 + s[2]) * 1000
                          if (FILENAME ~ /times0$/) start = ms; else end = ms }
               END { printf "%d\n", end - start }' "$TMP/times0" "$TMP/times1")
    if [ "$best_wall" -eq 0 ] || [ "$wall" -lt "$best_wall" ]; then best_wall=$wall; best_cpu=$cpu; fi
  done
  echo "$best_wall $best_cpu"
}
gzip_c() { gzip -6 -c "$TMP/corpus" > "$TMP/corpus.gz"; }
gzip_d() { gzip -d -c "$TMP/corpus.gz" > "$TMP/out.gzip"; }
pigz_c() { pigz -6 -p 2 -c "$TMP/corpus" > "$TMP/corpus.pigz.gz"; }

cat "$TMP/corpus" > /dev/null   # warm the cache
read -r zak_c_ms zak_c_cpu < <(best "$CLI" zak compress "$TMP/corpus" "$TMP/corpus.zak")
read -r none_ms none_cpu < <(best "$CLI" zak compress --level none "$TMP/corpus" "$TMP/corpus.none.zak")
read -r gzip_c_ms gzip_c_cpu < <(best gzip_c)
pigz_c_ms=0 pigz_c_cpu=0
[ "$HAVE_PIGZ" -eq 1 ] && read -r pigz_c_ms pigz_c_cpu < <(best pigz_c)
read -r zak_d_ms zak_d_cpu < <(best "$CLI" zak decompress "$TMP/corpus.zak" "$TMP/out.zak")
read -r gzip_d_ms gzip_d_cpu < <(best gzip_d)

cmp -s "$TMP/corpus" "$TMP/out.zak" || { echo "orvo-cli zak: round trip differs" >&2; exit 1; }
cmp -s "$TMP/corpus" "$TMP/out.gzip" || { echo "gzip: round trip differs" >&2; exit 1; }
"$CLI" zak decompress "$TMP/corpus.none.zak" "$TMP/out.none"
cmp -s "$TMP/corpus" "$TMP/out.none" || { echo "orvo-cli zak --level none: round trip differs" >&2; exit 1; }
zak_size=$(stat -c %s "$TMP/corpus.zak")
gzip_size=$(stat -c %s "$TMP/corpus.gz")

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
echo "compress    orvo-cli zak:   ${zak_c_ms} ms (cpu ${zak_c_cpu} ms), ${zak_size} bytes"
echo "            gzip -6:        ${gzip_c_ms} ms (cpu ${gzip_c_cpu} ms), ${gzip_size} bytes"
if [ "$HAVE_PIGZ" -eq 1 ]; then
  echo "            pigz -6 -p 2:   ${pigz_c_ms} ms (cpu ${pigz_c_cpu} ms)"
  echo "            time vs pigz:   $(ratio "$zak_c_ms" "$pigz_c_ms") (target <= 1.0)"
else
  echo "            pigz -6 -p 2:   not installed (scripts/install-deps.sh installs it)"
fi
echo "            time vs gzip:   $(ratio "$zak_c_ms" "$gzip_c_ms")"
awk -v s="$zak_size" -v g="$gzip_size" 'BEGIN { printf "            size vs gzip:   %.4f (target <= 1.02)\n", (g > 0 ? s / g : 0) }'
echo "level none  orvo-cli zak:   ${none_ms} ms wall, ${none_cpu} ms cpu"
echo "            wall vs cpu:    $(ratio "$none_ms" "$none_cpu") (target close to 1)"
echo "decompress  orvo-cli zak:   ${zak_d_ms} ms (cpu ${zak_d_cpu} ms)"
echo "            gzip -d:        ${gzip_d_ms} ms (cpu ${gzip_d_cpu} ms)"
echo "            time vs gzip:   $(ratio "$zak_d_ms" "$gzip_d_ms") (target <= 1.0)"
echo "load average: $(cat /proc/loadavg)"
