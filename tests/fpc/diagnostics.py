#!/usr/bin/env python3
"""Each kind of finding is reported at its place, and is true.

For every row the definition is generated in a folder of its own and the
findings on standard error are compared with the expected ones (line, column
and kind; (0, 0) for "Tamsel: ..." lines). Then, where Free Pascal is
installed, the unit is compiled in Delphi mode: a row that expects a Warning
or a Note must give a unit fpc rejects (or, for "fpc-warns", one it compiles
only with a warning of its own), and a row without findings must compile
cleanly. So no finding is there by guesswork, and no unit that compiles is
warned about.

Usage: diagnostics.py <Tamsel executable> <runtime folder>
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

W, N, E = "Warning", "Note", "Error"
FAIL, OK, FPC_WARNS = "fails", "compiles", "fpc-warns"

# name, definition, expected findings, what fpc does with the unit; options:
# file (the definition's name), args (further arguments), settings (lines of
# the [Tamsel] section of the settings file).
ROWS = [
    # Classes
    ("class twice", "TA\nTA\n", [(2, 1, W)], FAIL),
    ("two INI controllers", "TIniter\nTIniter\n", [(2, 1, W)], FAIL),
    ("class name no identifier", "T A\n", [(1, 1, W)], FAIL),
    ("class name reserved", "Type\n", [(1, 1, W)], FAIL),
    ("object variable is a class", "Option\n  Fa:integer;1\n", [(1, 1, W)], FAIL),
    ("two object variables alike", "TA\nXA\n", [(2, 1, W)], FAIL),
    ("parent defined later", "TB(TA)\n  Fx:integer;1\nTA\n  Fy:integer;1\n", [(1, 4, W)], FAIL),
    ("own parent", "TA(TA)\n", [(1, 4, W)], FAIL),
    # A chain without fields has no Initial to override: the class declares
    # its own as virtual.
    ("no Initial along the chain", "TA\nTB(TA)\n  Fx:integer;1\n", [], OK),
    ("TObject as parent", "TB(TObject)\n  Fx:integer;1\n", [], OK),
    ("TObject further up", "TA(TObject)\nTB(TA)\n  Fx:integer;1\nTC(TB)\n  Fy:integer;2\n", [], OK),
    ("TInterfacedObject with an interface", "TB(TInterfacedObject, IUnknown)\n  Fx:integer;1\n",
     [(1, 21, N)], OK),
    ("parent outside the file", "TB(TNoSuch)\n  Fx:integer;1\n", [(1, 4, N)], FAIL),
    ("TPersistent without Classes", "TB(TPersistent)\n  Fx:integer;1\n", [(1, 4, W)], FAIL),
    ("TPersistent with Classes", "TB(TPersistent)\n  Fx:integer;1\nTIniter(TB)\n", [], OK,
     "d.txt", [], "UseUnit=Tamsel_common, Classes\n"),
    ("misspelt UseUnit list", "TA\n", [(0, 0, W)], FAIL, "d.txt", [], "UseUnit=Tamsel_common, Clases.\n"),
    ("interfaces after the parent", "TA\n  Fx:integer;1\nTB(TA, IUnknown)\n  Fy:integer;2\n",
     [(3, 6, N)], FAIL),
    ("a class named True", "True\nTA\n  Fb:boolean;1\n", [(1, 1, W)], FAIL),
    ("a class named like the INI file class", "TIniFileMine\nTIniter\n", [(1, 1, W)], FAIL),
    ("no class at all", "\n", [(0, 0, W)], FAIL),
    ("unknown parent, no fields", "TA(TNoSuch)\n", [(1, 4, N)], FAIL),
    ("fields before the controller, not its ancestor", "TA\n  Fx:integer;1\nTIniter\n",
     [(1, 1, W)], FAIL),
    # The controller's own fields of those names take the stored values.
    ("controller declares an unrelated class's fields",
     "TA\n  Fx:integer;1\n  Fz:string;a\nTIniter\n  Fx:integer;2\n  fz:string;b\n", [], OK),
    ("misspelt parent cuts the controller's chain",
     "TA\n  Fx:integer;1\nTB(TAA)\n  Fy:integer;2\nTIniter(TB)\n", [(1, 1, N), (3, 4, N), (3, 4, W)], FAIL),
    ("class line without ')'", "TA\nTB(TA\n", [(2, 4, N), (2, 6, W)], FAIL),
    ("class line that is a field line", "Fx:integer;1\n", [(1, 1, W)], FAIL),
    ("blank after the controller's name", "TIniter \n", [(1, 9, N)], OK),
    # Fields and the names made from them
    ("field twice", "TA\n  Fxxx:integer;1\n  Fxxx:integer;2\n", [(3, 3, W)], FAIL),
    ("field named like an automatic one", "TIniter\n  FFileName:string;x\n", [(2, 3, W)], FAIL),
    ("fields differing in case", "TA\n  Fxxx:integer;1\n  FXxx:integer;2\n", [(3, 3, W)], FAIL),
    ("method names collide", "TA\n  FName:string;1\n  FSelfName:string;2\n", [(3, 3, W)], FAIL),
    ("field name no identifier", "TA\n  F x:integer;1\n", [(2, 3, W)], FAIL),
    ("field name reserved", "TA\n  Type:integer;1\n", [(2, 3, W)], FAIL),
    ("item name begins with a digit", "TA\n  F1:integer;1\n", [(2, 3, W)], FAIL),
    ("one-letter field name", "TA\n  F:integer;1\n", [(2, 3, W)], FAIL),
    ("item name Self", "TA\n  FSelf:integer;1\n", [(2, 3, W)], FAIL),
    ("field name Self", "TA\n  Self:integer;1\n", [(2, 3, W)], FAIL),
    ("field name private", "TA\n  private:integer;1\n", [(2, 3, W)], FAIL),
    ("stored field IniFile", "TA\n  IniFile:integer;1\nTIniter(TA)\n", [(2, 3, W)], FAIL),
    ("field name 300 letters long", "TA\n  F" + "a" * 300 + ":integer;1\n", [(2, 3, W)], FAIL),
    ("ancestor's field in another case", "TA\n  Fxxx:integer;1\nTB(TA)\n  FXxx:integer;2\n",
     [(4, 3, W)], FPC_WARNS),
    ("parent named in another case", "TA\n  Fx:integer;1\nTB(ta)\n  Fx:integer;2\n",
     [(4, 3, W)], FPC_WARNS),
    ("redefined with another type", "TA\n  Fxxx:integer;1\nTB(TA)\n  Fxxx:string;2\n",
     [(4, 3, W)], FAIL),
    # Types
    ("no type", "TA\n  Fx:;80\n", [(2, 6, W)], FAIL),
    ("blank before the type", "TA\n  FPort: integer;80\n", [(2, 9, W)], FAIL),
    ("blank before a stored string type", "TA\n  Fx: string;80\nTIniter(TA)\n", [(2, 6, W)], FAIL),
    ("a class as type", "TA\nTB\n  Fo:TA;\n", [(3, 6, W)], FAIL),
    ("unknown type", "TA\n  Fo:TStringList;\n", [(2, 6, N)], FAIL),
    ("stored type without INI methods", "TA\n  Fx:char;a\nTIniter(TA)\n", [(2, 6, W)], FAIL),
    # Values
    ("integer not a number", "TA\n  Fx:integer;12abc\n", [(2, 14, W)], FAIL),
    ("integer with a fraction", "TA\n  Fx:integer;1.5\n", [(2, 14, W)], FAIL),
    ("no integer value", "TA\n  Fx:integer;\n", [(2, 14, W)], FAIL),
    ("binary digits", "TA\n  Fx:integer;%101\n", [(2, 14, W)], FAIL),
    ("decimal comma", "TA\n  Fx:double;1,5\n", [(2, 13, W)], FAIL),
    ("integer with an exponent", "TA\n  Fx:integer;1e+5\n", [(2, 14, W)], FAIL),
    ("integer with a blank inside", "TA\n  Fx:integer;1 000\n", [(2, 14, W)], FAIL),
    ("currency out of range", "TA\n  Fx:currency;1e20\n", [(2, 15, W)], FAIL),
    ("unknown constant", "TA\n  Fx:integer;auto\n", [(2, 14, N)], FAIL),
    ("byte out of range", "TA\n  Fx:byte;256\n", [(2, 11, W)], FPC_WARNS),
    ("integer out of range", "TA\n  Fx:integer;3000000000\n", [(2, 14, W)], FPC_WARNS),
    ("odd apostrophes", "TA\n  Fs:string;it's\n", [(2, 13, W)], FAIL),
    ("char of two letters", "TA\n  Fc:char;ab\n", [(2, 11, W)], FAIL),
    ("empty char", "TA\n  Fc:char;\n", [(2, 11, W)], FAIL),
    ("boolean not an integer", "TA\n  Fb:boolean;yes\n", [(2, 14, E)], None),
    # The unit's name and the command line
    ("unit name with a hyphen", "TA\n", [(0, 0, W)], FAIL, "my-opts.txt"),
    ("unit name with a digit first", "TA\n", [(0, 0, W)], FAIL, "2024opts.txt"),
    ("unit name reserved", "TA\n", [(0, 0, W)], FAIL, "type.txt"),
    ("unit named like a used unit", "TA\n", [(0, 0, W)], FAIL, "SysUtils.txt"),
    ("further arguments", "TA\n", [(0, 0, W)], OK, "d.txt", ["more"]),
    # Settings
    ("no UseUnit for the INI file class", "TA\n  Fx:integer;1\nTIniter(TA)\n", [(3, 1, W)], FAIL,
     "d.txt", [], "UseUnit=\n"),
    ("UseUnit already used", "TA\n", [(0, 0, W)], FAIL, "d.txt", [], "UseUnit=SysUtils\n"),
    ("UseUnit no unit name", "TA\n", [(0, 0, W)], FAIL, "d.txt", [], "UseUnit=My Unit\n"),
    ("cCheck the runtime unit lacks", "TA\n  Fx:integer;1\nTIniter(TA)\n", [(3, 1, W)], FAIL,
     "d.txt", [], "cCheck=Foo\n"),
    # Definitions whose units compile cleanly: nothing to report
    ("the sample", "TOption\n  Fxxx:string;123\n  Fyyy:integer;456\n  Fzzz:boolean;1\n"
     "TIniter(TOption)\nTParam(TIniter)\n  Fxxx:string;789\n", [], OK),
    ("type aliases and case", "TA\n  Fa:integer;1\n  Fb:string;x\nTB(TA)\n  Fa:LongInt;2\n"
     "  Fb:AnsiString;y\n", [], OK),
    ("numbers of every form", "TA\n  Fa:integer;$FF\n  Fb:integer;-5\n  Fc:integer;&17\n"
     "  Ff:uint64;18446744073709551615\n  Fg:int64;-9223372036854775808\n  Fh:double;1.5e3\n"
     "  Fi:double;5.\n  Fj:currency;1.2345\n  Fk:integer; 80\n  Fl:int64;$8000000000000000\n",
     [], OK),
    ("names and expressions as numbers", "TA\n  Fa:integer;MaxInt\n  Fb:integer;2*3\n",
     [(2, 14, N), (3, 14, N)], OK),
    ("a UTF-8 character", "\ufeffTA\n  Fc:widechar;\u3042\n", [], OK),
    ("char and ansichar", "TA\n  Fx:char;1\nTB(TA)\n  Fx:ansichar;2\n", [], OK),
    ("words refused only as parameters", "TA\n  out:integer;1\n  inline:integer;2\n", [], OK),
    ("blank after a field name", "TA\n  Fx :integer;1\n", [], OK),
    ("INI file class of IniFiles", "TIniter\n", [], OK, "d.txt", [], "cTIniFileMine=TIniFile\n"),
    ("value already in quotes", "TA\n  FTitle:string;'My App'\n", [(2, 17, W)], FAIL),
    ("value spliced with an expression", "TA\n  FTitle:string;'+IntToStr(2)+'\n", [], OK),
    ("float ending in a point, stored", "TA\n  FZoom:Double;5.\nTIniter(TA)\n", [(2, 16, W)], FAIL),
    ("float ending in a point, not stored", "TA\n  FZoom:Double;5.\n", [], OK),
    ("brace comment after a number", "TA\n  FWindowState:integer;0 { px }\nTIniter(TA)\n",
     [(2, 24, N)], OK),
    ("blank before the semicolon, stored", "TA\n  FName:string ;x\nTIniter(TA)\n", [(2, 9, N)], OK),
    ("blank before the type, stored", "TA\n  FName: string;x\nTIniter(TA)\n", [(2, 9, W)], FAIL),
    ("accessors hide an ancestor's", "TOpt\n  FHost:string;h\nTMine(TOpt)\n  mHost:string;m\n",
     [(4, 3, W)], FPC_WARNS),
    ("date and time fields, stored",
     "TA\n  FWhen:TDateTime;45000.5\n  FDay:tdate;45000\n  FAt:TTime;0.25\nTIniter(TA)\n", [], OK),
    ("apostrophes in pairs", "TA\n  Fs:string;abc'+IntToStr(1)+'def\n  Fc:char;''\n", [], OK),
    ("item named like a reserved word", "TA\n  FType:integer;1\n  FFxxx:integer;1\n"
     "  Fxxx:integer;1\n", [], OK),
    ("dotted unit name", "TA\n", [], OK, "my.opts.txt"),
    ("unit named like a class", "TA\n", [], OK, "TA.txt"),
]

LINE = re.compile(r"^(?:.*\((\d+),(\d+)\)|Tamsel:) (Error|Warning|Note): ")


def findings(err):
    found = []
    for line in err.splitlines():
        m = LINE.match(line)
        if m:
            found.append((int(m.group(1) or 0), int(m.group(2) or 0), m.group(3)))
    return sorted(found)


def main():
    exe, runtime = os.path.realpath(sys.argv[1]), os.path.realpath(sys.argv[2])
    fpc = shutil.which("fpc")
    if not fpc:
        print("note: fpc is not installed; the findings are checked, the units are not compiled")
    failed = 0
    with tempfile.TemporaryDirectory() as work:
        for n, row in enumerate(ROWS):
            name, definition, expected, verdict = row[:4]
            file = row[4] if len(row) > 4 else "d.txt"
            args = row[5] if len(row) > 5 else []
            settings = row[6] if len(row) > 6 else None
            d = os.path.join(work, str(n))
            os.mkdir(d)
            shutil.copy(exe, os.path.join(d, "Tamsel"))
            if settings is not None:
                with open(os.path.join(d, "Tamsel.ini"), "w") as fh:
                    fh.write("[Tamsel]\n" + settings)
            with open(os.path.join(d, file), "w", encoding="utf-8") as fh:
                fh.write(definition)
            run = subprocess.run(["./Tamsel", file] + args, cwd=d, capture_output=True,
                                 text=True, errors="replace", env=dict(os.environ, LC_ALL="C.UTF-8"))
            got = findings(run.stderr)
            problems = []
            if got != sorted(expected):
                problems.append("findings %s, expected %s:\n%s" % (got, sorted(expected), run.stderr))
            if fpc and verdict and run.returncode == 0:
                unit = os.path.splitext(file)[0] + ".pas"
                out = os.path.join(d, "out")
                os.mkdir(out)
                c = subprocess.run([fpc, "-Mdelphi", "-Fu" + runtime, "-FU" + out, unit], cwd=d,
                                   capture_output=True, text=True, errors="replace")
                warns = re.search(r"\) Warning: ", c.stdout) is not None
                outcome = FAIL if c.returncode != 0 else (FPC_WARNS if warns else OK)
                if outcome != verdict:
                    first = [l for l in c.stdout.splitlines() if re.search(r"(Error|Fatal|Warning):", l)]
                    problems.append("fpc: the unit %s, expected: %s %s" % (outcome, verdict, first[:2]))
            elif verdict and run.returncode != 0:
                problems.append("Tamsel ended with %d: %s" % (run.returncode, run.stdout + run.stderr))
            if problems:
                failed += 1
                print("FAILED: %s: %s" % (name, "; ".join(problems)))
            else:
                print("passed: %s" % name)
    print("%d of %d rows failed" % (failed, len(ROWS)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
