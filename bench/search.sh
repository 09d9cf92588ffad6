#!/usr/bin/env bash
# Search benchmark: a generated tree of 200,000 files in 2,000 folders searched by name (orvo-cli find against
# find -name) and a 500 MiB text tree searched by content (against grep -rlF, and -rliF for the case-insensitive
# search); best of 5 each, warm cache, in the same run.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
FILES=${FILES:-200000}
FOLDERS=${FOLDERS:-2000}
TEXT_MIB=${TEXT_MIB:-500}
build_targets orvo-cli
CLI=$BUILD/bin/orvo-cli

NAMES=$TMP/names
TEXT=$TMP/text

echo "generating $FILES files in $FOLDERS folders and $TEXT_MIB MiB of text"
python3 - "$NAMES" "$FILES" "$FOLDERS" "$TEXT" "$TEXT_MIB" <<'EOF'
import os, random, sys
names, files, folders, text, mib = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4], int(sys.argv[5])
exts = ["txt", "log", "c", "h", "md", "json", "png", "cpp", "py", "html"]
per = files // folders
for d in range(folders):
    path = os.path.join(names, "group%02d" % (d % 20), "folder%04d" % d)
    os.makedirs(path, exist_ok=True)
    for i in range(per):
        open(os.path.join(path, "file%06d.%s" % (d * per + i, exts[(d + i) % len(exts)])), "w").close()

# Text files of 512 KiB cut from a pool of words; a few hold the needle somewhere inside.
rnd = random.Random(7)
words = ["".join(rnd.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(rnd.randint(2, 9))) for _ in range(5000)]
pool = bytearray()
while len(pool) < 8 << 20:
    line = " ".join(rnd.choice(words) for _ in range(12)) + "\n"
    pool += line.encode()
size = 512 << 10
count = (mib << 20) // size
for n in range(count):
    d = os.path.join(text, "part%02d" % (n % 16))
    os.makedirs(d, exist_ok=True)
    start = rnd.randrange(0, len(pool) - size)
    data = bytearray(pool[start:start + size])
    if n % 97 == 5:
        at = rnd.randrange(0, size - 32)
        data[at:at + 14] = b"Orvo_Needle_42"
    with open(os.path.join(d, "doc%05d.txt" % n), "wb") as f:
        f.write(data)
EOF

ratio() {   # label orvo_ms tool_ms
  awk -v l="$1" -v a="$2" -v b="$3" 'BEGIN { printf "%-22s %.2f (target <= 1.5)\n", l, (b > 0 ? a / b : 0) }'
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
ratio "name ratio:" "$cli_ms" "$find_ms"

export LC_ALL=C
rows=$("$CLI" find --location "$TEXT" --containing Orvo_Needle_42 --case-sensitive | wc -l)
want=$(grep -rlF Orvo_Needle_42 "$TEXT" | wc -l)
echo "content search: orvo-cli $((rows - 1)) rows, grep $want"
cli_ms=$(best_of 5 "$CLI" find --location "$TEXT" --containing Orvo_Needle_42 --case-sensitive)
grep_ms=$(best_of 5 grep -rlF Orvo_Needle_42 "$TEXT")
echo "orvo-cli --containing: ${cli_ms} ms"
echo "grep -rlF:             ${grep_ms} ms"
ratio "content ratio:" "$cli_ms" "$grep_ms"

cli_ms=$(best_of 5 "$CLI" find --location "$TEXT" --containing orvo_needle_42)
grep_ms=$(best_of 5 grep -rliF orvo_needle_42 "$TEXT")
echo "orvo-cli, ignoring case: ${cli_ms} ms"
echo "grep -rliF:              ${grep_ms} ms"
ratio "ignore-case ratio:" "$cli_ms" "$grep_ms"
