#!/usr/bin/env bash
# End-to-end checks of the Windows executable, run under Wine: the golden
# units byte for byte, every help screen, the run's messages and exit codes,
# the settings file beside the executable, and names in Japanese.
# Usage: run_wine_tests.sh <wine> <Tamsel.exe> <golden folder> <examples folder>
set -uo pipefail
wine=$1 exe=$2 golden=$3 examples=$4

export WINEDEBUG=-all
export WINEPREFIX=${TAMSEL_WINEPREFIX:-${TMPDIR:-/tmp}/tamsel-wineprefix}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/locales"

passed=0 failed=0
check() {  # check <description> <command...>: counts and reports one check
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what" >&2
  fi
}

# A fresh folder with a copy of the executable under the given name.
sandbox() {
  box="$work/box$RANDOM$RANDOM"
  mkdir "$box"
  cp "$exe" "$box/${1:-Tamsel.exe}"
}

# Runs the executable of the current sandbox; stdout (converted from
# Shift-JIS, CR LF made LF) in $box/out, the exit code in $rc.
run() {
  local name=$1
  shift
  (cd "$box" && "$wine" "./$name" "$@" >"$box/.raw" 2>"$box/.err" </dev/null)
  rc=$?
  iconv -f CP932 -t UTF-8 <"$box/.raw" | tr -d '\r' >"$box/out"
}

same() { cmp -s "$1" "$2" || { diff "$1" "$2" | head -20 >&2; return 1; }; }
# has_line <file> <line>: the file holds that whole line; shows the file if not.
has_line() {
  grep -qxF -- "$2" "$1" || { echo "  no line [$2] in (exit $rc):" >&2; head -20 "$1" "$box/.err" >&2; return 1; }
}
equals() { [ "$1" = "$2" ] || { echo "  expected [$2], got [$1]" >&2; return 1; }; }

"$wine" cmd /c exit 0 >/dev/null 2>&1  # creates the Wine prefix once

# Help screens.
sandbox
for arg in "/?" "-?" "+?" "?" "/help" "-HELP" "help" "Help" "--help" "-h"; do
  run Tamsel.exe "$arg"
  check "short help for $arg" same "$box/out" "$golden/help/short.txt"
  check "exit code of $arg" equals "$rc" 0
done
for arg in "/??" "-???" "??" "??x"; do
  run Tamsel.exe "$arg"
  check "detailed help for $arg" same "$box/out" "$golden/help/detailed.txt"
done
run Tamsel.exe --version
check "--version prints the banner alone" same "$box/out" "$golden/help/version.txt"
run Tamsel.exe
check "usage without arguments" same "$box/out" "$golden/help/usage.txt"
check "no settings file after help" test ! -e "$box/Tamsel.ini"

sandbox gen.exe
run gen.exe "?"
check "renamed executable says so" has_line "$box/out" ' ( "gen.exe" is not original name )'
sandbox TAMSEL.EXE
run TAMSEL.EXE "?"
check "the original name ignores letter case" test "$(grep -c 'is not original name' "$box/out")" = 0

# The three messages, with exit code 2.
sandbox
printf 'keep' >"$box/A.pas"
run Tamsel.exe A.pas
check ".pas argument" equals "$(cat "$box/out")" '拡張子".pas"のファイルは指定できません'
check ".pas exit code" equals "$rc" 2
check ".pas file kept" equals "$(cat "$box/A.pas")" keep
run Tamsel.exe none.txt
check "missing file" equals "$(cat "$box/out")" '指定のファイルがありません。'
check "missing file exit code" equals "$rc" 2
printf 'TA\r\n   Fa:integer;1\r\n' >"$box/bad.txt"
printf 'old unit' >"$box/bad.pas"
run Tamsel.exe bad.txt
check "malformed definition" equals "$(cat "$box/out")" '不思議な対象データがある。'
check "malformed exit code" equals "$rc" 2
check "malformed keeps the unit" equals "$(cat "$box/bad.pas")" "old unit"

# The unit's name may name the definition itself on a file system that
# ignores letter case: d.PAS would become d.pas.
printf 'TA\r\n' >"$box/d.PAS"
run Tamsel.exe d.PAS
check "a definition that is its own unit is refused" equals "$rc" 2
check "and left as it was" equals "$(cat "$box/d.PAS")" "$(printf 'TA\r\n')"

# A first run creates the complete settings file beside the executable.
sandbox
cp "$examples/sample.txt" "$box/"
run Tamsel.exe sample.txt
check "first run exit code" equals "$rc" 0
check "sample unit" same "$box/sample.pas" "$examples/sample.pas"
printf '[Tamsel]\r\nTab=2\r\nUseUnit=Tamsel_common\r\ncTIniter=TIniter\r\ncCheck=Check\r\ncAll=All\r\ncSelf=Self\r\ncFileName=FFileName\r\ncSection=FSection\r\ncIniRead=iniRead\r\ncIniWrite=iniWrite\r\ncInitial=Initial\r\ncTIniFileMine=TIniFileMine\r\ncSuper=Super\r\n' >"$work/settings"
check "settings file Tamsel.ini" same "$box/Tamsel.ini" "$work/settings"
before=$(stat -c '%y %i' "$box/Tamsel.ini")
run Tamsel.exe sample.txt
check "an unchanged settings file is left alone" equals "$(stat -c '%y %i' "$box/Tamsel.ini")" "$before"

# Golden units, with their settings where they have some.
for definition in "$golden"/units/*.txt "$golden"/units/renamed/*.txt "$examples"/*.txt; do
  name=$(basename "$definition" .txt)
  sandbox
  cp "$definition" "$box/"
  [ -f "${definition%.txt}.ini" ] && cp "${definition%.txt}.ini" "$box/Tamsel.ini"
  run Tamsel.exe "$name.txt"
  check "$name exit code" equals "$rc" 0
  check "$name unit" same "$box/$name.pas" "${definition%.txt}.pas"
done

# A definition named in Japanese.
sandbox
cp "$examples/sample.txt" "$box/設定.txt"
run Tamsel.exe 設定.txt
check "Japanese definition name" equals "$rc" 0
check "Japanese unit name" test -f "$box/設定.pas"

# On a Japanese system the unit's name is written in Shift-JIS, like the
# names the definition file holds. Wine takes its code page from the locale.
if localedef -i ja_JP -f UTF-8 "$work/locales/ja_JP.UTF-8" >/dev/null 2>&1 ||
   [ -d "$work/locales/ja_JP.UTF-8" ]; then
  sandbox
  cp "$examples/sample.txt" "$box/設定.txt"
  (cd "$box" && LOCPATH="$work/locales" LC_ALL=ja_JP.UTF-8 "$wine" ./Tamsel.exe 設定.txt >/dev/null 2>&1)
  check "Japanese unit name in Shift-JIS" equals "$(head -c 10 "$box/設定.pas" | od -An -tx1 | tr -d ' \n')" \
    "756e697420""90dd92e8""3b"
else
  echo "skipped: no Japanese locale can be built here (package locales)"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
