#!/usr/bin/env bash
# Builds the decoders' fuzz targets with clang, writes their seed corpus and runs each for a while.
# usage: tests/fuzz/run.sh [--seconds N] [--build-dir DIR] [--only NAME]
# A crash, a sanitizer report, a leak, a hang (10 s on one input) or memory past 2.5 GB fails the run; the
# input is kept in DIR/artifacts.
set -euo pipefail
seconds=60
build=build-fuzz
only=""
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --build-dir) build=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    *) echo "usage: $0 [--seconds N] [--build-dir DIR] [--only NAME]" >&2; exit 2 ;;
  esac
done
here=$(cd "$(dirname "$0")" && pwd)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
cmake --build "$build" -j2
build=$(cd "$build" && pwd)
rm -rf "$build/seeds"
"$build/make_seeds" "$build/seeds"
mkdir -p "$build/artifacts"
status=0
for target in tga pcx dcx sgi sunraster psd iff pcd rla cel cut jpeg bmp; do
  [ -n "$only" ] && [ "$only" != "$target" ] && continue
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  echo "== fuzz_$target for ${seconds}s"
  if ! QT_QPA_PLATFORM=offscreen "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
      -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" "$corpus" "$build/seeds/$target" \
      > "$build/fuzz_$target.log" 2>&1; then
    echo "fuzz_$target FAILED; see $build/fuzz_$target.log" >&2
    tail -n 40 "$build/fuzz_$target.log" >&2
    status=1
  else
    grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb" "$build/fuzz_$target.log" | tr '\n' ' '
    echo
  fi
done
exit $status
