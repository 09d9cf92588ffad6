#!/usr/bin/env python3
"""Writes two source-like files of about LINES lines, the second an edited release of the first.

usage: source_pair.py OUT1 OUT2 LINES HUNKS ENCODING

The files look like a large C source: functions with comments (some in Chinese), declarations, braces
and blank lines, so many lines repeat. The second file differs in about HUNKS places spread over the
file: changed lines, inserted and deleted blocks, and functions added, removed and moved. ENCODING is
the files' text encoding (utf-8 or gb18030).
"""
import random
import sys

out1, out2, total, hunks, encoding = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), sys.argv[5]
rnd = random.Random(11)
idents = ["buf", "len", "ctx", "node", "item", "count", "offset", "state", "flags", "result", "entry", "list",
          "size", "index", "value", "key", "hash", "next", "prev", "data", "name", "path", "mode", "err"]
types = ["int", "size_t", "char *", "struct node *", "unsigned", "long", "bool", "const char *", "void *"]
words = ["检查", "缓冲区", "长度", "节点", "释放", "锁定", "更新", "返回", "错误", "文件", "路径", "状态"]


def ident():
    return rnd.choice(idents) + (str(rnd.randint(0, 9)) if rnd.random() < 0.3 else "")


def statement():
    t = "    " * rnd.randint(1, 3)
    r = rnd.random()
    if r < 0.25:
        return t + "%s = %s_%s(%s, %s);" % (ident(), ident(), rnd.choice(["get", "set", "find", "init"]), ident(), ident())
    if r < 0.40:
        return t + "if (%s %s %s)" % (ident(), rnd.choice(["==", "!=", "<", ">="]), rnd.choice(["NULL", "0", ident()]))
    if r < 0.50:
        return t + "return %s;" % rnd.choice(["0", "-1", ident(), "NULL"])
    if r < 0.58:
        return t + "/* %s %s %s */" % (rnd.choice(words), ident(), rnd.choice(words))
    if r < 0.66:
        return t + "%s %s = %s;" % (rnd.choice(types), ident(), rnd.choice(["0", "NULL", ident()]))
    if r < 0.74:
        return t + "%s += %s;" % (ident(), rnd.choice(["1", ident(), "sizeof(*%s)" % ident()]))
    if r < 0.80:
        return ""
    if r < 0.86:
        return t + "}"
    if r < 0.92:
        return t + "break;"
    return t + "%s->%s = %s;" % (ident(), ident(), ident())


def function(k):
    lines = ["", "/*", " * %s_%d: %s%s" % (ident(), k, rnd.choice(words), rnd.choice(words)), " */",
             "static %s %s_%d(%s %s, %s %s)" % (rnd.choice(types), ident(), k, rnd.choice(types), ident(),
                                                rnd.choice(types), ident()), "{"]
    lines += [statement() for _ in range(rnd.randint(5, 60))]
    lines.append("}")
    return lines


funcs = []
count = 0
while count < total:
    funcs.append(function(len(funcs)))
    count += len(funcs[-1])

# The second release: each function is edited with a probability that gives about HUNKS differences.
chance = hunks / len(funcs)
second = []
moved = []
for f in funcs:
    r = rnd.random()
    if r < chance * 0.05:
        continue                                    # removed
    if r < chance * 0.10:
        moved.append(f)                             # moved further down
        continue
    g = list(f)
    if r < chance:
        at = rnd.randrange(6, len(g))
        e = rnd.random()
        if e < 0.5:
            g[at] = statement() + " /* %s */" % rnd.choice(words)           # a changed line
        elif e < 0.75:
            g[at:at] = [statement() for _ in range(rnd.randint(1, 8))]     # inserted lines
        else:
            del g[at:at + rnd.randint(1, 5)]                               # deleted lines
    second.append(g)
    if r > 1 - chance * 0.05:
        second.append(function(len(funcs) + len(second)))                # a new function
    if moved and rnd.random() < 0.05:
        second.append(moved.pop(0))
second += moved

header = ["#include <stdio.h>", "#include <stdlib.h>", "#include <string.h>", ""]
for path, body in ((out1, funcs), (out2, second)):
    with open(path, "wb") as out:
        out.write(("\n".join(header + [line for f in body for line in f]) + "\n").encode(encoding))
