# Sourced by every benchmark: the project root, the build folder, a scratch folder removed at exit,
# building the targets a benchmark runs, and a best-of-three wall-clock timer.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD=${BUILD:-$ROOT/build}
TMP=$(mktemp -d "${TMPDIR:-/tmp}/orvo-bench-XXXXXX")
trap 'rm -rf "$TMP"' EXIT

# build_targets TARGET...: configures the build folder when missing and builds the targets.
build_targets() {
  [ -d "$BUILD" ] || cmake -S "$ROOT" -B "$BUILD" >/dev/null
  cmake --build "$BUILD" -j2 --target "$@" >/dev/null
}

# best_of N COMMAND...: runs the command N times (output discarded) and prints the fastest in ms.
best_of() {
  local n=$1 best=0 t0 t1 ms
  shift
  for _ in $(seq "$n"); do
    t0=$(date +%s%N)
    "$@" > /dev/null
    t1=$(date +%s%N)
    ms=$(( (t1 - t0) / 1000000 ))
    if [ "$best" -eq 0 ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

best_of_3() { best_of 3 "$@"; }
