#!/usr/bin/env python3
"""Runs two Tamsel executables on the same definitions and reports every
difference in what they print, how they end and what they write.

    python3 scripts/compare_builds.py OLD NEW [--random 3000] [--seed 1] [--jobs 2]

The definitions are the rows of tests/fpc/diagnostics.py, the examples and
golden files, the benchmark's shapes at small sizes, and random definitions
made of names, types and values that set off every check (with settings,
file names and arguments that do too). Each executable runs in a folder of
its own, as a user would run it, with LC_ALL=C.UTF-8. Standard output,
standard error, the exit code and the bytes of every file left in the folder
must be equal. Exit status 1 when anything differs.

For a refactoring that must not change behaviour: build the old tree, build
the new one, compare. Where a change of some findings is intended, --ignore
leaves out the lines that carry them, so that everything else is compared.
"""
import argparse
import concurrent.futures
import errno
import importlib.util
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def load_module(path, name):
    found = importlib.util.spec_from_file_location(name, path)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def case(name, files, args=None, settings=None):
    """files: {file name: bytes}; args default to the first file's name."""
    first = next(iter(files))
    return {"name": name, "files": files, "args": args if args is not None else [first],
            "settings": settings}


def diagnostics_rows():
    rows = load_module(os.path.join(ROOT, "tests", "fpc", "diagnostics.py"), "diagnostics").ROWS
    out = []
    for row in rows:
        name, definition = row[0], row[1]
        file = row[4] if len(row) > 4 else "d.txt"
        args = row[5] if len(row) > 5 else []
        settings = row[6] if len(row) > 6 else None
        out.append(case("row: " + name, {file: definition.encode("utf-8")}, [file] + args,
                        None if settings is None else "[Tamsel]\n" + settings))
    return out


def shipped_files():
    out = []
    for folder in (os.path.join(ROOT, "examples"), os.path.join(ROOT, "tests", "golden", "units"),
                   os.path.join(ROOT, "tests", "golden", "units", "renamed")):
        for entry in sorted(os.listdir(folder)):
            if not entry.endswith(".txt"):
                continue
            with open(os.path.join(folder, entry), "rb") as f:
                data = f.read()
            ini = os.path.join(folder, entry[:-4] + ".ini")
            settings = open(ini, encoding="utf-8", errors="replace").read() if os.path.exists(ini) else None
            out.append(case("file: " + entry, {entry: data}, settings=settings))
    return out


def bench_shapes():
    bench = load_module(os.path.join(ROOT, "bench", "tamsel_bench.py"), "tamsel_bench")
    out = []
    with tempfile.TemporaryDirectory() as d:
        for fields in (1000, 25000):
            path = os.path.join(d, "b.txt")
            bench.write_definition(path, fields)
            out.append(case("bench %d fields" % fields, {"b.txt": open(path, "rb").read()}))
        for shape, lines in (("classes", 3000), ("same-field", 30000)):
            path = os.path.join(d, "g.txt")
            bench.write_degenerate(path, shape, lines)
            out.append(case("%s %d lines" % (shape, lines), {"g.txt": open(path, "rb").read()}))
    return out


CLASS_NAMES = ["TA", "TB", "TC", "ta", "TA", "TB", "TIniter", "TIniter", "TObject", "Type", "True",
               "TIniFileMine", "OA", "XA", "TR", "T A", "TA ", "T", "TOption", "T1", "TSysUtils",
               "TIniter ", "Fx:integer;1", "TInitialSelf", "Option", "OB", "TMath"]
PARENTS = ["TA", "TB", "TC", "ta", "TIniter", "TObject", "TPersistent", "TA, IUnknown", "TA ",
           " TA", "", "TNoSuch", "Type", "My.Base", "1x", "TB", "TA"]
FIELD_NAMES = ["Fx", "FX", "fx", "Fxx", "Fy", "FName", "FSelfName", "FSelfx", "FType", "F1", "F",
               "Self", "FSelf", "IniFile", "Create", "FCreate", "FInitial", "FGetx", "Getx",
               "SetSelfx", "FFileName", "FSection", "Fx ", "F x", "private", "out", "FResult",
               "Result", "FInitialSelf", "Fa" * 150, "Fz", "Fz", "FTrue", "FOR", "Fend",
               "FAllSelf", "FSetAllSelf", "", "FDestroy", "FiniRead", "F\u3042"]
TYPES = ["integer", "Integer", "INTEGER", "string", "boolean", "Boolean", "char", "widechar",
         "double", "byte", "int64", "uint64", "currency", "shortstring", "TA", "TStringList",
         " integer", "integer ", "", "longint", "ansistring", "word", "string", "integer",
         "boolean", "single", "TB", "cardinal", "ansichar", "real"]
VALUES = ["1", "0", "-1", "abc", "256", "1.5", "$FF", "1e5", "MaxInt", "2*3", "it's", "''", "a",
          "ab", "", " 80", "yes", "3000000000", "&17", "%101", "1,5", "5.", " x ", "x'y'z",
          "1 000", "12abc", "-9223372036854775808", "18446744073709551616", "1e20", "\u3042",
          "x" * 300, "$", "0x1F", "  1"]
SETTINGS = ["Tab=4", "Tab=0", "UseUnit=", "UseUnit=SysUtils", "UseUnit=My Unit", "cSelf=",
            "cSelf=Me", "cCheck=Foo", "cCheck=", "cTIniFileMine=TIniFile", "cTIniFileMine=TMine",
            "cTIniter=TA", "cInitial=Create", "cAll=", "cFileName=FPath", "cSection=F",
            "cIniRead=Type", "cSuper=Self", "cInitial=", "UseUnit=Classes"]
FILE_NAMES = ["d.txt"] * 12 + ["my-opts.txt", "type.txt", "SysUtils.txt", "TA.txt",
                               "my.opts.txt", "2024.txt", "defs"]


def random_definition(rng):
    indent = "  "
    lines = []
    for _ in range(rng.randint(0, 8)):
        name = rng.choice(CLASS_NAMES)
        line = name
        if rng.random() < 0.5:
            line += "(" + rng.choice(PARENTS) + ("" if rng.random() < 0.9 else "") + ")"
        elif rng.random() < 0.05:
            line += "(" + rng.choice(PARENTS)
        lines.append(line)
        for _ in range(rng.choice([0, 0, 1, 2, 3, 4, 6])):
            r = rng.random()
            pad = indent if r > 0.03 else rng.choice([" ", "   ", "\t", " \t"])
            field = rng.choice(FIELD_NAMES) + ":" + rng.choice(TYPES)
            if rng.random() > 0.02:
                field += ";" + rng.choice(VALUES)
            if rng.random() < 0.02:
                field = field.replace(":", "")
            lines.append(pad + field)
        if rng.random() < 0.1:
            lines.append("")
    if rng.random() < 0.05:
        lines.insert(0, indent + "Fx:integer;1")
    end = "\r\n" if rng.random() < 0.3 else "\n"
    text = end.join(lines) + (end if rng.random() < 0.9 else "")
    if rng.random() < 0.05:
        text = "\ufeff" + text
    if rng.random() < 0.03:
        text = text.replace("\n", "\n\x1a", 1)
    return text.encode("utf-8")


def random_cases(count, seed):
    rng = random.Random(seed)
    out = []
    for n in range(count):
        file = rng.choice(FILE_NAMES)
        files = {file: random_definition(rng)}
        if rng.random() < 0.05:
            stem = file[:-4] if file.endswith(".txt") else file
            files[stem + ".const"] = b"const\r\n  cX = 1;\r\n"
        args = [file] + (["more"] if rng.random() < 0.05 else [])
        settings = None
        if rng.random() < 0.25:
            settings = "[Tamsel]\n" + "\n".join(rng.sample(SETTINGS, rng.randint(1, 3))) + "\n"
        out.append(case("random %d" % n, files, args, settings))
    return out


def run_one(exe, c, folder):
    os.makedirs(folder)
    shutil.copy2(exe, os.path.join(folder, "Tamsel"))
    if c["settings"] is not None:
        with open(os.path.join(folder, "Tamsel.ini"), "w", encoding="utf-8") as f:
            f.write(c["settings"])
    for name, data in c["files"].items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    for attempt in range(50):
        try:
            proc = subprocess.run(["./Tamsel"] + c["args"], cwd=folder, capture_output=True,
                                  timeout=120, env=dict(os.environ, LC_ALL="C.UTF-8"))
            break
        except OSError as e:
            # Another thread's child may still hold the copy open for a
            # moment between its fork and its exec.
            if e.errno != errno.ETXTBSY or attempt == 49:
                raise
            time.sleep(0.01)
    files = {}
    for entry in sorted(os.listdir(folder)):
        if entry != "Tamsel":
            with open(os.path.join(folder, entry), "rb") as f:
                files[entry] = f.read()
    shutil.rmtree(folder)
    return proc.returncode, proc.stdout, proc.stderr, files


def first_difference(a, b):
    for i, (x, y) in enumerate(zip(a.splitlines(), b.splitlines())):
        if x != y:
            return "line %d:\n  old: %r\n  new: %r" % (i + 1, x[:300], y[:300])
    return "lengths %d and %d" % (len(a), len(b))


def without_lines(stderr, ignore):
    """stderr without the lines that contain one of the texts in `ignore`."""
    return b"".join(line for line in stderr.splitlines(True)
                    if not any(text in line.decode("utf-8", "replace") for text in ignore))


def compare(old, new, c, work, index, ignore, mended=()):
    a = list(run_one(old, c, os.path.join(work, "%d-old" % index)))
    b = list(run_one(new, c, os.path.join(work, "%d-new" % index)))
    # A unit the old build found fault with in a way the new one mends may
    # change, and so may its findings.
    if any(text in a[2].decode("utf-8", "replace") for text in mended):
        return []
    a[2], b[2] = without_lines(a[2], ignore), without_lines(b[2], ignore)
    problems = []
    for label, x, y in (("exit code", a[0], b[0]), ("stdout", a[1], b[1]), ("stderr", a[2], b[2])):
        if x != y:
            detail = first_difference(x, y) if isinstance(x, bytes) else "%s / %s" % (x, y)
            problems.append("%s differs: %s" % (label, detail))
    if a[3].keys() != b[3].keys():
        problems.append("files differ: %s / %s" % (sorted(a[3]), sorted(b[3])))
    else:
        for name in a[3]:
            if a[3][name] != b[3][name]:
                problems.append("%s differs: %s" % (name, first_difference(a[3][name], b[3][name])))
    return problems


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("old")
    ap.add_argument("new")
    ap.add_argument("--random", type=int, default=3000, help="random definitions to add")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--show", type=int, default=10, help="differences to print in full")
    ap.add_argument("--ignore", action="append", default=[], metavar="TEXT",
                    help="leave out the findings whose line contains TEXT (an expected change)")
    ap.add_argument("--mended", action="append", default=[], metavar="TEXT",
                    help="skip the cases where the old build reported a finding containing TEXT "
                         "(units the new build mends)")
    args = ap.parse_args()
    old, new = os.path.abspath(args.old), os.path.abspath(args.new)
    cases = diagnostics_rows() + shipped_files() + bench_shapes() + random_cases(args.random, args.seed)
    differing = 0
    with tempfile.TemporaryDirectory() as work, \
            concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        results = pool.map(lambda ic: (ic[1], compare(old, new, ic[1], work, ic[0], args.ignore, args.mended)), enumerate(cases))
        for c, problems in results:
            if not problems:
                continue
            differing += 1
            if differing <= args.show:
                print("DIFFERS: %s (%s)" % (c["name"], " ".join(c["args"])))
                for name, data in c["files"].items():
                    print("  %s: %r" % (name, data[:400]))
                if c["settings"]:
                    print("  settings: %r" % c["settings"])
                for p in problems:
                    print("  " + p)
    print("%d of %d cases differ" % (differing, len(cases)))
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
