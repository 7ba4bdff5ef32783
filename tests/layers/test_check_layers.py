#!/usr/bin/env python3
"""check_layers.py on small trees: which includes it refuses."""
import contextlib
import io
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_layers  # noqa: E402

# Headers of the tree every case starts from.
TREE = {
    "platform/core/include/Low.h": "",
    "libs/repair/include/Mid.h": '#include "Low.h"\n',
    "app/scan/Top.h": '#include "Mid.h"\n#include <Low.h>\n',
}


def run(extra):
    with tempfile.TemporaryDirectory() as root:
        for rel, text in {**TREE, **extra}.items():
            os.makedirs(os.path.dirname(os.path.join(root, rel)), exist_ok=True)
            with open(os.path.join(root, rel), "w") as f:
                f.write(text)
        out = io.StringIO()
        with contextlib.redirect_stdout(out):
            rc = check_layers.main(root)
        return rc, out.getvalue()


class CheckLayersTest(unittest.TestCase):
    def test_downward_includes_pass(self):
        self.assertEqual((0, ""), run({}))

    def test_upward_includes_are_named(self):
        cases = [
            ("libs/repair/src/Fix.cpp", '#include "scan/Top.h"\n', 'libs/repair/src/Fix.cpp:1: includes "scan/Top.h" of app/'),
            ("platform/core/src/Core.cpp", "\n#include <Mid.h>\n", 'platform/core/src/Core.cpp:2: includes "Mid.h" of libs/'),
            ("platform/core/src/Core.cpp", '#include "Top.h"\n', 'platform/core/src/Core.cpp:1: includes "Top.h" of app/'),
        ]
        for rel, text, message in cases:
            with self.subTest(rel=rel, text=text):
                self.assertEqual((1, message + "\n"), run({rel: text}))

    def test_a_header_of_its_own_layer_wins_over_a_higher_one(self):
        # Both platform/ and app/ have a Same.h; the platform file means its own, as the build would find it.
        self.assertEqual((0, ""), run({"platform/core/include/Same.h": "", "app/scan/Same.h": "",
                                       "platform/core/src/Core.cpp": '#include "Same.h"\n'}))

    def test_a_file_beside_the_includer_is_its_own(self):
        self.assertEqual((0, ""), run({"libs/repair/src/Top.h": "", "libs/repair/src/Fix.cpp": '#include "Top.h"\n'}))


if __name__ == "__main__":
    unittest.main()
