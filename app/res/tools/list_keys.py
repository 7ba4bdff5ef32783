#!/usr/bin/env python3
"""Lists every translation key (IDS_...) that the program's code names, one per line.

Usage: list_keys.py <output file> <source folder>...
Scans .cpp, .h and .rc files; test folders are skipped (their keys are fixtures). A token ending in '_' is a
prefix that code completes at run time and is not listed.
"""
import os
import re
import sys

KEY = re.compile(r"\bIDS_[A-Z0-9_]*[A-Z0-9]\b")


def main():
    out, roots = sys.argv[1], sys.argv[2:]
    keys = set()
    for folder, dirs, files in (entry for root in roots for entry in os.walk(root)):
        dirs[:] = [d for d in dirs if d not in ("tests", "test")]
        for name in files:
            if name.endswith((".cpp", ".h", ".rc")):
                with open(os.path.join(folder, name), encoding="utf-8", errors="replace") as f:
                    keys.update(KEY.findall(f.read()))
    os.makedirs(os.path.dirname(out), exist_ok=True)
    text = "".join(k + "\n" for k in sorted(keys))
    if not os.path.exists(out) or open(out).read() != text:
        with open(out, "w") as f:
            f.write(text)


if __name__ == "__main__":
    main()
