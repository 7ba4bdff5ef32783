#!/usr/bin/env python3
"""Small seed archives for the fuzzer: stored, deflated, folders, comments, UTF-8 names, descriptors."""
import io
import os
import sys
import zipfile

out = sys.argv[1]
os.makedirs(out, exist_ok=True)


def save(name, build):
    buf = io.BytesIO()
    build(buf)
    with open(os.path.join(out, name), "wb") as f:
        f.write(buf.getvalue())


def plain(buf):
    with zipfile.ZipFile(buf, "w", zipfile.ZIP_DEFLATED) as zf:
        zf.writestr("dir/", b"")
        zf.writestr("dir/a.txt", b"hello hello hello hello" * 20)
        zf.writestr(zipfile.ZipInfo("stored.bin"), bytes(range(64)), compress_type=zipfile.ZIP_STORED)
        zf.writestr("\u0444\u0430\u0439\u043b", b"utf-8 name")
        zf.comment = b"archive comment"


def empty(buf):
    with zipfile.ZipFile(buf, "w"):
        pass


def streamed(buf):
    class Unseekable(io.RawIOBase):
        def writable(self):
            return True

        def write(self, b):
            return buf.write(b)
    with zipfile.ZipFile(Unseekable(), "w", zipfile.ZIP_DEFLATED) as zf:
        with zf.open("streamed.txt", "w") as f:
            f.write(b"data descriptor follows " * 10)


save("plain.zip", plain)
save("empty.zip", empty)
save("streamed.zip", streamed)
