#!/usr/bin/env bash
# Search benchmark: a generated tree of 200,000 files in 2,000 folders searched by name (orvo-cli find against
# find -name), and two text trees searched by content (against grep -rlF, and -rliF for the case-insensitive
# search): 500 MiB in files of 512 KiB, and 256 MiB in 8,192 files of 32 KiB; best of 5 each, warm cache, in the
# same run.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
FILES=${FILES:-200000}
FOLDERS=${FOLDERS:-2000}
TEXT_MIB=${TEXT_MIB:-500}
SMALL_MIB=${SMALL_MIB:-256}
build_targets orvo-cli
CLI=$BUILD/bin/orvo-cli

NAMES=$TMP/names
TEXT=$TMP/text
SMALL=$TMP/small

echo "generating $FILES files in $FOLDERS folders, $TEXT_MIB MiB and $SMALL_MIB MiB of text"
python3 - "$NAMES" "$FILES" "$FOLDERS" "$TEXT" "$TEXT_MIB" "$SMALL" "$SMALL_MIB" <<'EOF'
import os, random, sys
names, files, folders, text, mib = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4], int(sys.argv[5])
small, small_mib = sys.argv[6], int(sys.argv[7])
exts = ["txt", "log", "c", "h", "md", "json", "png", "cpp", "py", "html"]
per = files // folders
for d in range(folders):
    path = os.path.join(names, "group%02d" % (d % 20), "folder%04d" % d)
    os.makedirs(path, exist_ok=True)
    for i in range(per):
        open(os.path.join(path, "file%06d.%s" % (d * per + i, exts[(d + i) % len(exts)])), "w").close()

# Text files cut from a pool of words; a few hold the needle somewhere inside.
rnd = random.Random(7)
words = ["".join(rnd.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(rnd.randint(2, 9))) for _ in range(5000)]
pool = bytearray()
while len(pool) < 8 << 20:
    line = " ".join(rnd.choice(words) for _ in range(12)) + "\n"
    pool += line.encode()
def texts(root, mib, size):
    for n in range((mib << 20) // size):
        d = os.path.join(root, "part%02d" % (n % 16))
        os.makedirs(d, exist_ok=True)
        start = rnd.randrange(0, len(pool) - size)
        data = bytearray(pool[start:start + size])
        if n % 97 == 5:
            at = rnd.randrange(0, size - 32)
            data[at:at + 14] = b"Orvo_Needle_42"
        with open(os.path.join(d, "doc%05d.txt" % n), "wb") as f:
            f.write(data)
texts(text, mib, 512 << 10)
texts(small, small_mib, 32 << 10)
EOF

ratio() {   # label orvo_ms tool_ms [target]
  awk -v l="$1" -v a="$2" -v b="$3" -v t="${4:-1.0}" 'BEGIN { printf "%-22s %.2f (target <= %s)\n", l, (b > 0 ? a / b : 0), t }'
}

# Warm the cache.
"$CLI" find --location "$NAMES" --name '*.log' > /dev/null
find "$NAMES" -name '*.log' > /dev/null
cat "$TEXT"/*/* > /dev/null

rows=$("$CLI" find --location "$NAMES" --name '*.log' | wc -l)
want=$(find "$NAMES" -name '*.log' | wc -l)
echo "name search: orvo-cli $((rows - 1)) rows, find $want"
cli_ms=$(best_of 5 "$CLI" find --location "$NAMES" --name '*.log')
find_ms=$(best_of 5 find "$NAMES" -name '*.log')
echo "orvo-cli find --name:  ${cli_ms} ms"
echo "find -name:            ${find_ms} ms"
ratio "name ratio:" "$cli_ms" "$find_ms" 1.5

export LC_ALL=C
echo "load average: $(cat /proc/loadavg)"
for tree in "$TEXT" "$SMALL"; do
  echo "-- $(find "$tree" -type f | wc -l) files, $(du -sm "$tree" | cut -f1) MiB"
  cat "$tree"/*/* > /dev/null
  for mode in "-F Orvo_Needle_42 --case-sensitive" "-iF orvo_needle_42"; do
    set -- $mode
    found=$("$CLI" find --location "$tree" --containing "$2" ${3:-} | awk -F '\t' 'NF >= 4 { print $2 "/" $1 }' | sort)
    want=$(grep -rl "$1" "$2" "$tree" | sort)
    [ "$found" = "$want" ] && same=yes || same=NO
    echo "content search $1: orvo-cli $(echo "$found" | wc -l) files, grep $(echo "$want" | wc -l), the same: $same"
  done
  cli_ms=$(best_of 5 "$CLI" find --location "$tree" --containing Orvo_Needle_42 --case-sensitive)
  grep_ms=$(best_of 5 grep -rlF Orvo_Needle_42 "$tree")
  echo "orvo-cli --containing: ${cli_ms} ms"
  echo "grep -rlF:             ${grep_ms} ms"
  ratio "content ratio:" "$cli_ms" "$grep_ms"

  cli_ms=$(best_of 5 "$CLI" find --location "$tree" --containing orvo_needle_42)
  grep_ms=$(best_of 5 grep -rliF orvo_needle_42 "$tree")
  echo "orvo-cli, ignoring case: ${cli_ms} ms"
  echo "grep -rliF:              ${grep_ms} ms"
  ratio "ignore-case ratio:" "$cli_ms" "$grep_ms"
done
echo "load average: $(cat /proc/loadavg)"
