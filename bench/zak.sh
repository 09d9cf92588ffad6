#!/usr/bin/env bash
# ".zak" benchmark: a generated 256 MiB mixed corpus (text-like, random and zero runs) compressed and
# decompressed by orvo-cli zak and by gzip -6 / gzip -d in the same run (best of $REPEAT each, warm cache).
# Targets: compression time ratio <= 1.0 with a size within 2% of gzip -6; decompression ratio <= 2.2.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
MIB=${MIB:-256}
REPEAT=${REPEAT:-3}
build_targets orvo-cli zak_corpus
CLI=$BUILD/bin/orvo-cli
GEN=$BUILD/bin/zak_corpus

echo "generating a $MIB MiB corpus in $TMP"
"$GEN" "$TMP/corpus" "$MIB"

# best_ms CMD...: the shortest wall time of $REPEAT runs, in ms.
best_ms() {
  local best=0 t0 t1 ms
  for _ in $(seq "$REPEAT"); do
    t0=$(date +%s%N)
    "$@"
    t1=$(date +%s%N)
    ms=$(( (t1 - t0) / 1000000 ))
    if [ "$best" -eq 0 ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}
gzip_c() { gzip -6 -c "$TMP/corpus" > "$TMP/corpus.gz"; }
gzip_d() { gzip -d -c "$TMP/corpus.gz" > "$TMP/out.gzip"; }

cat "$TMP/corpus" > /dev/null   # warm the cache
zak_c_ms=$(best_ms "$CLI" zak compress "$TMP/corpus" "$TMP/corpus.zak")
gzip_c_ms=$(best_ms gzip_c)
zak_d_ms=$(best_ms "$CLI" zak decompress "$TMP/corpus.zak" "$TMP/out.zak")
gzip_d_ms=$(best_ms gzip_d)

cmp -s "$TMP/corpus" "$TMP/out.zak" || { echo "orvo-cli zak: round trip differs" >&2; exit 1; }
cmp -s "$TMP/corpus" "$TMP/out.gzip" || { echo "gzip: round trip differs" >&2; exit 1; }
zak_size=$(stat -c %s "$TMP/corpus.zak")
gzip_size=$(stat -c %s "$TMP/corpus.gz")

echo "compress    orvo-cli zak: ${zak_c_ms} ms, ${zak_size} bytes"
echo "            gzip -6:      ${gzip_c_ms} ms, ${gzip_size} bytes"
awk -v a="$zak_c_ms" -v b="$gzip_c_ms" -v s="$zak_size" -v g="$gzip_size" 'BEGIN {
  printf "            time ratio:   %.2f (target <= 1.0)\n", (b > 0 ? a / b : 0)
  printf "            size ratio:   %.4f (target <= 1.02)\n", (g > 0 ? s / g : 0) }'
echo "decompress  orvo-cli zak: ${zak_d_ms} ms"
echo "            gzip -d:      ${gzip_d_ms} ms"
awk -v a="$zak_d_ms" -v b="$gzip_d_ms" 'BEGIN {
  printf "            time ratio:   %.2f (target <= 2.2)\n", (b > 0 ? a / b : 0) }'
