#!/usr/bin/env bash
# Speed and memory of Tamsel on large definition files.
#
#   bench/run.sh
#
# builds the Release preset, writes definition files of 1,000 to 1,000,000
# fields into build/bench-work, runs a private copy of Tamsel on each seven
# times, alternating with cat copying the same output, measures peak memory
# on two degenerate shapes (a million class lines; two million identical
# field lines), and prints the table, the md5 of each unit and whether the
# targets hold (exit status 1 when one does not). Other forms:
#
#   bench/run.sh path/to/Tamsel           # measure that executable, no build
#   bench/run.sh [Tamsel] --work DIR      # another work folder (not the sources)
#   bench/run.sh [Tamsel] --sizes 1000,100000 --reps 5 --reps-large 3
#   bench/run.sh [Tamsel] --previous cached|none   # see bench/tamsel_bench.py
#   bench/run.sh [Tamsel] --verbose       # every run's times on stderr
#   bench/run.sh [Tamsel] --no-degenerate # skip the degenerate shapes
#
# To compare two builds on a realistic definition, run them alternately:
#
#   python3 bench/ab.py OLD/Tamsel NEW/Tamsel --runs 200
#
# Needs python3 (standard library only) and /usr/bin/time (GNU time). Takes
# about a minute; the 1,000,000-field unit is 700 MB, written twice a run.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"

exe=""
if [[ $# -gt 0 && "$1" != --* ]]; then
  exe="$1"
  shift
fi

if [[ -z "$exe" ]]; then
  (cd "$root" && cmake --preset release >/dev/null && cmake --build --preset release -j2 >/dev/null)
  exe="$root/build/release/Tamsel"
fi

exec python3 "$here/tamsel_bench.py" --exe "$exe" --work "$root/build/bench-work" "$@"
