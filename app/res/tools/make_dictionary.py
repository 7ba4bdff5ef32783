#!/usr/bin/env python3
"""Writes the dictionary files dic/<lang>/<name>.ini from readable UTF-8 source tables.

Usage: make_dictionary.py <output dic folder> <table.dic>...
A table holds "MAINID=<n>" (unique per table) and blocks "[IDS_KEY]" followed by "<lang>=<text>" lines.
Each table becomes <name>.ini in every language folder: UTF-16 LE with BOM, CR LF line ends, ending in an
empty line, so that the program's reader keeps every text whole. A language a block lacks is left out of
that language's file (the dictionary test reports it).
"""
import os
import sys

LANGUAGES = ["en", "de", "es", "fr", "it", "jp", "cn", "hk", "ar", "nl", "pt"]


def parse(path):
    mainid, blocks, key = None, [], None
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\r\n")
            where = "%s:%d" % (path, number)
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            if line.startswith("MAINID="):
                mainid = int(line[7:])
            elif line.startswith("[") and line.rstrip().endswith("]"):
                key = line.strip()[1:-1].strip()
                if not key or any(k == key for k, _ in blocks):
                    sys.exit("%s: empty or repeated key %r" % (where, key))
                blocks.append((key, {}))
            elif "=" in line and key is not None:
                lang, text = line.split("=", 1)
                lang, text = lang.strip(), text.strip()
                if lang not in LANGUAGES:
                    sys.exit("%s: unknown language %r" % (where, lang))
                if "[" in text:
                    sys.exit("%s: a text cannot hold '['" % where)
                blocks[-1][1][lang] = text
            else:
                sys.exit("%s: cannot read %r" % (where, line))
    if mainid is None:
        sys.exit("%s: MAINID missing" % path)
    return mainid, blocks


def main():
    out, tables = sys.argv[1], sys.argv[2:]
    seen = {}
    written = {os.path.splitext(os.path.basename(t))[0] + ".ini" for t in tables}
    for lang in LANGUAGES:  # files of tables no longer built would hide missing texts
        folder = os.path.join(out, lang)
        for name in os.listdir(folder) if os.path.isdir(folder) else []:
            if name.endswith(".ini") and name not in written:
                os.remove(os.path.join(folder, name))
    for table in tables:
        mainid, blocks = parse(table)
        if mainid in seen:
            sys.exit("%s: MAINID %d is already used by %s" % (table, mainid, seen[mainid]))
        seen[mainid] = table
        name = os.path.splitext(os.path.basename(table))[0] + ".ini"
        for lang in LANGUAGES:
            lines = ["[DICTIONARY_MAINID]", "MAINID=%d" % mainid, ""]
            for key, texts in blocks:
                if lang in texts:
                    lines += ["[%s]" % key, "1=%s" % texts[lang], ""]
            data = "\ufeff" + "\r\n".join(lines) + "\r\n"
            folder = os.path.join(out, lang)
            os.makedirs(folder, exist_ok=True)
            path = os.path.join(folder, name)
            encoded = data.encode("utf-16-le")
            if not os.path.exists(path) or open(path, "rb").read() != encoded:
                with open(path, "wb") as f:
                    f.write(encoded)


if __name__ == "__main__":
    main()
