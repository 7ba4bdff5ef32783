#!/usr/bin/env python3
"""Checks the interop run: our archives against Info-ZIP, 7z and Python; peer archives restored by us;
the unsupported and hostile archives refused with nothing written outside their targets."""
import json
import os
import re
import subprocess
import sys
import tempfile
import zipfile
import zlib

work, log_path = sys.argv[1], sys.argv[2]
manifest = json.load(open(os.path.join(work, "manifest.json")))
tree = os.path.join(work, "data", "tree")
failures = []


def fail(msg):
    failures.append(msg)
    print("FAIL:", msg)


def ok(msg):
    print("ok:", msg)


# ---- outcomes of the Wine batch, in command order
log = open(log_path, encoding="utf-8", errors="replace").read()
outcomes = [int(m) for m in re.findall(r"^command \w+ outcome (-?\d+)", log, re.M)]
if len(outcomes) != len(manifest["commands"]):
    fail("the batch ran %d of %d commands" % (len(outcomes), len(manifest["commands"])))
result = dict(zip(manifest["commands"], outcomes))

# ---- ours -> peers
for choice in (0, 1, 2):
    arc = os.path.join(work, "ours", "ours%d.fbk" % choice)
    if result.get("backup ours%d" % choice) != 0 or not os.path.exists(arc):
        fail("backup choice %d: outcome %s" % (choice, result.get("backup ours%d" % choice)))
        continue
    for tool, cmd in (("unzip -t", ["unzip", "-t", arc]), ("7z t", ["7z", "t", arc]),
                      ("python zipfile -t", [sys.executable, "-m", "zipfile", "-t", arc])):
        r = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        if r.returncode != 0:
            fail("%s on choice %d: %s" % (tool, choice, r.stdout.decode(errors="replace")[-500:]))
        else:
            ok("%s accepts our archive (choice %d)" % (tool, choice))
    with zipfile.ZipFile(arc) as zf:
        infos = zf.infolist()
        names = [i.filename for i in infos]
        for i in infos:
            if i.create_version != 20 or i.extract_version != 20 or i.create_system != 0:
                fail("made-by/needed of %s: %d/%d host %d" % (i.filename, i.create_version, i.extract_version,
                                                              i.create_system))
        dirs = [n for n in names if n.endswith("/")]
        if not any(n.endswith("tree/emptydir/") for n in dirs):
            fail("no directory entry for the empty folder: %s" % names)
        for rel, size in manifest["files"].items():
            match = [n for n in names if n.endswith("tree/" + rel)]
            if len(match) != 1:
                fail("entry for %s: %s" % (rel, match))
                continue
            data = zf.read(match[0])
            if data != open(os.path.join(tree, rel), "rb").read():
                fail("content of %s differs (python read)" % rel)
            if choice == 2 and size:
                # Same zlib on both sides: our deflate stream equals Python's raw level-9 stream.
                info = zf.getinfo(match[0])
                with open(arc, "rb") as f:
                    f.seek(info.header_offset + 26)
                    n, m = int.from_bytes(f.read(2), "little"), int.from_bytes(f.read(2), "little")
                    f.seek(info.header_offset + 30 + n + m)
                    raw = f.read(info.compress_size)
                c = zlib.compressobj(9, zlib.DEFLATED, -15)
                if raw != c.compress(data) + c.flush():
                    fail("deflate stream of %s differs from zlib's" % rel)
        with tempfile.TemporaryDirectory() as out:
            zf.extractall(out + "/python")
            for rel in manifest["files"]:
                got = [os.path.join(d, f) for d, _, fs in os.walk(out + "/python") for f in fs
                       if os.path.join(d, f).endswith("tree/" + rel)]
                if len(got) != 1 or open(got[0], "rb").read() != open(os.path.join(tree, rel), "rb").read():
                    fail("python extracted %s: %s" % (rel, got))
            # Info-ZIP on Linux turns OEM names into Latin-1 bytes: compare its output by content.
            r = subprocess.run(["unzip", "-q", "-o", arc, "-d", out + "/unzip"], stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, env=dict(os.environ, LC_ALL="C.UTF-8"))
            if r.returncode != 0:
                fail("unzip extraction: %s" % r.stdout[-300:])
            got = sorted(open(os.path.join(d, f), "rb").read() for d, _, fs in os.walk(out + "/unzip") for f in fs)
            want = sorted(open(os.path.join(tree, rel), "rb").read() for rel in manifest["files"])
            if got != want:
                fail("unzip extracted %d files, not the %d of the tree" % (len(got), len(want)))
            empty = [d for d, _, _ in os.walk(out + "/unzip") if d.endswith("tree/emptydir")]
            if not empty:
                fail("unzip did not create the empty folder as a folder")
    ok("choice %d: names, contents and folders read back by Python and unzip" % choice)


# ---- peers -> ours (restore is flat: every entry lands under its last name component)
def expect_restored(name, target, wanted):
    for rel in wanted:
        leaf = rel.split("/")[-1]
        path = os.path.join(target, leaf)
        if not os.path.isfile(path) or open(path, "rb").read() != open(os.path.join(tree, rel), "rb").read():
            fail("%s: %s not restored identically" % (name, rel))
            return False
    return True


for name in manifest["peers"]:
    target = os.path.join(work, "restored", name)
    if result.get("restore " + name) != 0:
        fail("restore of %s: outcome %s" % (name, result.get("restore " + name)))
        continue
    if expect_restored(name, target, manifest["files"]):
        if not os.path.isdir(os.path.join(target, "emptydir")):
            fail("%s: empty folder not restored as a folder" % name)
        else:
            ok("%s archive restores to identical bytes" % name)

for name, expected in manifest["unsupported"].items():
    got = result.get("restore " + name)
    if got != expected:
        fail("%s archive: outcome %s, expected %s" % (name, got, expected))
    else:
        ok("%s archive refused cleanly (outcome %s)" % (name, got))
plain = os.path.join(work, "restored", "bzip2-lzma", "plain.txt")
if not os.path.isfile(plain) or open(plain, "rb").read() != b"deflated entry":
    fail("the supported entry beside bzip2/lzma entries was not restored")

# ---- hostile corpus
for name, expected in manifest["hostile"].items():
    got = result.get("restore " + name)
    if got != expected:
        fail("hostile %s: outcome %s, expected %s" % (name, got, expected))
    else:
        ok("hostile %s refused (outcome %s)" % (name, got))
    sentinel = os.path.join(work, "hostile", name, "sentinel.txt")
    if open(sentinel, "rb").read() != b"must stay unchanged":
        fail("hostile %s changed the sentinel" % name)
    left = sorted(os.listdir(os.path.join(work, "hostile", name)))
    if left != ["archive.fbk", "sentinel.txt", "target"]:
        fail("hostile %s wrote beside its target: %s" % (name, left))
    inside = [f for _, _, fs in os.walk(os.path.join(work, "hostile", name, "target")) for f in fs]
    if inside:
        fail("hostile %s left files in its target: %s" % (name, inside))

# Nothing anywhere else: no hostile name may appear anywhere in the bin folder (drive Q:). Other test
# programs write into that folder at the same time, so its listing as a whole cannot be compared.
for n in ("evil", "abs_evil", "drive_evil", "unc_evil", "y_evil"):
    for d, _, fs in os.walk(os.path.dirname(work)):
        for f in fs:
            if n in f:
                fail("a hostile entry was written: %s" % os.path.join(d, f))

print("%d failure(s)" % len(failures))
sys.exit(1 if failures else 0)
