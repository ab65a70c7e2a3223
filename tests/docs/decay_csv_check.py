#!/usr/bin/python3
"""decay_csv_check.py DOCGEN PLUGIN PLOTTER: the decay data behind the README's plot.

The CSV roomplate-docgen writes names both programs' columns, holds one row a
millisecond for 4 s, its energy decay curves start at 0 dB and never rise, every
level lies within the plot's range, the -60 dB time docgen prints (to 10 ms) is where the
CSV's curve crosses -60 dB, and tools/decay-plot draws it as a PNG.
"""
import csv
import re
import subprocess
import sys
import tempfile
from pathlib import Path


def main():
    docgen, plugin, plotter = sys.argv[1:4]
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        data, picture = Path(folder, "decay.csv"), Path(folder, "decay.png")
        printed = subprocess.run([docgen, "decay", plugin, str(data)], check=True, capture_output=True, text=True).stdout
        with open(data, newline="") as file:
            rows = list(csv.reader(file))
        header, values = rows[0], [[float(cell) for cell in row] for row in rows[1:]]
        expected = ["time_s"] + [f"{p} {c}" for p in ("Init", "Dattorro") for c in ("peak_db", "energy_db")]
        if header != expected:
            failures.append(f"header {header}")
        if len(values) != 4000 or any(abs(row[0] - i / 1000) > 1e-9 for i, row in enumerate(values)):
            failures.append(f"{len(values)} rows, not one a millisecond for 4 s")
        for column, name in enumerate(header[1:], 1):
            levels = [row[column] for row in values]
            if not all(-90.0 <= level <= 0.0 for level in levels):
                failures.append(f"{name}: a level outside -90 ... 0 dB")
            if name.endswith("energy_db"):
                if levels[0] != 0.0 or any(b > a for a, b in zip(levels, levels[1:])):
                    failures.append(f"{name}: does not start at 0 dB and fall")
                program = name[: -len(" energy_db")]
                crossing = next(i / 1000 for i, level in enumerate(levels) if level <= -60.0)
                match = re.search(rf"^{program}: -60 dB after ([0-9.]+) s$", printed, re.M)
                if not match or abs(float(match.group(1)) - crossing) > 0.006:
                    failures.append(f"{program}: printed {match and match.group(1)} s, the CSV crosses at {crossing} s")
        subprocess.run([plotter, str(data), str(picture)], check=True)
        if picture.read_bytes()[:8] != b"\x89PNG\r\n\x1a\n":
            failures.append("decay-plot wrote no PNG")
    for failure in failures:
        print("FAIL", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
