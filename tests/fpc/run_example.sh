#!/usr/bin/env bash
# Generates the unit of one example with the built Tamsel, checks it against
# the unit checked in beside the example, compiles it and the example's
# program with Free Pascal in Delphi mode and in Delphi Unicode mode, each
# without a warning, and runs each program's round trip through its INI
# file. Both modes must write the same file.
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
mkdir "$work/gen"

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

for mode in delphi delphiunicode; do
  app="$work/$mode"
  mkdir "$app"
  cp "$work/gen/$name.pas" "$examples/${name}_demo.pas" "$app/"
  if ! (cd "$app" && fpc -M$mode -vew -Fu"$runtime" -FU"$app" "${name}_demo.pas" >fpc.log 2>&1); then
    cat "$app/fpc.log" >&2
    fail "fpc -M$mode could not compile the unit and its program"
  fi
  if grep 'Warning:' "$app/fpc.log" >&2; then
    fail "fpc -M$mode compiles the unit, the runtime unit or the program with warnings"
  fi

  # Run from another folder: the INI file lives beside the program, whatever
  # the working folder.
  ini="$app/${name}_demo.ini"
  (cd / && "$app/${name}_demo" first "$ini") || fail "first run (-M$mode)"
  [ -f "$ini" ] || fail "no INI file was written (-M$mode)"
  grep -q "^\[${name}_demo\]" "$ini" || fail "the INI file has no section [${name}_demo] (-M$mode)"

  before=$(stat -c '%y %s %i' "$ini")
  sum=$(md5sum <"$ini")
  sleep 0.05
  (cd / && "$app/${name}_demo" again "$ini") || fail "second run (-M$mode)"
  [ "$(stat -c '%y %s %i' "$ini")" = "$before" ] || fail "an unchanged store rewrote the INI file (-M$mode)"
  [ "$(md5sum <"$ini")" = "$sum" ] || fail "the INI file changed (-M$mode)"
done

if ! cmp -s "$work/delphi/${name}_demo.ini" "$work/delphiunicode/${name}_demo.ini"; then
  diff "$work/delphi/${name}_demo.ini" "$work/delphiunicode/${name}_demo.ini" >&2 || true
  fail "Delphi mode and Delphi Unicode mode wrote different files"
fi
echo "PASSED: $name"
