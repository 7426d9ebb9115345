#!/usr/bin/env python3
"""Prints the start-up figures that run.sh collected in a folder.

    summarize.py FOLDER

FOLDER holds, per program, NAME (one exposewatch line per run; line i of
every file comes from round i of the rotation) and NAME.ir (the instructions
to the first frame, one callgrind run per line). Ratios are Velk's median
over the other program's median; their 95% intervals come from a bootstrap
that resamples whole rounds, so that a round's load weighs on both sides of
a ratio alike.
"""

import random
import statistics
import sys
from pathlib import Path

REPLICATES = 10000
# exposewatch's columns: map_ms drawn_ms first_damage_ms vmhwm_kb maxrss_kb anon_kb
ROWS = [
    ("start to window mapped (ms)", 0),
    ("start to window drawn (ms)", 1),
    ("peak resident, VmHWM (KiB)", 3),
    ("peak resident, ru_maxrss (KiB)", 4),
    ("anonymous resident at drawn (KiB)", 5),
]
REFERENCES = [("plainsplash", "plain splash"), ("floor", "floor")]
COLUMNS = [("velk", "Velk"), ("plainsplash", "plain splash"), ("floor", "floor"),
           ("floortext", "floor+text")]


def read_runs(path):
    return [[float(field) for field in line.split()] for line in path.read_text().splitlines()
            if line.strip()]


def ratio_interval(velk, reference, draw):
    """The ratio of medians and its 95% bootstrap interval over paired rounds."""
    rounds = min(len(velk), len(reference))
    ratios = []
    for _ in range(REPLICATES):
        picked = [draw.randrange(rounds) for _ in range(rounds)]
        ratios.append(statistics.median(velk[i] for i in picked) /
                      statistics.median(reference[i] for i in picked))
    ratios.sort()
    return (statistics.median(velk[:rounds]) / statistics.median(reference[:rounds]),
            ratios[int(0.025 * REPLICATES)], ratios[int(0.975 * REPLICATES) - 1])


def print_instructions(folder):
    counts = {name: [int(line) for line in (folder / f"{name}.ir").read_text().split()]
              for name, _ in COLUMNS if (folder / f"{name}.ir").exists()}
    if "velk" not in counts:
        return
    print("Instructions from exec to the first frame (callgrind, up to the first "
          "QBackingStore::flush), millions:")
    for name, label in COLUMNS:
        if name in counts:
            runs = counts[name]
            print(f"  {label:<14} median {statistics.median(runs) / 1e6:8.2f}   runs "
                  + " ".join(f"{run / 1e6:.2f}" for run in runs))
    velk = statistics.median(counts["velk"])
    for name, label in REFERENCES:
        if name in counts:
            print(f"  Velk / {label:<14} {velk / statistics.median(counts[name]):.4f}")
    print()


def print_runs(folder):
    runs = {name: read_runs(folder / name) for name, _ in COLUMNS}
    rounds = min(len(values) for values in runs.values())
    draw = random.Random(1)
    print(f"Wall clock and memory, medians of {rounds} interleaved rounds; ratios with "
          "95% bootstrap intervals:")
    header = f"{'':<34}" + "".join(f"{label:>13}" for _, label in COLUMNS)
    header += "".join(f"{'Velk / ' + label:>30}" for _, label in REFERENCES)
    print(header)
    for title, column in ROWS:
        series = {name: [run[column] for run in values] for name, values in runs.items()}
        line = f"{title:<34}"
        line += "".join(f"{statistics.median(series[name]):>13.6g}" for name, _ in COLUMNS)
        for name, _ in REFERENCES:
            ratio, low, high = ratio_interval(series["velk"], series[name], draw)
            line += f"{f'{ratio:.3f} [{low:.3f}, {high:.3f}]':>30}"
        print(line)


def main():
    folder = Path(sys.argv[1])
    print_instructions(folder)
    print_runs(folder)


if __name__ == "__main__":
    main()
