#!/usr/bin/env python3
"""list_imports.py against objdump: for built programs and libraries both read the same import table.

Usage: list_imports_test.py <objdump> <pe file>...
"""
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import list_imports  # noqa: E402

OBJDUMP = sys.argv[1] if len(sys.argv) > 1 else "objdump"
FILES = sys.argv[2:]


def objdump_imports(path):
    """The "DLL Name:" lines of objdump's import tables (not its delay-import tables)."""
    names, inside = [], False
    for line in subprocess.run([OBJDUMP, "-p", path], capture_output=True, text=True, check=True).stdout.splitlines():
        if line.startswith("The Import Tables"):
            inside = True
        elif line.startswith("The ") and inside:
            inside = False
        elif inside and line.strip().startswith("DLL Name:"):
            names.append(line.split(":", 1)[1].strip())
    return names


class ListImports(unittest.TestCase):
    def test_reads_the_import_table_objdump_reads(self):
        self.assertTrue(FILES)
        for path in FILES:
            with self.subTest(path=os.path.basename(path)):
                with open(path, "rb") as f:
                    names = list_imports.imported_libraries(f.read())
                self.assertEqual(objdump_imports(path), names)
                self.assertIn("KERNEL32.dll", names)

    def test_refuses_what_is_not_a_program(self):
        for image in (b"", b"MZ" + b"\0" * 62, b"#!/bin/sh\n" + b"\0" * 100):
            with self.subTest(image=image[:10]):
                with self.assertRaises(ValueError):
                    list_imports.imported_libraries(image)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
