#!/usr/bin/env python3
"""Runs scripts/check-layers on small made-up source trees: a clean one must
pass, and an upward include and a circle of files must each fail with their
names. Usage: check_layers_test.py <scripts/check-layers>"""

import os
import subprocess
import sys
import tempfile

checker = sys.argv[1]


def tree(files):
    root = tempfile.mkdtemp(prefix="check-layers-")
    for path, text in files.items():
        os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
        with open(os.path.join(root, path), "w") as out:
            out.write(text)
    return root


def run(files):
    result = subprocess.run([sys.executable, checker, tree(files)], capture_output=True, text=True)
    return result.returncode, result.stdout


failures = []


def expect(condition, what, output):
    if not condition:
        failures.append("%s\n%s" % (what, output))


clean = {
    "platform/Ini.h": "#pragma once\n",
    "skins/Skin.h": '#include "platform/Ini.h"\n',
    "app/Deck.h": '#include "skins/Skin.h"\n#include "Menu.h"\n',
    "app/Menu.cpp": '#include "Menu.h"\n#include <QMenu>\n',
    "app/Menu.h": "#pragma once\n",
}
status, output = run(clean)
expect(status == 0 and "skins -> platform" in output, "a tree that keeps the order passes", output)

upward = dict(clean)
upward["skins/Skin.cpp"] = '#include "Skin.h"\n#include "app/Deck.h"\n'
status, output = run(upward)
expect(status == 1 and 'skins/Skin.cpp:2: skins includes "app/Deck.h" of app/' in output,
       "an include of app/ from skins/ fails with its line", output)

circle = dict(clean)
circle["app/Menu.cpp"] = '#include "Menu.h"\n#include "Deck.h"\n'
circle["app/Deck.cpp"] = '#include "Deck.h"\n'
status, output = run(circle)
expect(status == 1 and "include circle: app/Deck -> app/Menu -> app/Deck" in output,
       "a header and source pair that include each other's pair form a circle", output)

for failure in failures:
    print("FAIL  " + failure)
print("%d passed, %d failed" % (3 - len(failures), len(failures)))
sys.exit(1 if failures else 0)
