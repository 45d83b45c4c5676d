#!/usr/bin/env python3
"""The include checker passes a tree that keeps to the ladder and fails each kind of breach."""
import os
import subprocess
import sys
import tempfile

CHECKER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                       "check_includes")

# Each case: files of a small src/ tree, and a text the report must hold (None: must pass).
CASES = [
    ("down the ladder and inside a room",
     {"deck/card.h": "", "deck/deck.h": '#include "deck/card.h"',
      "view/grid.cpp": '#include "view/grid.h"\n#include "deck/deck.h"', "view/grid.h": "",
      "app/main.cpp": '#include "view/grid.h"\n#include <QString>'}, None),
    ("up the ladder", {"deck/deck.h": '#include "view/grid.h"', "view/grid.h": ""},
     'deck/deck.h: #include "view/grid.h" points at view, above it'),
    ("across one rung", {"view/grid.h": '  #  include "speech/voice.h"', "speech/voice.h": ""},
     "points at speech, beside it"),
    ("a room off the ladder", {"extra/thing.h": ""}, "room 'extra' is on no rung"),
    ("a missing file", {"view/grid.cpp": '#include "view/gone.h"'}, "names no file"),
    ("two units through their sources",
     {"view/a.h": "", "view/a.cpp": '#include "view/b.h"',
      "view/b.h": "", "view/b.cpp": '#include "view/a.h"'},
     "include loop between units: view/a, view/b"),
    ("a longer loop",
     {"view/a.h": '#include "view/b.h"', "view/b.h": '#include "view/c.h"',
      "view/c.h": '#include "view/a.h"'}, "include loop between units: view/a, view/b, view/c"),
]


def run(files):
    with tempfile.TemporaryDirectory() as src:
        for path, text in files.items():
            os.makedirs(os.path.join(src, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(src, path), "w") as f:
                f.write(text + "\n")
        done = subprocess.run([sys.executable, CHECKER, src], capture_output=True, text=True)
        return done.returncode, done.stdout


def main():
    failures = 0
    for name, files, expected in CASES:
        code, report = run(files)
        ok = code == 0 if expected is None else code == 1 and expected in report
        if not ok:
            failures += 1
            print("FAIL %s: exit %d\n%s" % (name, code, report))
    print("%d of %d cases passed" % (len(CASES) - failures, len(CASES)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
