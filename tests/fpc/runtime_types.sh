#!/usr/bin/env bash
# Compiles runtime_types_demo.pas against the runtime unit with Free Pascal
# in Delphi mode and in Delphi Unicode mode, each without a warning, and
# runs each twice: the first run writes and reads back every field type, the
# second stores the same values again, which must leave the INI file
# untouched. Both modes must write the same file, with its Japanese text in
# UTF-8 and its dates in ISO 8601. Delphi Unicode mode converts to UTF-8
# itself, so it runs in the C locale too; Delphi mode converts WideString
# with the locale's code page and runs in a UTF-8 one.
# Usage: runtime_types.sh <runtime folder>
# Exit code 77 (a skipped test for CTest) when Free Pascal is not installed.
set -euo pipefail

fail() { echo "FAILED: $*" >&2; exit 1; }

if ! command -v fpc >/dev/null; then
  echo "SKIPPED: fpc is not installed (Debian packages fp-compiler and fp-units-fcl)"
  exit 77
fi
locale -a 2>/dev/null | grep -qix 'c\.utf-\?8' || fail "the C.UTF-8 locale is missing"

runtime=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

japanese='日本語のテキスト'

# The stored lines that are the same in every mode and locale.
check_text() {
  local ini=$1 line
  for line in "String0=$japanese" "Wide0=$japanese" "Unicode0=$japanese" "名前=$japanese" \
      DateTime0=2026-12-07T15:14:00 DateTime1=2026-12-07T15:14:00.250 \
      Date0=2026-12-07 Time0=15:14:00 Time1=23:59:59.999; do
    grep -qxF "$line" "$ini" || fail "$ini has no line $line"
  done
  if grep -v '^Comma=' "$ini" | grep ',' >&2; then
    fail "a number was written with the locale's ',' separator"
  fi
}

for mode in delphi delphiunicode; do
  dir="$work/$mode"
  mkdir "$dir"
  cp "$here/runtime_types_demo.pas" "$dir/"
  if ! (cd "$dir" && fpc -M$mode -vew -Fu"$runtime" -FU"$dir" runtime_types_demo.pas >fpc.log 2>&1); then
    cat "$dir/fpc.log" >&2
    fail "fpc -M$mode could not compile the runtime unit and its test program"
  fi
  if grep 'Warning:' "$dir/fpc.log" >&2; then
    fail "fpc -M$mode compiles the runtime unit or its test program with warnings"
  fi

  locales=C.UTF-8
  [ $mode = delphiunicode ] && locales="C.UTF-8 C"
  for loc in $locales; do
    ini="$dir/types-$loc.ini"
    LC_ALL=$loc "$dir/runtime_types_demo" first "$ini" || fail "first run, -M$mode, LC_ALL=$loc"
    check_text "$ini"

    before=$(stat -c '%y %s %i' "$ini")
    sum=$(md5sum <"$ini")
    sleep 0.05
    LC_ALL=$loc "$dir/runtime_types_demo" again "$ini" || fail "second run, -M$mode, LC_ALL=$loc"
    [ "$(stat -c '%y %s %i' "$ini")" = "$before" ] ||
      fail "storing unchanged values rewrote the INI file (-M$mode, LC_ALL=$loc)"
    [ "$(md5sum <"$ini")" = "$sum" ] || fail "the INI file changed (-M$mode, LC_ALL=$loc)"
  done
done

if ! cmp -s "$work/delphi/types-C.UTF-8.ini" "$work/delphiunicode/types-C.UTF-8.ini"; then
  diff "$work/delphi/types-C.UTF-8.ini" "$work/delphiunicode/types-C.UTF-8.ini" >&2 || true
  fail "Delphi mode and Delphi Unicode mode wrote different files"
fi
echo "PASSED: runtime types"
