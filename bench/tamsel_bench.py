#!/usr/bin/env python3
"""Runs Tamsel on generated definition files and prints time and memory.

Started by bench/run.sh, which builds Tamsel first. For every size the
definition file is written, Tamsel is run once under /usr/bin/time -v for its
peak memory, then timed several times; `cat` copying Tamsel's output into the
same folder is timed in the same loop, alternating with Tamsel, and is the
floor the ratio compares against.

What a run costs depends on the file it replaces. Tamsel writes its unit to a
new file and renames it over the old one; cat truncates its old copy and
writes into it. Either way the old file's blocks are freed, which costs far
more for a file on disk than for one never written out, and ext4 writes the
new file out when it replaces an old one. Back-to-back runs therefore measure
the disk as much as either program.
By default every timed run starts from the same state: the file system is
synced first (untimed), so the previous unit and the previous copy are both
on disk, as a unit generated some time ago would be. --previous chooses
another state:
  on-disk   sync before every timed run (default)
  cached    no sync: each run replaces the output of the run just before it
  none      delete the previous unit and copy, then sync, before every run
"""

import argparse
import filecmp
import hashlib
import os
import re
import resource
import shutil
import statistics
import subprocess
import sys
import time

# The targets: bounds on what plain code costs at sizes nobody writes, loose
# on purpose. Realistic definitions are compared build against build with
# bench/ab.py instead.
MAX_RATIO = 8             # time against cat writing the same unit, at 100k and 1M fields
MAX_GROWTH = 12           # user time at 1M fields against that at 100k
RSS_PER_INPUT_BYTE = 8    # peak memory: this many times the definition, plus 16 MiB
MAX_BYTES_PER_LINE = 200  # peak memory per line of the degenerate shapes

FIELDS_PER_CLASS = 100
CHAIN = 10  # classes per inheritance chain; the first of each has no parent
TYPES = ("string", "integer", "boolean")
INI_CLASS = "TIniter"


def class_name(k, ini_index):
    return INI_CLASS if k == ini_index else "TC%06d" % k


def field_type(g):
    return TYPES[g % 3]


def write_definition(path, fields):
    """Classes of 100 fields in chains of 10; the INI-controller class a tenth
    of the way in; in every class with a parent each tenth field redefines the
    field of the chain's first class (same name, same type)."""
    classes = max(1, fields // FIELDS_PER_CLASS)
    ini_index = classes // 10
    out = []
    for k in range(classes):
        name = class_name(k, ini_index)
        root = k - k % CHAIN
        if k == root:
            out.append(name + "\n")
        else:
            out.append("%s(%s)\n" % (name, class_name(k - 1, ini_index)))
        for j in range(FIELDS_PER_CLASS):
            g = k * FIELDS_PER_CLASS + j
            if g >= fields:
                break
            if k != root and j % 10 == 3:
                fname = "F%06dx%02d" % (root, j)
                ftype = field_type(root * FIELDS_PER_CLASS + j)
            else:
                fname = "F%06dx%02d" % (k, j)
                ftype = field_type(g)
            if ftype == "string":
                value = "s%d" % g
            elif ftype == "integer":
                value = str((g * 7919) % 200001 - 100000)
            else:
                value = str((g // 3) % 2)
            out.append("  %s:%s;%s\n" % (fname, ftype, value))
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("".join(out))


def children_user_time():
    return resource.getrusage(resource.RUSAGE_CHILDREN).ru_utime


def run_timed(argv, cwd, stdout_path=None, user=None):
    """Wall time in seconds of one run; the output file (for cat) is opened,
    truncating it, inside the timed span. The run's user time, the processor
    time of its own code, is appended to `user` when given."""
    user_start = children_user_time()
    start = time.perf_counter()
    if stdout_path is None:
        proc = subprocess.run(argv, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    else:
        with open(stdout_path, "wb") as out:
            proc = subprocess.run(argv, cwd=cwd, stdout=out, stderr=subprocess.PIPE)
    elapsed = time.perf_counter() - start
    if user is not None:
        user.append(children_user_time() - user_start)
    if proc.returncode != 0:
        sys.exit("%s failed (%d): %s" % (argv[0], proc.returncode, proc.stderr.decode(errors="replace")))
    return elapsed


def peak_rss_kib(argv, cwd):
    report = os.path.join(cwd, "time-v.txt")
    proc = subprocess.run(["/usr/bin/time", "-v", "-o", report] + argv, cwd=cwd,
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    if proc.returncode != 0:
        sys.exit("%s failed (%d): %s" % (argv[0], proc.returncode, proc.stderr.decode(errors="replace")))
    with open(report, encoding="utf-8", errors="replace") as f:
        m = re.search(r"Maximum resident set size \(kbytes\): (\d+)", f.read())
    os.remove(report)
    if not m:
        sys.exit("no peak memory in the report of /usr/bin/time -v")
    return int(m.group(1))


def rss_limit_kib(input_bytes):
    return RSS_PER_INPUT_BYTE * input_bytes / 1024 + 16 * 1024


def human_bytes(n):
    for unit, size in (("GB", 1e9), ("MB", 1e6), ("kB", 1e3)):
        if n >= size:
            return "%.1f %s" % (n / size, unit)
    return "%d B" % n


def settle(previous, paths):
    """Puts the previous outputs into the state --previous asks for."""
    if previous == "none":
        for path in paths:
            if os.path.exists(path):
                os.remove(path)
    if previous in ("on-disk", "none"):
        os.sync()


def measure(exe, work, fields, reps, previous, verbose):
    definition = os.path.join(work, "defs%d.txt" % fields)
    unit = os.path.join(work, "defs%d.pas" % fields)
    reference = os.path.join(work, "reference%d.pas" % fields)
    copy = os.path.join(work, "cat%d.pas" % fields)
    write_definition(definition, fields)
    argv = [exe, os.path.basename(definition)]

    # The first run also warms the caches; its unit is what cat copies.
    rss = peak_rss_kib(argv, work)
    shutil.copyfile(unit, reference)
    out_size = os.path.getsize(reference)

    tamsel, cat, user = [], [], []
    for i in range(reps):
        pair = [("tamsel", lambda: run_timed(argv, work, user=user)),
                ("cat", lambda: run_timed(["cat", reference], work, copy))]
        if i % 2:
            pair.reverse()
        for label, run in pair:
            settle(previous, [unit] if label == "tamsel" else [copy])
            (tamsel if label == "tamsel" else cat).append(run())
        if verbose:
            print("  run %d: Tamsel %.3f s (user %.3f s), cat %.3f s" % (i + 1, tamsel[-1], user[-1], cat[-1]),
                  file=sys.stderr, flush=True)
    if not filecmp.cmp(unit, reference, shallow=False):
        sys.exit("Tamsel wrote a different unit in a later run at %d fields" % fields)

    in_size = os.path.getsize(definition)
    md5 = hashlib.md5()
    with open(reference, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            md5.update(block)
    for path in (definition, unit, reference, copy):
        os.remove(path)
    return {
        "fields": fields,
        "in": in_size,
        "out": out_size,
        "time": statistics.median(tamsel),
        "cat": statistics.median(cat),
        "user": statistics.median(user),
        "rss_kib": rss,
        "reps": reps,
        "md5": md5.hexdigest(),
    }


def write_degenerate(path, shape, lines):
    """Shapes far from real definitions, for memory per line: class lines
    without fields, or one class with identical short field lines."""
    with open(path, "w", encoding="ascii", newline="\n") as f:
        if shape == "classes":
            f.write("".join("TC%07d\n" % k for k in range(lines)))
        else:
            f.write("TA\n" + "  F:integer;1\n" * lines)


def measure_degenerate(exe, work, shape, lines):
    definition = os.path.join(work, "%s%d.txt" % (shape, lines))
    write_degenerate(definition, shape, lines)
    rss = peak_rss_kib([exe, os.path.basename(definition)], work)
    for path in (definition, definition[:-4] + ".pas"):
        os.remove(path)
    return rss * 1024 / lines


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--exe", required=True, help="the Tamsel executable")
    parser.add_argument("--work", required=True, help="work folder (created; not the sources)")
    parser.add_argument("--sizes", default="1000,10000,100000,1000000")
    parser.add_argument("--reps", type=int, default=7, help="timed runs per size")
    parser.add_argument("--reps-large", type=int, default=7,
                        help="timed runs from 1,000,000 fields on")
    parser.add_argument("--previous", choices=("on-disk", "cached", "none"), default="on-disk",
                        help="the state of the previous outputs before each timed run")
    parser.add_argument("--verbose", action="store_true", help="print every run's times")
    parser.add_argument("--no-degenerate", action="store_true",
                        help="skip the memory check on class-only and identical-field definitions")
    args = parser.parse_args()

    work = os.path.abspath(args.work)
    os.makedirs(work, exist_ok=True)
    # A private copy, so that the settings file it creates beside itself is
    # its own and starts from the defaults.
    exe = os.path.join(work, "Tamsel")
    shutil.copy2(args.exe, exe)
    settings = os.path.join(work, "Tamsel.ini")
    if os.path.exists(settings):
        os.remove(settings)

    sizes = [int(s) for s in args.sizes.split(",") if s]
    rows = []
    for fields in sizes:
        reps = args.reps_large if fields >= 1000000 else args.reps
        print("measuring %d fields (%d runs)..." % (fields, reps), file=sys.stderr, flush=True)
        rows.append(measure(exe, work, fields, reps, args.previous, args.verbose))

    head = ("fields", "input", "output", "median", "user", "MB/s out", "peak RSS", "RSS limit",
            "cat median", "ratio", "runs")
    lines = []
    for r in rows:
        limit_kib = rss_limit_kib(r["in"])
        lines.append((
            "{:,}".format(r["fields"]),
            human_bytes(r["in"]),
            human_bytes(r["out"]),
            "%.3f s" % r["time"],
            "%.3f s" % r["user"],
            "%.0f" % (r["out"] / r["time"] / 1e6),
            "%.1f MiB" % (r["rss_kib"] / 1024),
            "%.1f MiB" % (limit_kib / 1024),
            "%.3f s" % r["cat"],
            "%.2f" % (r["time"] / r["cat"]),
            str(r["reps"]),
        ))
    widths = [max(len(h), *(len(l[i]) for l in lines)) for i, h in enumerate(head)]
    print("  ".join(h.rjust(w) for h, w in zip(head, widths)))
    for l in lines:
        print("  ".join(c.rjust(w) for c, w in zip(l, widths)))
    print()
    print("ratio: Tamsel's median time / cat's median time writing the same bytes to the same folder")
    print("user: median user time of Tamsel's timed runs (its own code; the rest is the system's)")
    print("previous outputs before each timed run: %s" % args.previous)
    print("RSS limit: %d x input + 16 MiB" % RSS_PER_INPUT_BYTE)
    for r in rows:
        print("md5 of the unit at {:,} fields: {}".format(r["fields"], r["md5"]))

    by_fields = {r["fields"]: r for r in rows}
    verdicts = []
    for fields in (100000, 1000000):
        if fields in by_fields:
            ratio = by_fields[fields]["time"] / by_fields[fields]["cat"]
            verdicts.append(("ratio at {:,} fields {:.3f} (target <= {})".format(fields, ratio, MAX_RATIO),
                             ratio <= MAX_RATIO))
    if 100000 in by_fields and 1000000 in by_fields:
        # The bound is on user time, the work of Tamsel's own code. Wall and
        # system time also hold the kernel's allocating, writing out and
        # freeing of a 700 MB file: between identical runs its system time
        # varies threefold, and cat's wall time grows more than tenfold too.
        # Wall time growth is printed beside it.
        big, small = by_fields[1000000], by_fields[100000]
        growth = big["user"] / small["user"]
        print("wall time growth 100,000 -> 1,000,000 fields: Tamsel %.2fx, cat %.2fx"
              % (big["time"] / small["time"], big["cat"] / small["cat"]))
        verdicts.append(("user time growth 100,000 -> 1,000,000 fields %.2fx (target <= %d)"
                         % (growth, MAX_GROWTH), growth <= MAX_GROWTH))
    over = [r["fields"] for r in rows if r["rss_kib"] > rss_limit_kib(r["in"])]
    verdicts.append(("peak RSS under the limit at every size" if not over else
                     "peak RSS over the limit at %s fields" % ", ".join(map(str, over)), not over))
    if not args.no_degenerate:
        for shape, lines in (("classes", 1000000), ("same-field", 2000000)):
            per_line = measure_degenerate(exe, work, shape, lines)
            verdicts.append(("peak RSS %.0f bytes per line for {:,} %s lines (target <= %d)".format(lines)
                             % (per_line, shape, MAX_BYTES_PER_LINE), per_line <= MAX_BYTES_PER_LINE))
    for text, ok in verdicts:
        print("%s: %s" % ("ok  " if ok else "FAIL", text))
    return 0 if all(ok for _, ok in verdicts) else 1


if __name__ == "__main__":
    sys.exit(main())
