#!/usr/bin/env python3
"""Times two Tamsel executables side by side on one definition file.

    python3 bench/ab.py OLD NEW [--runs 200] [--definition examples/appoptions.txt]

Each executable gets a private copy in its own folder (so each writes its own
settings file beside itself, once, before timing starts) and its own copy of
the definition. The runs alternate, OLD then NEW, then NEW then OLD, so that
a slow spell of the machine falls on both alike. Prints each one's median,
quartiles and the ratio of the medians, and checks that both wrote the same
unit.
"""

import argparse
import filecmp
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def prepare(exe, definition, folder):
    os.makedirs(folder)
    copy = os.path.join(folder, "Tamsel")
    shutil.copy2(exe, copy)
    shutil.copy(definition, folder)
    name = os.path.basename(definition)
    run_once([copy, name], folder)  # creates the settings file
    return [copy, name]


def run_once(argv, cwd):
    start = time.perf_counter()
    proc = subprocess.run(argv, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    elapsed = time.perf_counter() - start
    if proc.returncode != 0:
        sys.exit("%s failed (%d): %s" % (argv[0], proc.returncode, proc.stderr.decode(errors="replace")))
    return elapsed


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("old")
    parser.add_argument("new")
    parser.add_argument("--runs", type=int, default=200, help="timed runs of each")
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--definition", default=os.path.join(here, "..", "examples", "appoptions.txt"))
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as work:
        folders = {label: os.path.join(work, label) for label in ("old", "new")}
        argvs = {label: prepare(os.path.abspath(getattr(args, label)), args.definition, folders[label])
                 for label in ("old", "new")}
        times = {"old": [], "new": []}
        for i in range(args.runs):
            order = ("old", "new") if i % 2 == 0 else ("new", "old")
            for label in order:
                times[label].append(run_once(argvs[label], folders[label]))
        unit = os.path.basename(args.definition).rsplit(".", 1)[0] + ".pas"
        same = filecmp.cmp(os.path.join(folders["old"], unit), os.path.join(folders["new"], unit),
                           shallow=False)

    for label in ("old", "new"):
        q = statistics.quantiles(times[label], n=4)
        print("%-4s median %.2f ms  (quartiles %.2f .. %.2f ms, %d runs)"
              % (label, statistics.median(times[label]) * 1e3, q[0] * 1e3, q[2] * 1e3, args.runs))
    print("new / old medians: %.3f" % (statistics.median(times["new"]) / statistics.median(times["old"])))
    print("units identical: %s" % ("yes" if same else "NO"))
    return 0 if same else 1


if __name__ == "__main__":
    sys.exit(main())
