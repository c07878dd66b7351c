#!/usr/bin/env bash
# Compiles runtime_types_demo.pas against the runtime unit with Free Pascal
# in Delphi mode and runs it twice: the first run writes and reads back every
# field type, the second stores the same values again, which must leave the
# INI file untouched.
# Usage: runtime_types.sh <runtime folder>
# Exit code 77 (a skipped test for CTest) when Free Pascal is not installed.
set -euo pipefail

fail() { echo "FAILED: $*" >&2; exit 1; }

if ! command -v fpc >/dev/null; then
  echo "SKIPPED: fpc is not installed (Debian packages fp-compiler and fp-units-fcl)"
  exit 77
fi

runtime=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp "$here/runtime_types_demo.pas" "$work/"
if ! (cd "$work" && fpc -Mdelphi -vew -Fu"$runtime" -FU"$work" runtime_types_demo.pas >fpc.log 2>&1); then
  cat "$work/fpc.log" >&2
  fail "fpc could not compile the runtime unit and its test program"
fi
if grep -i 'Tamsel_common.*warning' "$work/fpc.log" >&2; then
  fail "the runtime unit compiles with warnings"
fi

ini="$work/types.ini"
"$work/runtime_types_demo" first "$ini" || fail "first run"
if grep -v '^Comma=' "$ini" | grep ',' >&2; then
  fail "a number was written with the locale's ',' separator"
fi

before=$(stat -c '%y %s %i' "$ini")
sum=$(md5sum <"$ini")
sleep 0.05
"$work/runtime_types_demo" again "$ini" || fail "second run"
[ "$(stat -c '%y %s %i' "$ini")" = "$before" ] || fail "storing unchanged values rewrote the INI file"
[ "$(md5sum <"$ini")" = "$sum" ] || fail "the INI file changed"
echo "PASSED: runtime types"
