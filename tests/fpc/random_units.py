#!/usr/bin/env python3
"""Random definition files, their units and a round trip through the INI file.

For every case the script writes a small definition file of the kind a
careful Delphi programmer writes, has Tamsel generate its unit, compiles the
unit with a program written for it (Free Pascal, Delphi mode, or with --mode
delphiunicode the mode where string is UnicodeString) and runs the
program twice:

  first  creates each plain class of the chain before TIniter and checks the
         initial values its getters return; creates TIniter (which loads the
         INI file, missing at this point), checks the values every stored
         field starts with, sets every stored field through its virtual
         setter to a new value and TIniter's own fields as well, frees the
         object (which stores), creates it again and checks that every stored
         field came back and that TIniter's own fields did not;
  again  creates TIniter from the stored file, checks the stored values and
         frees it, which must leave the INI file's bytes and time alone.

Kinds of failure, in the order they are tested (the first one ends a case):
  generate        Tamsel did not end with 0, printed something on standard
                  output, or wrote no unit
  unit-bom        the unit does not start with a UTF-8 mark exactly when the
                  definition does, or holds one further on
  compile         fpc refused the unit or the program
  fpc-warning     fpc compiled them with a warning
  tamsel-warning  Tamsel reported a warning or an error for a definition whose
                  unit compiles cleanly
  round-trip      a run of the program failed (its message names the field)
  ini-keys        the program's section does not hold exactly the keys of the
                  stored fields
  ini-rewritten   the second run changed the INI file
  script          this script failed on the case (a fault of the script)

A definition is made of:
  - a chain of classes ending in TIniter; every class with fields before
    TIniter is one of its ancestors, so all stored fields are reachable, and
    fields may be redefined along the chain with the ancestor's type;
  - classes after TIniter, each derived from TIniter or from one of them,
    which may redefine fields of their ancestors (TIniter's FFileName and
    FSection included) and, as unrelated branches, share field names;
  - now and then a class without fields, anywhere;
  - names with T/F prefixes in varied letter case; initial values in range,
    strings with Japanese text, booleans as 0/1;
  - a Tab setting of 1 to 8 (the settings file beside a private copy of
    Tamsel), CR LF or LF line ends, sometimes a .const file.

Features (--features, a comma separated list; "basic" and "all" are sets, a
name adds a feature, "-name" removes one, e.g. "all,-bom" or "basic,reserved"):
  tabs       Tab settings other than 2
  crlf       CR LF line ends, files without a last line end
  blank      empty lines between classes
  const      a .const file with constants the program checks
  japanese   Japanese text in string values
  typecase   type names in any letter case (Integer, BOOLEAN, WideString)
  numeric    the other integer types, the floating point types and currency
  strtypes   widestring, unicodestring, ansistring, shortstring
  reserved   item names that are reserved words (FType, FEnd, FObject ...),
             classes whose object variable is one (TR gives OR)
  bom        a UTF-8 byte-order mark in front of some definition and .const
             files (the program is then written with one as well)
  ctlredef   TIniter redefines a stored field of one of its ancestors
  shared     unrelated classes after TIniter use the same field name
  datetime   TDateTime, TDate and TTime fields (whole seconds, so that their
             ISO 8601 text in the INI file holds them exactly)
  roots      the chain starts from TObject, TPersistent (with Classes in
             UseUnit) or TInterfacedObject, or from a class without fields
  basic = tabs,crlf,blank,const,japanese       all = every feature

Usage:
  random_units.py --tamsel EXE --runtime DIR [--count N] [--seed S]
                  [--features LIST] [--keep DIR] [--jobs J] [--only I,J,...]
                  [--mode delphi|delphiunicode]

A case is named r<seed>_<index>; the same seed and index always give the same
files, so "--seed S --only I" repeats one case. Failing cases are kept, with
the definition, the settings, the unit, the program and the logs, under
--keep DIR (by default a folder the script names). One line per failure, a
count per kind of failure and per feature, and last the line
"N passed, M failed". Exit code 0 when every case passed, 1 otherwise, 2 for
wrong arguments or when the runtime unit does not compile, 77 when fpc is
missing.
"""

import argparse
import concurrent.futures
import os
import queue
import random
import re
import shutil
import subprocess
import sys
import tempfile
import threading
from decimal import Decimal, getcontext

getcontext().prec = 60

FEATURES = ("tabs", "crlf", "blank", "const", "japanese", "typecase", "numeric",
            "strtypes", "reserved", "bom", "ctlredef", "shared", "datetime", "roots")
# Standard classes a chain may start from.
ROOTS = ("TObject", "TObject", "TPersistent", "TInterfacedObject")
PRESETS = {
    "basic": {"tabs", "crlf", "blank", "const", "japanese"},
    "all": set(FEATURES),
}

BOM = b"\xef\xbb\xbf"
INI_CLASS = "TIniter"

# Words that Free Pascal refuses as parameter or variable names in Delphi
# mode (checked with fpc 3.2: "on", "operator", "self", "absolute", "inline"
# are accepted there and so are not listed).
RESERVED = (
    "and array as asm begin case class const constref constructor destructor "
    "dispinterface div do downto else end except exports file finalization "
    "finally for function goto if implementation in inherited initialization "
    "interface is label library mod nil not object of or out packed procedure "
    "program property raise record repeat resourcestring set shl shr string "
    "then threadvar to try type unit until uses var while with xor").split()
RESERVED_SET = set(RESERVED)

# Class names whose object variable ("O" + the name without its T) is a
# reserved word. ("Out" would be one as well, but Free Pascal takes it as a
# variable name; it is refused as a parameter name only.)
RESERVED_CLASSES = ("TR", "Tr", "TF", "Tf", "TBJECT", "TBject", "Tbject")

SIGNED = {
    "shortint": (-128, 127), "smallint": (-32768, 32767),
    "integer": (-2**31, 2**31 - 1), "longint": (-2**31, 2**31 - 1),
    "int64": (-2**63, 2**63 - 1),
    # Literals stay inside 32 bits so that the unit compiles for any target;
    # the program also sets High/Low of the type.
    "nativeint": (-2**31, 2**31 - 1),
}
UNSIGNED = {
    "byte": 255, "word": 65535, "longword": 2**32 - 1, "cardinal": 2**32 - 1,
    "uint64": 2**64 - 1, "nativeuint": 2**32 - 1,
}
FLOATS = ("single", "double", "extended", "real", "currency")
STRINGS = ("string", "ansistring", "shortstring", "widestring", "unicodestring")
WIDE = ("widestring", "unicodestring")
DATES = ("tdatetime", "tdate", "ttime")

# How a type name may be spelt when its letter case varies.
SPELLINGS = {
    "string": ["String", "STRING"], "integer": ["Integer", "INTEGER", "InTeGeR"],
    "boolean": ["Boolean", "BOOLEAN", "BooLean"], "shortint": ["ShortInt", "SHORTINT"],
    "smallint": ["SmallInt", "Smallint"], "longint": ["LongInt", "Longint", "LONGINT"],
    "int64": ["Int64", "INT64"], "byte": ["Byte", "BYTE"], "word": ["Word", "WORD"],
    "longword": ["LongWord", "Longword"], "cardinal": ["Cardinal", "CARDINAL"],
    "uint64": ["UInt64", "Uint64", "UINT64"], "nativeint": ["NativeInt", "NATIVEINT"],
    "nativeuint": ["NativeUInt", "NativeUint"], "single": ["Single", "SINGLE"],
    "double": ["Double", "DOUBLE"], "extended": ["Extended", "EXTENDED"],
    "currency": ["Currency", "CURRENCY"], "real": ["Real", "REAL"],
    "widestring": ["WideString", "Widestring", "WIDESTRING"],
    "unicodestring": ["UnicodeString", "Unicodestring"],
    "ansistring": ["AnsiString", "Ansistring"], "shortstring": ["ShortString", "SHORTSTRING"],
    "tdatetime": ["tdatetime", "TDATETIME", "Tdatetime"], "tdate": ["tdate", "TDATE"],
    "ttime": ["ttime", "TTIME"],
}
# How the date and time types are spelt when letter case does not vary.
DATE_SPELLING = {"tdatetime": "TDateTime", "tdate": "TDate", "ttime": "TTime"}

# Identifiers a generated name must not take: type names, names the
# generated code or the program uses, methods of TObject.
TAKEN = set(SIGNED) | set(UNSIGNED) | set(FLOATS) | set(STRINGS) | {
    "boolean", "self", "result", "create", "destroy", "free", "initial", "initialself",
    "initialsuper", "iniread", "iniwrite", "inifile", "filename", "section", "ffilename",
    "fsection", "sysutils", "inifiles", "tamsel_common", "system", "true", "false", "exit",
    "halt", "length", "high", "low", "inc", "dec", "ord", "chr", "write", "writeln", "read",
    "readln", "paramstr", "expandfilename", "changefileext", "extractfilename", "hashcode",
    "classname", "classtype", "unitname", "on", "operator", "absolute", "inline",
    "reintroduce", "fail", "inttostr", "floattostr", "currtostr", "booltostr",
    "tobject", "tiniter", "tinifile", "tinifilemine", "tcustominifile", "tmeminifile",
    "tstrings", "tstringlist", "tlist", "tfilename", "tdatetime", "texception", "tclass",
    "tformatsettings", "tstream", "tpersistent", "tbytes", "tencoding", "tsearchrec",
    "tinterfacedobject", "classes",
    "plain", "checkstored", "checkown", "setall", "s", "c",
}

ITEM_WORDS = (
    "host port count width height color title path mode level limit retries timeout user "
    "lang theme font scale ratio offset margin depth speed volume rate zoom server proxy "
    "cache buffer delay interval locale region zone layer grid page column row cell caption "
    "prefix suffix enabled visible checked max min start stop top left bottom right first "
    "last next prev total sum price tax weight kind style memo note comment remark address "
    "phone mail url backup history recent name").split()
CLASS_WORDS = (
    "Option Base Editor Window Network Database Setting Config Proxy Layout Printer Viewer "
    "Theme Profile Account Session Report Export Backup Logger Cache Server Client Device "
    "Panel Toolbar Dialog Param Env Main App Doc Table Chart Sound Video Camera Sensor "
    "Middle Root Extra Detail").split()

JAPANESE = ("日本語", "設定ファイル", "東京都千代田区", "接続先", "テスト用の値", "表示名",
            "全角　空白", "ログ出力先", "データベース", "初期値", "こんにちは世界", "予定表",
            "第２版", "漢字かなカナ", "ＡＢＣ１２３", "半角ｶﾅ", "〒100-0001", "①②③")
ASCII_TEXT = ("localhost", "example.org", "C:/data/app", "main window", "v2.0", "abc_def",
              "Hello World", "x", "42", "A-B-C", "path/to/file.txt", "OK", "-1", "tab stop")


class Field:
    def __init__(self, name, base, spelt, init, redefines=False):
        self.name = name          # as written, e.g. "FCount"
        self.base = base          # the type in lower case, e.g. "integer"
        self.spelt = spelt        # the type as written, e.g. "Integer"
        self.init = init          # the initial value as written in the file
        self.redefines = redefines

    @property
    def item(self):
        return self.name[1:]


class ClassDef:
    def __init__(self, name, parent):
        self.name = name
        self.parent = parent      # a ClassDef or None
        self.outside = None       # without a parent here: a standard class to derive from
        self.fields = []
        self.stored = False       # before TIniter in the file

    def chain(self):
        """This class and its ancestors, the root first."""
        out = []
        c = self
        while c is not None:
            out.append(c)
            c = c.parent
        return out[::-1]

    def visible(self, name):
        for c in reversed(self.chain()):
            for f in c.fields:
                if f.name == name:
                    return f
        return None


class Case:
    """One random definition with all it needs to write its files."""

    def __init__(self, seed, index, features):
        self.name = "r%d_%04d" % (seed, index)
        self.prog = self.name + "_demo"
        self.rng = random.Random("%d/%d" % (seed, index))
        self.features = features
        self.tags = set()
        self.used = set(TAKEN) | {self.name.lower(), self.prog.lower()}
        self.classes = []
        self.tab = 2
        self.bom = False
        self.const_bom = False
        self.consts = []          # (name, pascal type, literal)
        self.eol = "\n"
        self.last_eol = True
        self.blank = set()
        self.generate()

    # --- names ---------------------------------------------------------

    def has(self, feature):
        return feature in self.features

    def styled(self, words):
        rng = self.rng
        style = rng.choice(("camel", "camel", "camel", "lower", "upper", "mixed", "snake"))
        if style == "camel":
            text = "".join(w.capitalize() for w in words)
        elif style == "lower":
            text = "".join(words)
        elif style == "upper":
            text = "".join(words).upper()
        elif style == "mixed":
            text = words[0] + "".join(w.capitalize() for w in words[1:])
        else:
            text = "_".join(w.capitalize() if rng.random() < 0.5 else w for w in words)
        if rng.random() < 0.15:
            text += str(rng.randint(1, 9))
        if rng.random() < 0.05:
            text = "_" + text
        return text

    def new_item(self):
        rng = self.rng
        for _ in range(1000):
            if self.has("reserved") and rng.random() < 0.2:
                word = rng.choice(RESERVED)
                item = rng.choice((word.capitalize(), word, word.upper()))
            else:
                item = self.styled(rng.sample(ITEM_WORDS, rng.choice((1, 1, 2))))
            low = item.lower()
            if low in self.used or ("f" + low) in self.used or ("f" + low) in RESERVED_SET:
                continue
            if low.startswith("self") or low.startswith("allself"):
                continue
            if low in RESERVED_SET:
                if not self.has("reserved"):
                    continue
                self.tags.add("reserved")
            self.used.update((low, "f" + low))
            return "F" + item
        raise RuntimeError("no field name left")

    def new_class_name(self):
        rng = self.rng
        for _ in range(1000):
            if self.has("reserved") and rng.random() < 0.12:
                name = rng.choice(RESERVED_CLASSES)
            else:
                name = "T" + self.styled(rng.sample(CLASS_WORDS, rng.choice((1, 2))))
            low = name.lower()
            var = "o" + low[1:]
            if low in self.used or var in self.used or low[1:] in self.used or low in RESERVED_SET:
                continue
            if var in RESERVED_SET:
                self.tags.add("reserved")
            self.used.update((low, var))
            return name
        raise RuntimeError("no class name left")

    # --- types and values ----------------------------------------------

    def pick_type(self):
        rng = self.rng
        pool = ["string", "integer", "boolean"] * 4
        if self.has("numeric"):
            pool += list(SIGNED) + list(UNSIGNED) + list(FLOATS)
        if self.has("strtypes"):
            pool += list(STRINGS[1:])
        if self.has("datetime"):
            pool += list(DATES) * 2
        base = rng.choice(pool)
        if base in DATES:
            self.tags.add("datetime")
            spelt = self.spell(base)
            return base, DATE_SPELLING[base] if spelt == base else spelt
        if base not in ("string", "integer", "boolean"):
            self.tags.add("numeric" if base not in STRINGS else "strtypes")
        return base, self.spell(base)

    def spell(self, base):
        if self.has("typecase") and self.rng.random() < 0.5:
            self.tags.add("typecase")
            return self.rng.choice(SPELLINGS[base])
        return base

    def value(self, base, for_file, avoid=()):
        """A value of the type as (Pascal expression, literal text). The
        literal is what a definition file holds; None when the value is only
        written in the program (High(Int64) and the like)."""
        for _ in range(200):
            v = self._value(base, for_file)
            if canon(base, v[0]) not in avoid:
                return v
        return v

    def _value(self, base, for_file):
        rng = self.rng
        if base == "boolean":
            b = rng.random() < 0.5
            return ("True" if b else "False"), ("1" if b else "0")
        if base in SIGNED or base in UNSIGNED:
            if base in SIGNED:
                lo, hi = SIGNED[base]
            else:
                lo, hi = 0, UNSIGNED[base]
            r = rng.random()
            canon = SPELLINGS[base][0]
            if r < 0.25 and not for_file and base in ("int64", "uint64", "nativeint", "nativeuint",
                                                      "integer", "cardinal", "smallint"):
                expr = rng.choice(("High", "Low")) + "(" + canon + ")"
                return expr, None
            if r < 0.45:
                n = rng.choice((lo, hi))
            elif r < 0.55:
                n = 0
            elif r < 0.8:
                n = rng.randint(max(lo, -1000), min(hi, 1000))
            else:
                n = rng.randint(lo, hi)
            return str(n), str(n)
        if base in FLOATS:
            text = self.float_text(base)
            return text, text
        if base in DATES:
            # Days since 1899-12-30 and 128ths of a day (675 seconds each).
            days = Decimal(rng.randint(1, 80000)) if base != "ttime" else Decimal(0)
            part = Decimal(rng.randint(0, 127)) / 128 if base != "tdate" else Decimal(0)
            text = decimal_text(days + part)
            return text, text
        # strings
        text = self.string_text(base)
        return pascal_string(text), text

    def float_text(self, base):
        rng = self.rng
        r = rng.random()
        if base == "currency":
            whole = rng.choice((0, rng.randint(0, 999), rng.randint(0, 10**11 - 1)))
            frac = rng.randint(0, 9999)
            digits = rng.randint(0, 4)
            text = str(whole)
            if digits:
                text += "." + str(frac).rjust(4, "0")[:digits]
            if rng.random() < 0.4:
                text = "-" + text
            return text
        if r < 0.1:
            return "0"
        if base == "single":
            # Values a single holds exactly and that need at most six digits.
            if r < 0.7:
                m = rng.randint(-9999, 9999)
                k = rng.randint(0, 2)
                return decimal_text(Decimal(m) / Decimal(2 ** k))
            mant = rng.randint(1, 99)
            exp = rng.randint(-30, 30)
            sign = "-" if rng.random() < 0.5 else ""
            return "%s%d.%dE%d" % (sign, mant // 10 or 1, mant % 10, exp)
        # double, real, extended: at most fifteen significant digits
        if r < 0.6:
            m = rng.randint(-10**9, 10**9)
            k = rng.randint(0, 10)
            return decimal_text(Decimal(m) / Decimal(2 ** k))
        ndig = rng.randint(1, 15)
        digits = str(rng.randint(10 ** (ndig - 1), 10 ** ndig - 1))
        exp = rng.randint(-300, 300)
        sign = "-" if rng.random() < 0.5 else ""
        frac = digits[1:] or "0"
        return "%s%s.%sE%d" % (sign, digits[0], frac, exp)

    def string_text(self, base):
        rng = self.rng
        if rng.random() < 0.1:
            return ""
        # Wide strings hold Japanese text from a UTF-8 source only.
        japanese = self.has("japanese") and (base not in WIDE or self.bom)
        parts = []
        for _ in range(rng.choice((1, 1, 2, 3))):
            if japanese and rng.random() < 0.6:
                parts.append(rng.choice(JAPANESE))
            else:
                parts.append(rng.choice(ASCII_TEXT))
        text = rng.choice((" ", "", "-", "/")).join(parts)
        if base == "shortstring":
            while len(text.encode("utf-8")) > 255:
                text = text[:-1]
        if any(ord(ch) > 127 for ch in text):
            self.tags.add("japanese")
        return text.strip()

    # --- the definition ------------------------------------------------

    def generate(self):
        rng = self.rng
        if self.has("tabs") and rng.random() < 0.75:
            self.tab = rng.randint(1, 8)
            if self.tab != 2:
                self.tags.add("tabs")
        if self.has("crlf"):
            self.eol = rng.choice(("\n", "\r\n"))
            self.last_eol = rng.random() < 0.8
            if self.eol == "\r\n" or not self.last_eol:
                self.tags.add("crlf")
        if self.has("bom") and rng.random() < 0.4:
            self.bom = True
            self.tags.add("bom")

        total = rng.randint(2, 8)
        # Chain classes before TIniter; without any, nothing is stored.
        before = 0 if rng.random() < 0.08 else rng.randint(1, min(4, total - 1))
        after = total - 1 - before
        classes = []

        # Maybe a class without fields that the chain does not use.
        if before > 1 and rng.random() < 0.2:
            loose = ClassDef(self.new_class_name(), None)
            classes.append(loose)
            before -= 1
        parent = None
        root = None
        if self.has("roots") and rng.random() < 0.5:
            root = rng.choice(ROOTS)
            self.tags.add("roots")
        for i in range(before):
            c = ClassDef(self.new_class_name(), parent)
            c.stored = True
            if i == 0:
                c.outside = root
            # A class without fields first gives the chain no Initial to
            # override.
            fieldless = (i > 0 or self.has("roots")) and rng.random() < 0.15
            if fieldless and i == 0:
                self.tags.add("roots")
            if not fieldless:
                self.add_fields(c, rng.randint(1, 6), redefine=True)
            classes.append(c)
            parent = c
        ini = ClassDef(INI_CLASS, parent)
        if parent is None:
            ini.outside = root
        ini.fields = [Field("FFileName", "string", "string", ""),
                      Field("FSection", "string", "string", "")]
        stored_names = [f.name for c in classes if c.stored for f in c.fields]
        own = rng.choice((0, 0, 1, 2, 3))
        if self.has("ctlredef") and stored_names and rng.random() < 0.6:
            names = sorted(set(stored_names))
            for name in rng.sample(names, rng.randint(1, min(2, len(names)))):
                ancestor = ini.visible(name)
                base = ancestor.base
                init = self.value(base, True)[1]
                ini.fields.append(Field(name, base, self.spell(base), init, redefines=True))
                self.tags.add("ctlredef")
        self.add_fields(ini, own, redefine=False)
        classes.append(ini)
        self.ini = ini

        tree = [ini]
        for _ in range(after):
            c = ClassDef(self.new_class_name(), rng.choice(tree))
            if rng.random() < 0.1:
                pass   # a class without fields
            else:
                self.add_fields(c, rng.randint(1, 6), redefine=True, others=tree)
            classes.append(c)
            tree.append(c)
        self.classes = classes
        # Empty lines before some class lines.
        if self.has("blank") and rng.random() < 0.3:
            self.blank = {i for i in range(1, len(classes)) if rng.random() < 0.5}
            if self.blank:
                self.tags.add("blank")

        if self.has("const") and rng.random() < 0.3:
            self.tags.add("const")
            for _ in range(rng.randint(1, 3)):
                base = rng.choice(("integer", "string", "boolean"))
                cname = "c%s%d" % (rng.choice(("Max", "Title", "Flag", "Limit", "Label")),
                                   len(self.consts) + 1)
                cname += "_" + self.name[-4:]
                if base == "integer":
                    n = rng.randint(-1000, 100000)
                    self.consts.append((cname, "Integer", str(n)))
                elif base == "boolean":
                    self.consts.append((cname, "Boolean", rng.choice(("True", "False"))))
                else:
                    self.consts.append((cname, "string", pascal_string(self.string_text("string"))))
            self.const_bom = self.has("bom") and rng.random() < 0.4
            if self.const_bom:
                self.tags.add("bom")

    def add_fields(self, c, count, redefine, others=()):
        rng = self.rng
        for _ in range(count):
            r = rng.random()
            if redefine and c.parent is not None and r < 0.3:
                names = {}
                for anc in c.parent.chain():
                    for f in anc.fields:
                        names[f.name] = f
                names = [n for n in names if not any(g.name == n for g in c.fields)]
                if names:
                    name = rng.choice(sorted(names))
                    base = c.parent.visible(name).base
                    init = self.value(base, True)[1]
                    c.fields.append(Field(name, base, self.spell(base), init, redefines=True))
                    continue
            if self.has("shared") and others and r > 0.7:
                # A name only classes outside this class's chain use.
                mine = c.chain()
                names = sorted({f.name for o in others if o not in mine for f in o.fields
                                if not f.redefines}
                               - {f.name for a in mine for f in a.fields}
                               - {"FFileName", "FSection"})
                if names:
                    name = rng.choice(names)
                    base, spelt = self.pick_type()
                    c.fields.append(Field(name, base, spelt, self.value(base, True)[1]))
                    self.tags.add("shared")
                    continue
            base, spelt = self.pick_type()
            c.fields.append(Field(self.new_item(), base, spelt, self.value(base, True)[1]))

    # --- the files -------------------------------------------------------

    def definition_bytes(self):
        lines = []
        indent = " " * self.tab
        for i, c in enumerate(self.classes):
            if i in self.blank:
                lines.append("")
            parent = c.parent.name if c.parent is not None else c.outside
            head = c.name if parent is None else "%s(%s)" % (c.name, parent)
            lines.append(head)
            own = c.fields[2:] if c is self.ini else c.fields
            for f in own:
                lines.append("%s%s:%s;%s" % (indent, f.name, f.spelt, f.init))
        text = self.eol.join(lines) + (self.eol if self.last_eol else "")
        return (BOM if self.bom else b"") + text.encode("utf-8")

    def const_bytes(self):
        lines = ["const"] + ["  %s = %s;" % (n, v) for n, _, v in self.consts]
        text = self.eol.join(lines) + self.eol
        return (BOM if self.const_bom else b"") + text.encode("utf-8")

    def settings_bytes(self, section):
        text = "[%s]\r\nTab=%d\r\n" % (section, self.tab)
        if any(c.outside == "TPersistent" for c in self.classes):
            text += "UseUnit=Tamsel_common, Classes\r\n"
        return text.encode("ascii")

    def stored_keys(self):
        """Stored field names in file order, each with its definitions."""
        keys = {}
        for c in self.classes:
            if not c.stored:
                continue
            for f in c.fields:
                keys.setdefault(f.name, []).append(f)
        return keys

    def program_text(self, mode="delphi"):
        rng = random.Random(self.name + "/program")
        consts = []
        body_first = []
        plains = []
        checks_stored = []
        checks_own = []

        def const(spelt, expr):
            name = "V%d" % (len(consts) + 1)
            if spelt.lower() == "shortstring" and (self.bom or mode == "delphiunicode"):
                # Free Pascal does not convert a constant from a UTF-8 source,
                # or a Unicode one, to a short string at compile time; the
                # program compares and sets through a string instead.
                spelt = "string"
            consts.append("  %s: %s = %s;" % (name, spelt, expr))
            return name

        def show(base, expr):
            # string(...): Free Pascal's SysUtils gives AnsiString, which a
            # Unicode program converts only with a warning unless told to.
            if base == "boolean":
                return "string(BoolToStr(%s, True))" % expr
            if base == "currency":
                return "string(CurrToStr(%s))" % expr
            if base in FLOATS or base in DATES:
                return "string(FloatToStr(%s))" % expr
            if base in SIGNED or base in UNSIGNED:
                return "string(IntToStr(%s))" % expr
            return "string(%s)" % expr

        # A short string against a string constant, in a Unicode program:
        # converted both ways explicitly, as the compiler warns otherwise.
        short_unicode = mode == "delphiunicode"

        def arg(f, name):
            return "ShortString(%s)" % name if short_unicode and f.base == "shortstring" else name

        def check(obj, f, cname, expected, what, out, getter_part="Get"):
            getter = "%s.%s%s" % (obj, getter_part, f.item)
            if short_unicode and f.base == "shortstring":
                getter = "string(%s)" % getter
            out.append("  if %s <> %s then" % (getter, expected))
            out.append("    Fail(%s + %s + ', expected ' + %s);"
                       % (pascal_string("%s: %s.%s (%s) is " % (what, cname, f.name, f.spelt)),
                          show(f.base, getter), show(f.base, expected)))

        # Plain classes of the chain: each getter gives the value of the
        # root-most definition (InitialSuper copies the inherited value).
        for c in self.ini.chain()[:-1]:
            seen = {}
            for anc in c.chain():
                for f in anc.fields:
                    seen.setdefault(f.name, f)
            if not seen:
                continue
            proc = ["procedure Plain%d;" % (len(plains) + 1), "var", "  C: %s;" % c.name,
                    "begin", "  C := %s.Create;" % c.name]
            for name, f in seen.items():
                check("C", f, c.name, const(f.spelt, literal_expr(f)), "initial value", proc)
            if c.fields:
                # SetAllSelf sets the class's own copies, in field order.
                args = [const(f.spelt, self.value(f.base, False,
                                                  avoid={canon(f.base, literal_expr(f))})[0])
                        for f in c.fields]
                proc.append("  C.SetAllSelf(%s);" % ", ".join(arg(f, a) for f, a in zip(c.fields, args)))
                for f, a in zip(c.fields, args):
                    check("C", f, c.name, a, "after SetAllSelf", proc, "GetSelf")
            proc += ["  C.Free;", "end;", ""]
            plains.append(proc)

        keys = self.stored_keys()
        own_new = [f for f in self.ini.fields[2:] if f.name not in keys]
        new_values = {}
        for name, defs in keys.items():
            # The copy the getter returns: TIniter's own when it redefines
            # the field, else the one of the last stored class.
            copy = self.ini.visible(name)
            # Before the first store every read line of the key falls back on
            # its default, and the last one decides.
            expected = const(copy.spelt, literal_expr(defs[-1]))
            check("S", copy, INI_CLASS, expected, "before the first store", body_first)
            avoid = {canon(d.base, literal_expr(d)) for d in defs}
            expr, _ = self.value(copy.base, False, avoid=avoid)
            new_values[name] = (copy, const(copy.spelt, expr))
        for f in own_new:
            check("S", f, INI_CLASS, const(f.spelt, literal_expr(f)), "own field, initial",
                  body_first)
        setters = []
        for name, (f, v) in new_values.items():
            setters.append("  S.Set%s(%s);" % (f.item, arg(f, v)))
        for f in own_new:
            expr, _ = self.value(f.base, False, avoid={canon(f.base, literal_expr(f))})
            setters.append("  S.Set%s(%s);" % (f.item, arg(f, const(f.spelt, expr))))
        rng.shuffle(setters)
        for name, (f, v) in new_values.items():
            check("S", f, INI_CLASS, v, "stored and loaded", checks_stored)
        for f in own_new:
            check("S", f, INI_CLASS, const(f.spelt, literal_expr(f)),
                  "TIniter's own field is not stored", checks_own)

        const_checks = []
        # Through parameters, so that the compiler does not fold the tests.
        for n, t, v in self.consts:
            kind = {"Integer": "Int", "Boolean": "Bool"}.get(t, "Str")
            const_checks.append("  Check%s('%s', %s, %s);" % (kind, n, n, v))

        out = []
        out.append("{ Written by random_units.py for %s.txt. }" % self.name)
        out.append("program %s;" % self.prog)
        out.append("")
        out.append("{$IFDEF FPC}")
        out.append("  {$MODE %s}" % mode.upper())
        out.append("{$ENDIF}")
        out.append("")
        # cwstring: on Unix, Free Pascal converts wide strings to and from
        # the system code page only with it.
        out.append("uses")
        out.append("  {$IFDEF UNIX}cwstring,{$ENDIF} SysUtils, %s;" % self.name)
        out.append("")
        if consts:
            out.append("const")
            out += consts
            out.append("")
        out.append("procedure Fail(const What: string);")
        out.append("begin")
        out.append("  WriteLn('FAILED: ', What);")
        out.append("  Halt(1);")
        out.append("end;")
        out.append("")
        if self.consts:
            out += ["procedure CheckInt(const Name: string; Actual, Expected: Integer);",
                    "begin",
                    "  if Actual <> Expected then",
                    "    Fail('constant ' + Name + ' is ' + string(IntToStr(Actual)));",
                    "end;",
                    "",
                    "procedure CheckBool(const Name: string; Actual, Expected: Boolean);",
                    "begin",
                    "  if Actual <> Expected then",
                    "    Fail('constant ' + Name + ' is ' + string(BoolToStr(Actual, True)));",
                    "end;",
                    "",
                    "procedure CheckStr(const Name: string; const Actual, Expected: string);",
                    "begin",
                    "  if Actual <> Expected then",
                    "    Fail('constant ' + Name + ' is ' + Actual);",
                    "end;",
                    ""]
        for p in plains:
            out += p
        out.append("procedure CheckStored(S: %s);" % INI_CLASS)
        out.append("begin")
        out.append("  if S.GetFileName <> ParamStr(2) then")
        out.append("    Fail('INI file name is ' + S.GetFileName);")
        out.append("  if S.GetSection <> '%s' then" % self.prog)
        out.append("    Fail('INI section is ' + S.GetSection);")
        out += checks_stored
        out += checks_own
        out.append("end;")
        out.append("")
        out.append("var")
        out.append("  S: %s;" % INI_CLASS)
        out.append("begin")
        out.append("  if ParamCount <> 2 then")
        out.append("    Fail('usage: %s first|again <expected INI file>');" % self.prog)
        out += const_checks
        out.append("  if ParamStr(1) = 'first' then")
        out.append("  begin")
        for i in range(len(plains)):
            out.append("    Plain%d;" % (i + 1))
        out.append("    S := %s.Create;" % INI_CLASS)
        out += ["  " + line for line in body_first]
        out += ["  " + line for line in setters]
        out.append("    S.Free;")
        out.append("  end;")
        out.append("  S := %s.Create;" % INI_CLASS)
        out.append("  CheckStored(S);")
        out.append("  S.Free;")
        out.append("  WriteLn('ok');")
        out.append("end.")
        text = "\n".join(out) + "\n"
        return (BOM if self.bom else b"") + text.encode("utf-8")


def decimal_text(d):
    text = format(d, "f")
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    if text in ("-0", ""):
        text = "0"
    return text


# The whole range of each integer type on a 64-bit target, for High()/Low().
FULL_RANGE = dict(SIGNED, nativeint=(-2**63, 2**63 - 1))
FULL_RANGE.update({k: (0, v) for k, v in UNSIGNED.items()}, nativeuint=(0, 2**64 - 1))


def canon(base, expr):
    """The value of a Pascal expression as written by this script, so that
    two spellings of one value compare equal."""
    m = re.match(r"(High|Low)\((\w+)\)$", expr)
    if m:
        lo, hi = FULL_RANGE[base]
        return hi if m.group(1) == "High" else lo
    if base in SIGNED or base in UNSIGNED:
        return int(expr)
    if base in FLOATS or base in DATES:
        return Decimal(expr)
    return expr


def pascal_string(text):
    return "'" + text.replace("'", "''") + "'"


def literal_expr(f):
    """The Pascal expression of a field's initial value, as the unit should
    render it."""
    if f.base == "boolean":
        return "True" if int(f.init) else "False"
    if f.base in SIGNED or f.base in UNSIGNED or f.base in FLOATS or f.base in DATES:
        return f.init
    return pascal_string(f.init)


# --- running ---------------------------------------------------------------

class Result:
    def __init__(self, case):
        self.case = case
        self.kind = None
        self.message = ""
        self.generated = False
        self.compiled = False
        self.round_trip = False

    def fail(self, kind, message):
        self.kind = kind
        self.message = message.strip().splitlines()[0][:300] if message.strip() else ""
        return self


# The programs run in a UTF-8 locale, whatever the caller's, so that
# cwstring converts wide strings to UTF-8.
PROGRAM_ENV = dict(os.environ, LC_ALL="C.UTF-8")


def run(cmd, cwd, timeout, env=None):
    try:
        p = subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                           timeout=timeout, env=env)
        return (p.returncode, p.stdout.decode("utf-8", "replace"),
                p.stderr.decode("utf-8", "replace"))
    except subprocess.TimeoutExpired:
        return None, "", "timed out after %ds" % timeout


def ini_keys(data, section):
    keys = set()
    inside = False
    for line in data.decode("utf-8", "replace").splitlines():
        s = line.strip()
        if s.startswith("[") and s.endswith("]"):
            inside = s[1:-1].strip().lower() == section.lower()
        elif inside and "=" in s and not s.startswith(";"):
            keys.add(s.split("=", 1)[0].strip().lower())
    return keys


def run_case(case, slot, env):
    res = Result(case)
    exe_dir, exe_name = slot
    d = os.path.join(env.work, case.name)
    os.makedirs(os.path.join(d, "out"))
    res.dir = d
    with open(os.path.join(d, case.name + ".txt"), "wb") as fh:
        fh.write(case.definition_bytes())
    if case.consts:
        with open(os.path.join(d, case.name + ".const"), "wb") as fh:
            fh.write(case.const_bytes())
    settings = case.settings_bytes(os.path.splitext(exe_name)[0])
    with open(os.path.join(exe_dir, os.path.splitext(exe_name)[0] + ".ini"), "wb") as fh:
        fh.write(settings)
    with open(os.path.join(d, "settings.ini"), "wb") as fh:
        fh.write(settings)

    rc, out, err = run([os.path.join(exe_dir, exe_name), case.name + ".txt"], d, 60)
    with open(os.path.join(d, "tamsel.log"), "w") as fh:
        fh.write("exit %s\n--- stdout\n%s--- stderr\n%s" % (rc, out, err))
    unit = os.path.join(d, case.name + ".pas")
    if rc != 0 or out.strip() or not os.path.exists(unit):
        return res.fail("generate", "Tamsel exit %s: %s" % (rc, (out + err).strip() or "no unit"))
    res.generated = True
    with open(unit, "rb") as fh:
        data = fh.read()
    if case.bom and not data.startswith(BOM):
        return res.fail("unit-bom", "the definition starts with a UTF-8 mark, the unit does not")
    if not case.bom and data.startswith(BOM):
        return res.fail("unit-bom", "the unit starts with a UTF-8 mark the definition has not")
    if BOM in data[3:]:
        return res.fail("unit-bom", "a UTF-8 mark inside the unit, at byte %d" % data.index(BOM, 3))

    ini = os.path.join(d, case.prog + ".ini")
    with open(os.path.join(d, case.prog + ".pas"), "wb") as fh:
        fh.write(case.program_text(env.mode))
    rc, out, err = run(["fpc", "-M" + env.mode, "-vew", "-Fu" + env.rt, "-FU" + os.path.join(d, "out"),
                        case.prog + ".pas"], d, 300)
    log = out + err
    with open(os.path.join(d, "fpc.log"), "w") as fh:
        fh.write(log)
    if rc != 0:
        first = [l for l in log.splitlines() if re.search(r"\b(Error|Fatal):", l)]
        return res.fail("compile", first[0] if first else "fpc exit %s" % rc)
    res.compiled = True
    warnings = [l for l in log.splitlines() if re.search(r"\bWarning:", l)]
    if warnings:
        return res.fail("fpc-warning", warnings[0])
    tamsel_warnings = [l for l in open(os.path.join(d, "tamsel.log")).read().splitlines()
                       if re.search(r"\b(Warning|Error):", l)]
    if tamsel_warnings:
        return res.fail("tamsel-warning", "the unit compiles cleanly, yet " + tamsel_warnings[0])

    prog = os.path.join(d, case.prog)
    rc, out, err = run([prog, "first", ini], env.work, 60, PROGRAM_ENV)
    if rc != 0 or out.strip() != "ok":
        return res.fail("round-trip", "first run: exit %s: %s" % (rc, (out + err).strip()))
    want = {n[1:].lower() for n in case.stored_keys()}
    if not os.path.exists(ini):
        if not want:
            # Nothing to store, and TIniFile writes no file for nothing.
            res.round_trip = True
            return res
        return res.fail("ini-keys", "no INI file was written")
    with open(ini, "rb") as fh:
        data = fh.read()
    have = ini_keys(data, case.prog)
    if want != have:
        return res.fail("ini-keys", "section [%s]: missing %s, unexpected %s"
                        % (case.prog, sorted(want - have), sorted(have - want)))
    # Date the file back, so that a rewrite shows in its time as well.
    os.utime(ini, ns=(946684800 * 10**9, 946684800 * 10**9))
    before = os.stat(ini)
    rc, out, err = run([prog, "again", ini], env.work, 60, PROGRAM_ENV)
    if rc != 0 or out.strip() != "ok":
        return res.fail("round-trip", "second run: exit %s: %s" % (rc, (out + err).strip()))
    after = os.stat(ini)
    with open(ini, "rb") as fh:
        again = fh.read()
    if again != data:
        return res.fail("ini-rewritten", "an unchanged store changed the INI file's bytes")
    if (after.st_mtime_ns, after.st_ino, after.st_size) != (before.st_mtime_ns, before.st_ino,
                                                           before.st_size):
        return res.fail("ini-rewritten", "an unchanged store rewrote the INI file")
    res.round_trip = True
    return res


class Env:
    pass


def parse_features(text):
    chosen = set()
    for token in filter(None, (t.strip() for t in text.split(","))):
        remove = token.startswith("-")
        name = token.lstrip("-")
        if name in PRESETS:
            names = PRESETS[name]
        elif name in FEATURES:
            names = {name}
        else:
            raise argparse.ArgumentTypeError("unknown feature %r (features: %s; sets: %s)"
                                             % (name, ", ".join(FEATURES), ", ".join(PRESETS)))
        chosen = chosen - names if remove else chosen | names
    return chosen


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--tamsel", required=True, help="the Tamsel executable")
    ap.add_argument("--runtime", required=True, help="folder of Tamsel_common.pas")
    ap.add_argument("--count", type=int, default=50)
    ap.add_argument("--seed", type=int)
    ap.add_argument("--features", type=parse_features, default=parse_features("all"))
    ap.add_argument("--keep", help="folder for the files of failing cases")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--only", help="comma separated case indexes to run")
    ap.add_argument("--mode", choices=("delphi", "delphiunicode"), default="delphi",
                    help="Free Pascal's mode for the units and programs (delphiunicode: string "
                         "is UnicodeString, as in Delphi 2009 and later)")
    args = ap.parse_args()

    if shutil.which("fpc") is None:
        print("SKIPPED: fpc is not installed")
        return 77
    if not os.path.isfile(args.tamsel) or not os.path.isfile(
            os.path.join(args.runtime, "Tamsel_common.pas")):
        print("no such executable or runtime folder", file=sys.stderr)
        return 2
    seed = args.seed if args.seed is not None else random.SystemRandom().randrange(1, 10**6)
    if seed < 0 or args.count < 0 or args.jobs < 1:
        print("--seed and --count must not be negative, --jobs at least 1", file=sys.stderr)
        return 2
    indexes = range(args.count)
    if args.only:
        indexes = [int(i) for i in args.only.split(",")]
    print("seed %d, mode %s, features %s" % (seed, args.mode, ",".join(
        f for f in FEATURES if f in args.features) or "none"), flush=True)

    env = Env()
    env.mode = args.mode
    env.work = tempfile.mkdtemp(prefix="random_units-")
    keep = args.keep
    try:
        # The runtime unit is compiled once; every case finds its .ppu.
        env.rt = os.path.join(env.work, "runtime")
        os.makedirs(env.rt)
        for name in os.listdir(args.runtime):
            if name.lower().endswith((".pas", ".pp", ".inc")):
                shutil.copy(os.path.join(args.runtime, name), env.rt)
        rc, out, err = run(["fpc", "-M" + env.mode, "-vew", "-FU" + env.rt,
                            os.path.join(env.rt, "Tamsel_common.pas")], env.rt, 300)
        if rc != 0:
            print(out + err)
            print("the runtime unit does not compile", file=sys.stderr)
            return 2

        # One private copy of Tamsel per worker, with its own settings file.
        slots = queue.Queue()
        exe_name = os.path.basename(args.tamsel)
        for j in range(args.jobs):
            sd = os.path.join(env.work, "tamsel%d" % j)
            os.makedirs(sd)
            shutil.copy2(args.tamsel, os.path.join(sd, exe_name))
            slots.put((sd, exe_name))

        lock = threading.Lock()
        results = []

        def job(i):
            case = Case(seed, i, args.features)
            slot = slots.get()
            try:
                res = run_case(case, slot, env)
            except Exception as e:  # a fault of this script: report it, do not hide it
                res = Result(case).fail("script", "%s: %s" % (type(e).__name__, e))
                res.dir = os.path.join(env.work, case.name)
            finally:
                slots.put(slot)
            with lock:
                if res.kind:
                    print("FAIL %s [%s] %s (features: %s)"
                          % (case.name, res.kind, res.message, ",".join(sorted(case.tags)) or "-"),
                          flush=True)
            return res

        with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
            for res in pool.map(job, indexes):
                results.append(res)
                if res.kind:
                    if keep is None:
                        keep = tempfile.mkdtemp(prefix="random_units-failed-")
                    dest = os.path.join(keep, res.case.name)
                    shutil.rmtree(dest, ignore_errors=True)
                    if os.path.isdir(res.dir):
                        shutil.copytree(res.dir, dest, ignore=shutil.ignore_patterns("out", "*.o"))
                shutil.rmtree(getattr(res, "dir", ""), ignore_errors=True)

        failed = [r for r in results if r.kind]
        print("generated %d, compiled %d, round-tripped %d of %d"
              % (sum(r.generated for r in results), sum(r.compiled for r in results),
                 sum(r.round_trip for r in results), len(results)))
        per = []
        for f in FEATURES:
            used = [r for r in results if f in r.case.tags]
            if used:
                per.append("%s %d/%d" % (f, sum(1 for r in used if r.kind), len(used)))
        plain = [r for r in results if not r.case.tags]
        per.append("none %d/%d" % (sum(1 for r in plain if r.kind), len(plain)))
        print("failed/cases per feature used: " + ", ".join(per))
        if failed:
            kinds = {}
            for r in failed:
                kinds[r.kind] = kinds.get(r.kind, 0) + 1
            print("failures by kind: " + ", ".join("%s %d" % kv for kv in sorted(kinds.items())))
            print("files of the failing cases: %s" % keep)
        print("%d passed, %d failed" % (len(results) - len(failed), len(failed)))
        return 1 if failed else 0
    finally:
        shutil.rmtree(env.work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
