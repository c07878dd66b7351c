#!/usr/bin/env bash
# Generates the unit of one example with the built Tamsel, checks it against
# the unit checked in beside the example, compiles it and the example's
# program with Free Pascal in Delphi mode, and runs the program's round trip
# through its INI file.
# Usage: run_example.sh <Tamsel executable> <examples folder> <runtime folder> <example name>
# Exit code 77 (a skipped test for CTest) when Free Pascal is not installed.
set -euo pipefail
exe=$1 examples=$2 runtime=$3 name=$4

fail() { echo "FAILED: $*" >&2; exit 1; }

if ! command -v fpc >/dev/null; then
  echo "SKIPPED: fpc is not installed (Debian packages fp-compiler and fp-units-fcl)"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/gen" "$work/app"

# Generate with a private copy of Tamsel, so its settings file is a fresh one.
cp "$exe" "$work/gen/Tamsel"
cp "$examples/$name.txt" "$work/gen/"
(cd "$work/gen" && ./Tamsel "$name.txt" 2>tamsel.err) || fail "Tamsel exited with $?"
# The example compiles, so Tamsel has nothing to point out in it.
[ ! -s "$work/gen/tamsel.err" ] || fail "Tamsel reported: $(cat "$work/gen/tamsel.err")"
if ! cmp -s "$work/gen/$name.pas" "$examples/$name.pas"; then
  diff "$examples/$name.pas" "$work/gen/$name.pas" >&2 || true
  fail "examples/$name.pas is not what Tamsel generates from examples/$name.txt"
fi

cp "$work/gen/$name.pas" "$examples/${name}_demo.pas" "$work/app/"
if ! (cd "$work/app" && fpc -Mdelphi -vew -Fu"$runtime" -FU"$work/app" "${name}_demo.pas" >fpc.log 2>&1); then
  cat "$work/app/fpc.log" >&2
  fail "fpc could not compile the unit and its program"
fi

# Run from another folder: the INI file lives beside the program, whatever
# the working folder.
ini="$work/app/${name}_demo.ini"
(cd / && "$work/app/${name}_demo" first "$ini") || fail "first run"
[ -f "$ini" ] || fail "no INI file was written"
grep -q "^\[${name}_demo\]" "$ini" || fail "the INI file has no section [${name}_demo]"

before=$(stat -c '%y %s %i' "$ini")
sum=$(md5sum <"$ini")
sleep 0.05
(cd / && "$work/app/${name}_demo" again "$ini") || fail "second run"
[ "$(stat -c '%y %s %i' "$ini")" = "$before" ] || fail "an unchanged store rewrote the INI file"
[ "$(md5sum <"$ini")" = "$sum" ] || fail "the INI file changed"
echo "PASSED: $name"
