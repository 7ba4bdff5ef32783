#!/usr/bin/env python3
"""Benchmark data: (a) one 200 MB file, half text and half random; (b) 20,000 files of 1-8 KiB in 200 folders
(unique names, since a restore puts every file directly into its target)."""
import os
import random
import sys

root = sys.argv[1]
which = sys.argv[2] if len(sys.argv) > 2 else "all"
rnd = random.Random(1)
words = [w.encode() for w in "backup restore archive folder entry registry quorvel data file system the of and to "
         "in is for on with that this from".split()]


def text(n):
    out = bytearray()
    while len(out) < n:
        line = b" ".join(rnd.choice(words) for _ in range(rnd.randint(4, 14)))
        out += line + b" %d\r\n" % rnd.randint(0, 99999)
    return bytes(out[:n])


big = os.path.join(root, "big")
os.makedirs(big, exist_ok=True)
with open(os.path.join(big, "big.bin"), "wb") as f:
    if which == "small":
        f.truncate(0)
    chunk = text(1 << 20)
    for i in range(100 if which != "small" else 0):
        f.write(chunk[i * 997 % 4096:] + chunk[:i * 997 % 4096])
    f.write(os.urandom(100 << 20) if which != "small" else b"")
small = os.path.join(root, "small")
pool = text(8 << 20)
for d in range(200):
    folder = os.path.join(small, "d%03d" % d)
    os.makedirs(folder, exist_ok=True)
    for i in range(100):
        n = rnd.randint(1024, 8192)
        at = rnd.randint(0, len(pool) - n)
        with open(os.path.join(folder, "f%03d_%03d.txt" % (d, i)), "wb") as f:
            f.write(pool[at:at + n])
