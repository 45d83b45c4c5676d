#!/usr/bin/env python3
"""The include checker passes a tree that keeps to the ladder and fails each kind of breach."""
import sys

from checker_cases import checker_path, run_cases

CHECKER = checker_path("check_includes")

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


if __name__ == "__main__":
    sys.exit(run_cases(CHECKER, CASES))
