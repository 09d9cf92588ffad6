#!/usr/bin/env bash
# Hex grid benchmark, offscreen: a 4 GiB sparse file and a 1 GiB file of random bytes, each opened and
# painted, jumped to its end, paged through 1,000 times, edited at 2 GiB and 1 GiB; resident memory after
# each step. Then `orvo-cli hex` against xxd on the same 256 bytes beyond 4 GiB (best of 3).
# Targets: first page < 200 ms, any jump < 20 ms, each edit < 20 ms, resident memory < 64 MiB, orvo-cli hex
# no slower than xxd.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
RANDOM_MIB=${RANDOM_MIB:-1024}
build_targets orvo-cli hexview_bench
CLI=$BUILD/bin/orvo-cli
BENCH=$BUILD/bin/hexview_bench

SPARSE=$TMP/sparse.bin
truncate -s 4G "$SPARSE"
RANDOMF=$TMP/random.bin
echo "generating $RANDOM_MIB MiB of random bytes"
head -c $((RANDOM_MIB * 1024 * 1024)) /dev/urandom > "$RANDOMF"

echo "-- 4 GiB sparse file"
QT_QPA_PLATFORM=offscreen "$BENCH" "$SPARSE"
echo "-- $RANDOM_MIB MiB random file"
QT_QPA_PLATFORM=offscreen "$BENCH" "$RANDOMF"

# The same range through both tools: 16 rows from offset 4294967040 of a file a little over 4 GiB.
BIG=$TMP/big.bin
truncate -s $((4 * 1024 * 1024 * 1024 + 4096)) "$BIG"
printf 'orvo' | dd of="$BIG" bs=1 seek=4294967040 conv=notrunc status=none
command -v xxd > /dev/null || { echo "xxd is missing (Debian package xxd): no comparison" >&2; exit 1; }
echo "-- orvo-cli hex against xxd, 256 bytes at 4294967040"
"$CLI" hex --offset 4294967040 --rows 16 "$BIG" | head -n 1
xxd -s 4294967040 -l 256 "$BIG" | head -n 1
cli_ms=$(best_of_3 "$CLI" hex --offset 4294967040 --rows 16 "$BIG")
xxd_ms=$(best_of_3 xxd -s 4294967040 -l 256 "$BIG")
echo "orvo-cli hex: $cli_ms ms, xxd: $xxd_ms ms (target: orvo-cli no slower than xxd)"
