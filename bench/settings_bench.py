#!/usr/bin/env python3
"""Time and peak memory of Tamsel with a large settings file.

    python3 bench/settings_bench.py [--exe build/release/Tamsel] [--size-mb 50]

Writes a settings file of short key lines (all in Tamsel's own section, so
every read scans all of it) beside a private copy of Tamsel, then runs it on
an empty definition twice: first with Tamsel's keys missing, so the run reads
the file and stores it again with the keys added; then with nothing missing,
so the run reads it and only checks it. Each run is measured with GNU time
(/usr/bin/time). Each setting is read with one scan of the file and stored
with one rewrite of its text, so time grows with the file's size times the
thirteen settings, and peak memory stays a small multiple of the file's size.
A benchmark, not a test: no limit is enforced.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile


def run(exe, folder):
    out = subprocess.run(["/usr/bin/time", "-f", "%e %M", exe, "d.txt"], cwd=folder,
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, check=False)
    lines = out.stderr.strip().splitlines()
    seconds, kib = lines[-1].split()
    if out.returncode != 0:
        sys.exit("Tamsel failed: " + "\n".join(lines[:-1]))
    return float(seconds), int(kib) / 1024


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", default=os.path.join(here, "..", "build", "release", "Tamsel"))
    parser.add_argument("--size-mb", type=float, default=50)
    args = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="tamsel-settings-bench-") as folder:
        exe = os.path.join(folder, "Tamsel")
        shutil.copy(args.exe, exe)
        with open(os.path.join(folder, "d.txt"), "wb"):
            pass
        target = int(args.size_mb * 1024 * 1024)
        with open(os.path.join(folder, "Tamsel.ini"), "wb") as ini:
            ini.write(b"; a large settings file\r\n[Tamsel]\r\n")
            written, i = 0, 0
            chunk = []
            while written < target:
                line = b"k%07d=v\r\n" % i
                chunk.append(line)
                written += len(line)
                i += 1
                if len(chunk) == 100000:
                    ini.write(b"".join(chunk))
                    chunk = []
            ini.write(b"".join(chunk))
        size = os.path.getsize(os.path.join(folder, "Tamsel.ini")) / (1024 * 1024)
        print(f"settings file: {size:.1f} MiB, {i:,} key lines in [Tamsel]")
        print(f"{'run':<36} {'seconds':>8} {'peak RSS':>10} {'RSS/size':>9}")
        for what in ("read, 13 keys added, stored", "read, nothing to store"):
            seconds, mib = run(exe, folder)
            print(f"{what:<36} {seconds:>8.2f} {mib:>6.1f} MiB {mib / size:>9.2f}")


if __name__ == "__main__":
    main()
