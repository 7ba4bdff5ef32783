#!/usr/bin/env python3
"""Builds the interop fixtures: a data tree, archives written by other zip tools, a hostile corpus, and the
batch of commands ColdrithZipTool runs under Wine (paths on drive Q:, the build's bin folder)."""
import json
import os
import random
import shutil
import struct
import subprocess
import sys
import zipfile
import zlib

work = sys.argv[1]          # host path of the work folder, inside the bin folder
qwork = sys.argv[2]         # the same folder as the Windows program sees it (Q:\...)


def q(rel):
    return qwork + "\\" + rel.replace("/", "\\")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


# ---- data tree: an empty folder, a 0-byte file, non-ASCII names, text, random, nesting; unique last names
rnd = random.Random(7)
tree = os.path.join(work, "data", "tree")
text = b"".join(rnd.choice([b"backup ", b"restore ", b"archive ", b"\r\n", b"entry "]) for _ in range(60000))
files = {
    "zero.bin": b"",
    "text.txt": text,
    "random.bin": bytes(rnd.getrandbits(8) for _ in range(300000)),
    "sub/inner.txt": text[:5000],
    "sub/deeper/deep.dat": bytes(range(256)) * 40,
    "caf\u00e9.txt": "caf\u00e9 OEM".encode(),
    "sub/\u0444\u0430\u0439\u043b.txt": "cyrillic".encode(),
    "\u6587\u4ef6.txt": "cjk".encode(),
    "sub/na\u00efve \u00c5ngstr\u00f6m.txt": "accented, OEM".encode(),
    "\u041f\u0430\u043f\u043a\u0430/\u6771\u4eac \U0001f600.txt": "cyrillic folder, cjk and emoji".encode(),
}
for rel, data in files.items():
    write(os.path.join(tree, rel), data)
os.makedirs(os.path.join(tree, "emptydir"), exist_ok=True)

# ---- archives written by peers
peers = os.path.join(work, "peers")
os.makedirs(peers, exist_ok=True)


def run(cmd, cwd):
    subprocess.run(cmd, cwd=cwd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


datadir = os.path.join(work, "data")
peer_archives = {}
for name, args in {"zip-r": ["-r"], "zip-0": ["-r", "-0"], "zip-9": ["-r", "-9"]}.items():
    out = os.path.join(peers, name + ".zip")
    run(["zip", "-q"] + args + [out, "tree"], datadir)
    peer_archives[name] = out
out = os.path.join(peers, "zip-comment.zip")
run(["zip", "-q", "-r", out, "tree"], datadir)
subprocess.run(["zip", "-q", "-z", out], input=b"comment with PK\x05\x06 inside\n", check=True)
peer_archives["zip-z"] = out
out = os.path.join(peers, "7z.zip")
run(["7z", "a", "-tzip", out, "tree"], datadir)
peer_archives["7z"] = out
for name, method in {"python-stored": zipfile.ZIP_STORED, "python-deflated": zipfile.ZIP_DEFLATED}.items():
    out = os.path.join(peers, name + ".zip")
    with zipfile.ZipFile(out, "w", method) as zf:
        for root, dirs, names in os.walk(tree):
            for d in dirs:
                zf.write(os.path.join(root, d), os.path.relpath(os.path.join(root, d), datadir))
            for n in names:
                zf.write(os.path.join(root, n), os.path.relpath(os.path.join(root, n), datadir))
    peer_archives[name] = out

# Archives that are valid but use what this layer does not: refused cleanly, entry by entry or as a whole.
unsupported = {}
out = os.path.join(peers, "python-bzip2-lzma.zip")
with zipfile.ZipFile(out, "w") as zf:
    zf.writestr(zipfile.ZipInfo("plain.txt"), b"deflated entry", compress_type=zipfile.ZIP_DEFLATED)
    zf.writestr(zipfile.ZipInfo("bz.txt"), b"bzip2 entry" * 10, compress_type=zipfile.ZIP_BZIP2)
    zf.writestr(zipfile.ZipInfo("xz.txt"), b"lzma entry" * 10, compress_type=zipfile.ZIP_LZMA)
unsupported["bzip2-lzma"] = (out, 2)  # two entries skipped, plain.txt restored
out = os.path.join(peers, "zip-fz.zip")
run(["zip", "-q", "-fz", "-r", out, "tree"], datadir)
unsupported["zip64"] = (out, 100)     # refused as a whole
out = os.path.join(peers, "zip-P.zip")
run(["zip", "-q", "-P", "pw", out, "tree/text.txt", "tree/zero.bin"], datadir)
unsupported["encrypted"] = (out, 2)   # no password is ever set: both entries refused

# ---- hostile corpus
hostile = os.path.join(work, "hostile")


def local(name, data, method=0, crc=None, csize=None, usize=None, flags=0):
    if method == 8:
        c = zlib.compressobj(6, zlib.DEFLATED, -15)
        comp = c.compress(data) + c.flush()
    else:
        comp = data
    crc = zlib.crc32(data) if crc is None else crc
    csize = len(comp) if csize is None else csize
    usize = len(data) if usize is None else usize
    nb = name.encode("utf-8")
    flags |= 0x800 if any(ord(ch) > 127 for ch in name) else 0
    hdr = struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, flags, method, 0, 0x21, crc, csize, usize, len(nb), 0)
    return hdr + nb + comp, (nb, flags, method, crc, csize, usize)


def craft(entries, overlap=False, cd_count=None):
    """entries: list of (name, data, dict). Writes local records then a central directory."""
    body = b""
    centrals = []
    for name, data, kw in entries:
        rec, info = local(name, data, **kw)
        centrals.append((len(body), info))
        body += rec
    if overlap and len(centrals) > 1:
        centrals[1] = (centrals[0][0], centrals[1][1])
    cd = b""
    for offset, (nb, flags, method, crc, csize, usize) in centrals:
        cd += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, flags, method, 0, 0x21, crc, csize, usize,
                          len(nb), 0, 0, 0, 0, 0x20, offset) + nb
    n = len(centrals) if cd_count is None else cd_count
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, n, n, len(cd), len(body), 0)
    return body + cd + end


cases = {}
cases["zip-slip"] = (craft([(n, b"evil", {}) for n in [
    "../evil1.txt", "../../evil2.txt", "/abs_evil.txt", "C:/drive_evil.txt", "C:\\drive2_evil.txt",
    "\\\\srv\\share\\unc_evil.txt", "x/../../y_evil.txt", "NUL", "com1.txt", "a:b", "q?x", "..", "dot.",
    "COM\u00b9", "lpt\u00b2.txt", "Com\u00b3 .log"]]), 16)
good = craft([("a.txt", b"A" * 5000, {"method": 8}), ("b.txt", b"B" * 3000, {"method": 8})])
cases["truncated-half"] = (good[:len(good) // 2], 100)
cases["truncated-end-record"] = (good[:-1], 100)
cases["truncated-data"] = (craft([("a.txt", b"hello world" * 100, {"method": 0, "csize": 1100})])[:60] + b"", 100)
cases["wrong-crc"] = (craft([("a.txt", b"payload" * 100, {"method": 8, "crc": 0x12345678}),
                             ("b.txt", b"x", {"crc": 1})]), 2)
cases["overlapping"] = (craft([("a.txt", b"first" * 10, {}), ("b.txt", b"second" * 10, {})], overlap=True), 100)
cases["huge-usize"] = (craft([("a.txt", b"tiny" * 10, {"method": 8, "usize": 0xFFFFFFF0})]), 1)
cases["huge-csize"] = (craft([("a.txt", b"tiny", {"method": 8, "csize": 0xFFFFFFF0})]), 100)
cases["stored-size-mismatch"] = (craft([("a.txt", b"tiny" * 10, {"usize": 9999})]), 1)
cases["count-mismatch"] = (craft([("a.txt", b"x", {})], cd_count=40), 100)
# Entries named like the restore's staging folder are restored like any other and survive its clean-up.
staging = {"staging-names": craft([("coldrith-staging~1/", b"", {}), ("coldrith-staging~2", b"file named like staging", {}),
                                   ("coldrith-staging~1/inner.txt", b"inner", {})])}
for name, data in staging.items():
    write(os.path.join(hostile, name, "archive.fbk"), data)
    os.makedirs(os.path.join(hostile, name, "target"), exist_ok=True)

for name, (data, expected) in cases.items():
    write(os.path.join(hostile, name, "archive.fbk"), data)
    os.makedirs(os.path.join(hostile, name, "target"), exist_ok=True)
    write(os.path.join(hostile, name, "sentinel.txt"), b"must stay unchanged")

# ---- the Wine batch: our backups, restores of peer archives, restores of the unsupported and hostile ones
lines, labels = [], []
for choice in (0, 1, 2):
    lines.append(["backup", q("ours"), "ours%d" % choice, str(choice), q("data/tree")])
    labels.append("backup ours%d" % choice)
for name in peer_archives:
    lines.append(["restore", q("peers/" + os.path.basename(peer_archives[name])), q("restored/" + name)])
    labels.append("restore " + name)
for name, (path, _) in unsupported.items():
    lines.append(["restore", q("peers/" + os.path.basename(path)), q("restored/" + name)])
    labels.append("restore " + name)
for name in list(cases) + list(staging):
    lines.append(["restore", q("hostile/%s/archive.fbk" % name), q("hostile/%s/target" % name)])
    labels.append("restore " + name)
os.makedirs(os.path.join(work, "ours"), exist_ok=True)
with open(os.path.join(work, "batch.txt"), "w", encoding="utf-8") as f:
    for line in lines:
        f.write("\t".join(line) + "\n")

manifest = {
    "files": {k: len(v) for k, v in files.items()},
    "peers": {k: os.path.relpath(v, work) for k, v in peer_archives.items()},
    "unsupported": {k: v[1] for k, v in unsupported.items()},
    "hostile": {k: v[1] for k, v in cases.items()},
    "staging": list(staging),
    "commands": labels,
}
with open(os.path.join(work, "manifest.json"), "w") as f:
    json.dump(manifest, f, indent=1)
