"""Runs a source checker of scripts/ over small trees and compares its verdicts with a table."""
import os
import subprocess
import sys
import tempfile


def checker_path(name):
    return os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", name)


def run(checker, files):
    with tempfile.TemporaryDirectory() as src:
        for path, text in files.items():
            os.makedirs(os.path.join(src, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(src, path), "w") as f:
                f.write(text + "\n")
        done = subprocess.run([sys.executable, checker, src], capture_output=True, text=True)
        return done.returncode, done.stdout


# Each case: a name, the files of a small src/ tree, and a text the report must hold (None: the
# tree must pass). Returns the exit status for the test.
def run_cases(checker, cases):
    failures = 0
    for name, files, expected in cases:
        code, report = run(checker, files)
        ok = code == 0 if expected is None else code == 1 and expected in report
        if not ok:
            failures += 1
            print("FAIL %s: exit %d\n%s" % (name, code, report))
    print("%d of %d cases passed" % (len(cases) - failures, len(cases)))
    return 1 if failures else 0
