#!/usr/bin/env bash
# Picture decoding benchmark: 200 generated 12-megapixel JPEGs (4000 x 3000) decoded to a 100-pixel bound by
# `orvo-cli picture --max-size 100` against vipsthumbnail (shrink-on-load) and ImageMagick's
# `convert -thumbnail 100x100`, one process per picture as a file manager would start them, in the same run.
# Wall and CPU time (user + system) per tool, and the peak memory of one picture, bounded and at full size.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
COUNT=${COUNT:-200}
ROUNDS=${ROUNDS:-3}
build_targets orvo-cli
CLI=$BUILD/bin/orvo-cli
for tool in vipsthumbnail convert; do
  command -v $tool >/dev/null || { echo "$tool is missing (packages libvips-tools, imagemagick)" >&2; exit 1; }
done

# Four different pictures (noise and gradients, so the coder has real work), copied to COUNT files.
echo "generating $COUNT JPEGs of 4000 x 3000 in $TMP"
mkdir -p "$TMP/in" "$TMP/out"
for i in $(seq 0 3); do
  convert -size 4000x3000 "plasma:fractal" -seed "$i" -attenuate 0.3 +noise Gaussian -quality 90 "$TMP/base$i.jpg"
done
for i in $(seq 1 "$COUNT"); do
  cp "$TMP/base$((i % 4)).jpg" "$TMP/in/p$i.jpg"
done
cat "$TMP"/in/*.jpg > /dev/null   # warm the cache

run_tool() {
  local f
  case $1 in
    orvo) for f in "$TMP"/in/*.jpg; do "$CLI" picture --max-size 100 "$f" "$TMP/out/o.png"; done ;;
    vips) for f in "$TMP"/in/*.jpg; do vipsthumbnail "$f" -s 100x100 -o "$TMP/out/v.png"; done ;;
    magick) for f in "$TMP"/in/*.jpg; do convert "$f" -thumbnail 100x100 "$TMP/out/m.png"; done ;;
  esac
}

# "wall_ms cpu_ms" of one round over all pictures.
timed() {
  local out TIMEFORMAT='%3R %3U %3S'
  out=$( { time run_tool "$1" > /dev/null; } 2>&1 )
  awk '{ printf "%d %d\n", $1 * 1000, ($2 + $3) * 1000 }' <<< "$out"
}

# The bounded picture is what the tools agree on: 100 x 75.
"$CLI" picture --max-size 100 "$TMP/in/p1.jpg" "$TMP/out/check.png"
size=$(identify -format '%wx%h' "$TMP/out/check.png")
[ "$size" = 100x75 ] || { echo "orvo-cli picture gave $size, expected 100x75" >&2; exit 1; }

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
declare -A wall cpu
tools=(orvo vips magick)
for round in $(seq "$ROUNDS"); do
  for t in "${tools[@]}"; do
    read -r w c < <(timed "$t")
    if [ -z "${wall[$t]:-}" ] || [ "$w" -lt "${wall[$t]}" ]; then wall[$t]=$w; fi
    if [ -z "${cpu[$t]:-}" ] || [ "$c" -lt "${cpu[$t]}" ]; then cpu[$t]=$c; fi
  done
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-34s %10s %10s %12s\n' "tool ($COUNT pictures, best of $ROUNDS)" "wall ms" "cpu ms" "cpu ms/pic"
for t in "${tools[@]}"; do
  case $t in
    orvo) name="orvo-cli picture --max-size 100" ;;
    vips) name="vipsthumbnail -s 100x100" ;;
    magick) name="convert -thumbnail 100x100" ;;
  esac
  printf '%-34s %10d %10d %12.1f\n' "$name" "${wall[$t]}" "${cpu[$t]}" "$(awk -v c="${cpu[$t]}" -v n="$COUNT" 'BEGIN { print c / n }')"
done
awk -v o="${cpu[orvo]}" -v v="${cpu[vips]}" -v m="${cpu[magick]}" \
  'BEGIN { printf "cpu: orvo-cli is %.2fx vipsthumbnail, %.1fx faster than ImageMagick\n", o / v, m / o }'

peak() { /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1; }
echo "peak memory, one picture (KiB): bounded $(peak "$CLI" picture --max-size 100 "$TMP/in/p1.jpg" "$TMP/out/a.png")," \
     "full size $(peak "$CLI" picture "$TMP/in/p1.jpg" "$TMP/out/b.png")," \
     "vipsthumbnail $(peak vipsthumbnail "$TMP/in/p1.jpg" -s 100x100 -o "$TMP/out/c.png")," \
     "convert $(peak convert "$TMP/in/p1.jpg" -thumbnail 100x100 "$TMP/out/d.png")"
