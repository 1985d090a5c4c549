#!/usr/bin/env python3
"""The coverage floor check: passes a report at its floor, and fails, naming
the file, when src/ or any reader falls below it or a reader is missing."""
import json
import os
import subprocess
import sys
import tempfile

FLOOR = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "coverage_floor.py")
READERS = ["src/config/records.cpp", "src/config/numread.cpp", "src/config/text_file.cpp",
           "src/config/load_config.cpp", "src/image/png.cpp", "src/app/demo_reader.cpp",
           "src/app/demo_reader.h"]


def entry(name, covered, total):
    return {"filename": name, "line_covered": covered, "line_total": total,
            "branch_covered": 1, "branch_total": 2}


def report(files):
    """A summary in gcovr's form, its totals added up from the files."""
    return {"files": files,
            "line_covered": sum(f["line_covered"] for f in files),
            "line_total": sum(f["line_total"] for f in files),
            "branch_covered": sum(f["branch_covered"] for f in files),
            "branch_total": sum(f["branch_total"] for f in files)}


def run(summary, folder):
    path = os.path.join(folder, "summary.json")
    with open(path, "w", encoding="utf-8") as f:
        json.dump(summary, f)
    done = subprocess.run([sys.executable, FLOOR, path], capture_output=True, text=True)
    return done.returncode, done.stdout, done.stderr


def main():
    failures = []
    cases = []

    def expect(label, summary, code, named=None):
        cases.append(label)
        rc, out, err = run(summary, folder)
        if rc != code or (named and named not in err):
            failures.append(f"{label}: exit {rc}, stderr {err!r}")
        elif code == 0 and any(r not in out for r in READERS):
            failures.append(f"{label}: not every reader printed:\n{out}")

    with tempfile.TemporaryDirectory() as folder:
        readers = [entry(r, 40, 40) for r in READERS]
        # src/ at exactly 95 %: 3,800 of 4,000 lines in all.
        at_floor = readers + [entry("src/sim/step.cpp", 3800 - 280, 4000 - 280)]
        expect("at the floor", report(at_floor), 0)
        below = readers + [entry("src/sim/step.cpp", 3799 - 280, 4000 - 280)]
        expect("src/ one line below", report(below), 1, "src/ (all)")
        # One line short of a big reader is 99.9 %: still below.
        short = [entry("src/image/png.cpp", 999, 1000) if e["filename"] == "src/image/png.cpp"
                 else e for e in at_floor]
        expect("a reader one line short", report(short), 1, "src/image/png.cpp")
        renamed = [entry("src/app/demo_read.cpp", 40, 40) if e["filename"] == "src/app/demo_reader.cpp"
                   else e for e in at_floor]
        expect("a reader not in the report", report(renamed), 1, "src/app/demo_reader.cpp")
        expect("a report beyond src/", report(at_floor + [entry("tests/x.cpp", 1, 1)]), 1)

    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(cases) - len(failures)} passed, {len(failures)} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
