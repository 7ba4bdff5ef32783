#!/usr/bin/env python3
"""Fails when code includes a header of a layer above its own: platform/ < libs/ < app/.

The system's libraries are built on the platform and the program on both; a header of app/ included from libs/,
or one of libs/ or app/ included from platform/, would tie a lower layer to what is built on it. An include is
resolved the way the build finds it: beside the including file, else by its path below any folder of the tree.
An include that a header of the file's own layer or a lower one satisfies is fine.
"""
import os
import re
import sys

LAYERS = ["platform", "libs", "app"]
SOURCE_SUFFIXES = (".h", ".hpp", ".c", ".cpp", ".rc")
INCLUDE = re.compile(r'^[ \t]*#[ \t]*include[ \t]*["<]([^">]+)[">]', re.M)


def layer_of(rel):
    top = rel.split("/", 1)[0]
    return LAYERS.index(top) if top in LAYERS else None


def main(root):
    files = {}
    for top in LAYERS:
        for folder, _, names in os.walk(os.path.join(root, top)):
            for name in names:
                if name.endswith(SOURCE_SUFFIXES):
                    rel = os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")
                    files[rel] = layer_of(rel)
    # Every tail of every path ("a/b/c.h", "b/c.h", "c.h") to the layers that have a file there.
    by_tail = {}
    for rel, layer in files.items():
        parts = rel.split("/")
        for i in range(len(parts)):
            by_tail.setdefault("/".join(parts[i:]), set()).add(layer)
    problems = []
    for rel, layer in sorted(files.items()):
        with open(os.path.join(root, rel), encoding="utf-8", errors="replace") as f:
            text = f.read()
        for match in INCLUDE.finditer(text):
            name = match.group(1)
            beside = os.path.normpath(os.path.join(os.path.dirname(rel), name)).replace(os.sep, "/")
            if beside in files:
                continue
            layers = by_tail.get(name)
            if layers and min(layers) > layer:
                line = text.count("\n", 0, match.start()) + 1
                problems.append(f"{rel}:{line}: includes \"{name}\" of {LAYERS[min(layers)]}/")
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")))
