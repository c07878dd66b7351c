#!/usr/bin/env bash
# Definitions that once gave units Free Pascal rejected or that lost data,
# each generated, compiled in Delphi mode with a small program, and run.
# Usage: fault_cases.sh <Tamsel executable> <runtime folder>
# Exit code 77 (a skipped test for CTest) when Free Pascal is not installed.
set -euo pipefail
exe=$(realpath "$1") runtime=$(realpath "$2")

if ! command -v fpc >/dev/null; then
  echo "SKIPPED: fpc is not installed (Debian packages fp-compiler and fp-units-fcl)"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# run_case <name> <expected output>: generates $work/<name>/d.pas from d.txt
# with a private Tamsel, compiles p.pas, runs it twice (the second run loads
# what the first stored) and compares what the second run prints.
run_case() {
  local name=$1 expected=$2 dir="$work/$1"
  cp "$exe" "$dir/Tamsel"
  if ! (cd "$dir" && ./Tamsel d.txt >tamsel.log 2>&1); then
    echo "FAILED: $name: Tamsel: $(cat "$dir/tamsel.log")"; failed=1; return
  fi
  if ! (cd "$dir" && fpc -Mdelphi -vew -Fu"$runtime" -FU"$dir" p.pas >fpc.log 2>&1); then
    echo "FAILED: $name: fpc:"; grep -E 'Error|Fatal' "$dir/fpc.log" | head -5; failed=1; return
  fi
  local out
  if ! (cd "$dir" && ./p >/dev/null) || ! out=$(cd "$dir" && ./p); then
    echo "FAILED: $name: the program failed: $out"; failed=1; return
  fi
  if [ "$out" != "$expected" ]; then
    echo "FAILED: $name: printed [$out], expected [$expected]"; failed=1; return
  fi
  echo "passed: $name"
}

# new_case <name> <definition>: the definition (printf escapes allowed) and
# the program, read from standard input after the usual head.
new_case() {
  local dir="$work/$1"
  mkdir "$dir"
  printf '%b' "$2" >"$dir/d.txt"
  { printf 'program p;\n{$IFDEF FPC}{$MODE DELPHI}{$ENDIF}\nuses SysUtils, d;\n'; cat; } >"$dir/p.pas"
}

# The INI controller redefines a field it stores: a value set through its
# setter survives a reload, as its getter sees it.
new_case controller_copy 'TOption\n  FPort:integer;80\nTIniter(TOption)\n  FPort:integer;8080\n' <<'PAS'
var o: TIniter;
begin
  o := TIniter.Create;
  WriteLn(o.GetPort);
  o.SetPort(1234);
  o.Free;
end.
PAS
run_case controller_copy 1234

# Unrelated classes share a field name.
new_case shared_name 'TOption\n  FName:string;x\nTFont\n  FName:string;Arial\n' <<'PAS'
var f: TFont;
begin
  f := TFont.Create;
  WriteLn(f.GetName);
  f.Free;
end.
PAS
run_case shared_name Arial

# Type names in any letter case.
new_case type_case 'TIniter\nTOption\n  FPort:Integer;80\n  FOn:BOOLEAN;1\n' <<'PAS'
var o: TOption;
begin
  o := TOption.Create;
  WriteLn(o.GetPort, ' ', o.GetOn);
  o.Free;
end.
PAS
run_case type_case "80 TRUE"

# Numeric and wide string types, stored and loaded again.
new_case numeric_types 'TOption\n  FRatio:Double;1.5\n  FBig:Int64;-9000000000\n  FCount:Cardinal;4000000000\n  FW:Word;65535\n  FText:WideString;abc\nTIniter(TOption)\n' <<'PAS'
var o: TIniter;
begin
  o := TIniter.Create;
  WriteLn(o.GetRatio:0:2, ' ', o.GetBig, ' ', o.GetCount, ' ', o.GetW, ' ', o.GetText);
  o.SetRatio(-0.25);
  o.SetBig(o.GetBig - 1);
  o.SetCount(o.GetCount + 1);
  o.SetW(7);
  o.SetText('xyz');
  o.Free;
end.
PAS
run_case numeric_types "-0.25 -9000000001 4000000001 7 xyz"

# Item names and an object variable that are reserved words.
new_case reserved_words 'TR\n  FType:string;a\n  FEnd:integer;1\n  FOut:boolean;0\nTIniter(TR)\n' <<'PAS'
var o: TIniter;
begin
  o := TIniter.Create;
  WriteLn(o.GetType, o.GetEnd, o.GetOut);
  &OR := o;
  &OR.SetAllSelf('b', 2, True);
  &OR.SetType('c');
  o.Free;
end.
PAS
run_case reserved_words "c2TRUE"

# A definition saved with a UTF-8 byte-order mark, Japanese text in a value.
new_case byte_order_mark '\xEF\xBB\xBFTA\n  FName:string;\xE5\x80\xA4\n' <<'PAS'
var a: TA;
begin
  a := TA.Create;
  WriteLn(a.GetName);
  a.Free;
end.
PAS
run_case byte_order_mark "$(printf '\xE5\x80\xA4')"

if [ "$failed" -ne 0 ]; then exit 1; fi
echo "PASSED: every case"
