#!/usr/bin/env bash
# Process list benchmark: 2,000 extra sleeping processes, then the process rows of orvo-cli ps against
# ps -e -o comm,pid,ppid,nlwp,pri (best of 5 each, in the same run). Target: orvo-cli no slower than ps.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
COUNT=${COUNT:-2000}
build_targets orvo-cli
CLI=$BUILD/bin/orvo-cli

pids=()
stop_sleepers() {
  [ ${#pids[@]} -eq 0 ] || kill "${pids[@]}" 2>/dev/null || true
  rm -rf "$TMP"
}
trap stop_sleepers EXIT
echo "starting $COUNT sleeping processes"
for _ in $(seq "$COUNT"); do
  sleep 600 &
  pids+=($!)
done

rows=$("$CLI" ps | wc -l)
ps_rows=$(ps -e -o comm,pid,ppid,nlwp,pri --no-headers | wc -l)
cli_ms=$(best_of 5 "$CLI" ps)
ps_ms=$(best_of 5 ps -e -o comm,pid,ppid,nlwp,pri)
echo "orvo-cli ps: ${cli_ms} ms ($rows rows)"
echo "ps:          ${ps_ms} ms ($ps_rows rows)"
awk -v a="$cli_ms" -v b="$ps_ms" 'BEGIN { printf "time ratio:  %.2f (target <= 1.0)\n", (b > 0 ? a / b : 0) }'
