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

UTF8 = dict(os.environ, LC_ALL="C.UTF-8")
table = set()  # (tool, direction, step) that gave exact names


def tree_snapshot(root):
    """{relative path: bytes, or None for a folder} of a folder tree."""
    snap = {}
    for d, dirs, fs in os.walk(root):
        for n in dirs:
            snap[os.path.relpath(os.path.join(d, n), root)] = None
        for n in fs:
            snap[os.path.relpath(os.path.join(d, n), root)] = open(os.path.join(d, n), "rb").read()
    return snap


def peer_names_and_tree(tool, arc, out):
    """The names a peer lists for our archive and the tree it extracts (the part below the stored "tree")."""
    if tool == "unzip":
        listing = subprocess.run(["unzip", "-Z1", arc], stdout=subprocess.PIPE, env=UTF8).stdout
        names = listing.decode("utf-8", errors="replace").splitlines()
        r = subprocess.run(["unzip", "-q", "-o", arc, "-d", out], stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                           env=UTF8)
    else:
        listing = subprocess.run(["7z", "l", "-slt", arc], stdout=subprocess.PIPE, env=UTF8).stdout
        names = [line[7:] for line in listing.decode("utf-8", errors="replace").splitlines()
                 if line.startswith("Path = ")][1:]
        r = subprocess.run(["7z", "x", "-y", "-o" + out, arc], stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                           env=UTF8)
    if r.returncode != 0:
        fail("%s extraction: %s" % (tool, r.stdout[-300:]))
    roots = [d for d, _, _ in os.walk(out) if os.path.basename(d) == "tree"]
    return names, tree_snapshot(roots[0]) if roots else {}


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
    failed_before = len(failures)
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
            if len(failures) == failed_before:
                table.add(("python", "ours -> python", "list and extract"))
            # Info-ZIP and 7-Zip must list and extract every name exactly (they take non-ASCII names from the
            # Unicode Path field), and the extracted tree must equal the source, byte for byte.
            for tool in ("unzip", "7z"):
                listed, extracted = peer_names_and_tree(tool, arc, out + "/" + tool)
                want_names = {"tree/" + rel for rel in manifest["files"]} | {"tree/emptydir"}
                got_names = {n[n.index("tree/"):].rstrip("/") for n in listed if "tree/" in n}
                missing = sorted(n for n in want_names if n not in got_names)
                if missing:
                    fail("%s lists wrong names on choice %d: missing %s, listed %s" % (tool, choice, missing,
                                                                                         sorted(got_names)))
                else:
                    table.add((tool, "ours -> " + tool, "list"))
                want_tree = tree_snapshot(tree)
                if extracted != want_tree:
                    fail("%s extracted tree differs on choice %d: %s" % (tool, choice,
                                                                         sorted(set(extracted) ^ set(want_tree))))
                else:
                    table.add((tool, "ours -> " + tool, "extract"))
    ok("choice %d: names, contents and folders read back by Python, unzip and 7z" % choice)


# ---- peers -> ours (every entry comes back under its stored path: the peers stored "tree/<rel>")
def expect_restored(name, target, wanted):
    for rel in wanted:
        path = os.path.join(target, "tree", *rel.split("/"))
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
        if not os.path.isdir(os.path.join(target, "tree", "emptydir")):
            fail("%s: empty folder not restored as a folder" % name)
        else:
            ok("%s archive restores to identical bytes" % name)
            table.add((name.split("-")[0], name + " -> ours", "restore"))

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

# Entries named like the staging folder: restored as any other, and still there after the clean-up.
for name in manifest["staging"]:
    target = os.path.join(work, "hostile", name, "target")
    got = result.get("restore " + name)
    snap = tree_snapshot(target)
    want = {"coldrith-staging~1": None, "coldrith-staging~2": b"file named like staging",
            os.path.join("coldrith-staging~1", "inner.txt"): b"inner"}
    if got != 0 or snap != want:
        fail("%s: outcome %s, target holds %s" % (name, got, sorted(snap)))
    else:
        ok("%s restored in full, the staging folder gone" % name)

# Nothing anywhere else: no hostile name may appear anywhere in the bin folder (drive Q:). Other test
# programs write into that folder at the same time, so its listing as a whole cannot be compared.
for n in ("evil", "abs_evil", "drive_evil", "unc_evil", "y_evil"):
    for d, _, fs in os.walk(os.path.dirname(work)):
        for f in fs:
            if n in f:
                fail("a hostile entry was written: %s" % os.path.join(d, f))

# The closing table: which tool read which way with every name exact.
print("names exact (tool, direction, step):")
for row in sorted(table):
    print("  %-8s %-22s %s" % row)
print("%d failure(s)" % len(failures))
sys.exit(1 if failures else 0)
