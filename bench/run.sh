#!/usr/bin/env bash
# Runs the benchmarks: `bench/run.sh` runs every bench/*.sh, `bench/run.sh NAME...` runs bench/NAME.sh only.
# Each script builds what it needs in $BUILD (default build/) and prints its figures against the standard tool.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for f in "$HERE"/*.sh; do
    n=$(basename "$f" .sh)
    [ "$n" = run ] || names+=("$n")
  done
fi
for n in "${names[@]}"; do
  [ -f "$HERE/$n.sh" ] || { echo "no benchmark named $n" >&2; exit 2; }
  echo "== $n"
  bash "$HERE/$n.sh"
done
