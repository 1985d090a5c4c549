#!/usr/bin/env python3
"""Holds the test suite's coverage to its floor: reads the summary that
tools/coverage.sh has gcovr write (--json-summary), prints the figures it
checks and exits 1 naming every one below its floor.
  tools/coverage_floor.py [SUMMARY.json]   (default build/coverage/summary.json)
"""
import json
import sys

# The whole of src/ must keep this share of its lines.
SRC_FLOOR = 95.0
# The readers of outside input must reach every line. Each is named by its
# path without the extension; its .cpp and, where it has code, its .h count.
READER_FLOOR = 100.0
READERS = {
    "src/config/records": "configuration parser",
    "src/config/numread": "number readers",
    "src/config/text_file": "streamed text file reader",
    "src/config/load_config": "configuration loader",
    "src/image/png": "PNG decoder",
    "src/app/demo_reader": "demo reader",
}


def percent(covered, total):
    return 100.0 * covered / total if total else 100.0


def figure(name, lines, branches, floor):
    """Prints one row; returns the failure message, or None."""
    line_pct = percent(*lines)
    print(f"{name:<55} lines {line_pct:6.2f} % ({lines[0]} of {lines[1]})"
          f"   branches {percent(*branches):6.2f} % ({branches[0]} of {branches[1]})"
          f"   floor {floor:g} % of lines")
    # Compared in whole counts, so that 99.999 % never rounds up to 100 %.
    if lines[0] * 100.0 < floor * lines[1]:
        return f"{name}: {line_pct:.2f} % of its lines, below {floor:g} %"
    return None


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else "build/coverage/summary.json"
    with open(path, encoding="utf-8") as f:
        summary = json.load(f)
    files = {entry["filename"]: entry for entry in summary["files"]}
    if not files or any(not name.startswith("src/") for name in files):
        sys.exit(f"coverage floor: {path} is not a summary of src/ alone")

    failures = [figure("src/ (all)", (summary["line_covered"], summary["line_total"]),
                       (summary["branch_covered"], summary["branch_total"]), SRC_FLOOR)]
    for stem, what in READERS.items():
        if stem + ".cpp" not in files:
            # A renamed or moved reader must not pass by being absent.
            failures.append(f"{stem}.cpp ({what}): not in the coverage report")
            continue
        for entry in (files[name] for name in (stem + ".cpp", stem + ".h") if name in files):
            failures.append(figure(f"{entry['filename']} ({what})",
                                   (entry["line_covered"], entry["line_total"]),
                                   (entry["branch_covered"], entry["branch_total"]),
                                   READER_FLOOR))

    failures = [f for f in failures if f]
    for failure in failures:
        print(f"coverage floor: {failure}", file=sys.stderr)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
