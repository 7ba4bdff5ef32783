#!/usr/bin/env python3
"""Benchmark data: (a) one 200 MB file, half text and half random; (b) 20,000 files of 1-8 KiB nested three deep
(20 folders of 10 folders of 100 files; the same 100 names in every leaf folder, as a restore puts every file back
in its own folder)."""
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
if which != "small":
    with open(os.path.join(big, "big.bin"), "wb") as f:
        chunk = text(1 << 20)
        for i in range(100):
            f.write(chunk[i * 997 % 4096:] + chunk[:i * 997 % 4096])
        f.write(os.urandom(100 << 20))
small = os.path.join(root, "small")
pool = text(8 << 20)
for top in range(20):
    for mid in range(10):
        folder = os.path.join(small, "t%02d" % top, "m%d" % mid)
        os.makedirs(folder, exist_ok=True)
        for i in range(100):
            n = rnd.randint(1024, 8192)
            at = rnd.randint(0, len(pool) - n)
            with open(os.path.join(folder, "f%03d.txt" % i), "wb") as f:
                f.write(pool[at:at + n])
