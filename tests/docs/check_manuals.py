#!/usr/bin/env python3
"""The manual (docs/Tamsel10.utf8.txt) and the manual page (docs/Tamsel.1)
say what the program does.

- Every help screen the manual shows is what the program prints for that
  command line, and one of tests/golden/help/*.txt, byte for byte.
- Every finding the manual lists is one of the message templates in
  src/check/*.cpp, of the kind the manual gives it, and every template there
  is listed; every example finding line in the manual is one of them too.
- The manual's standard-output messages, settings and exit codes, and the
  manual page's settings and exit codes, are the program's.
- The manual page names every switch the program takes, each in an entry
  whose switches all print the same screen; it names the three kinds of
  finding; groff renders it without warnings.

Usage: check_manuals.py <source folder> <Tamsel executable>
"""
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

SOURCE = pathlib.Path(".")
TAMSEL = None

KINDS = ("Error", "Warning", "Note")


def read(relative):
    return (SOURCE / relative).read_text(encoding="utf-8")


# --- C++ sources -----------------------------------------------------------

CPP_TOKEN = re.compile(r'''
    (?P<comment>//[^\n]*|/\*.*?\*/)
  | (?P<raw>R"(?P<delim>[^(\s]*)\((?P<rawbody>.*?)\)(?P=delim)")
  | (?P<string>"(?:\\.|[^"\\\n])*")
  | (?P<char>'(?:\\.|[^'\\\n])+')
  | (?P<ident>[A-Za-z_]\w*)
  | (?P<space>\s+)
  | (?P<punct>.)''', re.S | re.X)
CPP_ESCAPES = {"n": "\n", "t": "\t", "r": "\r", "0": "\0", "\\": "\\", '"': '"', "'": "'"}
# What in a statement says which kind of finding its text is.
KIND_WORDS = {"Warn": "Warning", "Note": "Note", "error": "Error",
              "kError": "Error", "kWarning": "Warning", "kNote": "Note"}


def cpp_unescape(body):
    return re.sub(r"\\(.)", lambda m: CPP_ESCAPES[m.group(1)], body)


def cpp_strings(text):
    """The string literals of C++ source (adjacent ones joined), each with
    the tokens of its statement before it, as (kind, text) pairs."""
    found, context, pending, depth = [], [], None, 0
    for m in CPP_TOKEN.finditer(text):
        kind = m.lastgroup
        if kind in ("comment", "space"):
            continue
        if kind in ("string", "raw"):
            value = m.group("rawbody") if kind == "raw" else cpp_unescape(m.group("string")[1:-1])
            if pending is None:
                pending = [value, list(context)]
            else:
                pending[0] += value
            continue
        if pending is not None:
            found.append(tuple(pending))
            context.append(("string", pending[0]))
            pending = None
        if kind == "punct":
            c = m.group()
            depth += (c == "(") - (c == ")")
            # A statement ends at ";", or at a brace outside any call ("{}"
            # and "{name}" are arguments).
            if c == ";" or (c in "{}" and depth == 0):
                context = []
                continue
        context.append((kind, m.group()))
    if pending is not None:
        found.append(tuple(pending))
    return found


def finding_templates():
    """{template: set of kinds} for every Japanese text in src/check."""
    templates = {}
    for path in sorted((SOURCE / "src/check").glob("*.cpp")):
        for text, context in cpp_strings(path.read_text(encoding="utf-8")):
            if text.isascii():
                continue
            kinds = set()
            for kind, token in context:
                if kind == "ident" and token in KIND_WORDS:
                    kinds.add(KIND_WORDS[token])
                elif kind == "string":
                    prefix = re.fullmatch(r"Tamsel: (\w+): ", token)
                    if prefix:
                        kinds.add(prefix.group(1))
            if not kinds:
                raise AssertionError(f"{path.name}: cannot tell the kind of the finding {text!r}")
            templates.setdefault(text, set()).update(kinds)
    return templates


def template_pattern(template, slot):
    """A regular expression for a template's text, each "{}" matching slot."""
    return re.compile(slot.join(re.escape(piece) for piece in template.split("{}")))


# --- the manual ------------------------------------------------------------

def manual_sections(text):
    """{title: body}; a title is the line above a line of 80 "-"."""
    lines = text.split("\n")
    heads = [i - 1 for i, line in enumerate(lines) if line == "-" * 80 and i > 0]
    sections = {}
    for n, head in enumerate(heads):
        end = heads[n + 1] if n + 1 < len(heads) else len(lines)
        sections[lines[head]] = "\n".join(lines[head + 2:end])
    return sections


def manual_section(sections, number):
    """The body of the section whose title starts with number and a dot."""
    matches = [body for title, body in sections.items() if title.startswith(number + ". ")]
    if len(matches) != 1:
        raise AssertionError(f"the manual has {len(matches)} sections {number}.")
    return matches[0]


SCREEN = re.compile(r"^  > Tamsel(?P<args>(?: \S+)*)\n  -{20,}\n(?P<body>.*?)^  -{20,}$",
                    re.M | re.S)
LISTED_FINDING = re.compile(r"^  (Error|Warning|Note)(?:/(Warning|Note))?: (.+)$", re.M)
EXAMPLE_FINDING = re.compile(r"^ +(?:\S+\(\d+,\d+\)|Tamsel:) (Error|Warning|Note): (.+)$", re.M)
# A part that varies, as the manual writes it: "<クラス>", or a number.
MANUAL_SLOT = r"(?:<[^<>\n]+>|[0-9]+)"


# --- the manual page -------------------------------------------------------

def roff_args(line):
    """The arguments of a roff request line, quotes handled."""
    args, i = [], 0
    while i < len(line):
        if line[i] == " ":
            i += 1
        elif line[i] == '"':
            j, arg = i + 1, ""
            while j < len(line):
                if line.startswith('""', j):
                    arg, j = arg + '"', j + 2
                elif line[j] == '"':
                    j += 1
                    break
                else:
                    arg, j = arg + line[j], j + 1
            args.append(arg)
            i = j
        else:
            j = line.find(" ", i)
            j = len(line) if j < 0 else j
            args.append(line[i:j])
            i = j
    return args


def roff_plain(text):
    return text.replace("\\-", "-").replace("\\&", "").replace("\\e", "\\")


def bold_words(line):
    """The bold arguments of a .B, .BR or .RB line, as printed."""
    request, _, rest = line.partition(" ")
    args = roff_args(rest)
    if request == ".B":
        bold = args
    elif request == ".BR":
        bold = args[0::2]
    elif request == ".RB":
        bold = args[1::2]
    else:
        bold = []
    return [roff_plain(a) for a in bold]


def page_sections(text):
    sections, name = {}, None
    for line in text.split("\n"):
        if line.startswith(".SH "):
            name = line[4:].strip('"')
            sections[name] = []
        elif name:
            sections[name].append(line)
    return sections


def tagged_paragraphs(lines):
    """(tag line, text lines) for each .TP of a section."""
    entries = []
    for i, line in enumerate(lines):
        if line.startswith(".TP"):
            body = []
            for follow in lines[i + 2:]:
                if follow.startswith((".TP", ".SH", ".PP")):
                    break
                body.append(follow)
            entries.append((lines[i + 1], body))
    return entries


# --- the program -----------------------------------------------------------

def run_tamsel(args):
    """What the program prints for args, run in an empty folder; a help
    screen never reads or writes a file."""
    with tempfile.TemporaryDirectory() as folder:
        done = subprocess.run([TAMSEL, *args], cwd=folder, capture_output=True, timeout=30,
                              env={"LC_ALL": "C", "PATH": "/usr/bin:/bin"})
    return done.returncode, done.stdout.decode("utf-8"), done.stderr.decode("utf-8")


def golden_screens():
    return {path.name: path.read_text(encoding="utf-8")
            for path in sorted((SOURCE / "tests/golden/help").glob("*.txt"))}


def settings_table():
    """[(key, default)] of the program's settings, in file order."""
    rows = re.findall(r'\{"(\w+)", "([^"]*)",', read("src/settings/Tamsel_ini.h"))
    assert rows, "no settings found in src/settings/Tamsel_ini.h"
    return rows


def exit_codes():
    codes = {int(c) for c in re.findall(r"\bkExit\w+\s*=\s*(\d+)", read("src/app/Tamsel.h"))}
    assert codes, "no exit codes found in src/app/Tamsel.h"
    return codes


# --- the tests -------------------------------------------------------------

class ManualHelpScreens(unittest.TestCase):
    def test_every_screen_shown_is_the_programs(self):
        screens = list(SCREEN.finditer(read("docs/Tamsel10.utf8.txt")))
        self.assertTrue(screens, "the manual shows no help screen (or no longer as '  > Tamsel ...')")
        golden = golden_screens()
        for screen in screens:
            args = screen.group("args").split()
            with self.subTest(command=" ".join(["Tamsel", *args])):
                lines = screen.group("body").split("\n")[:-1]
                for line in lines:
                    self.assertTrue(line == "" or line.startswith("  "),
                                    f"a line of the screen is not indented by two spaces: {line!r}")
                shown = "".join(line[2:] + "\n" for line in lines)
                code, printed, _ = run_tamsel(args)
                self.assertEqual(code, 0)
                self.assertIn(printed, golden.values(), "the program prints no golden help screen")
                self.assertEqual(shown, printed)


class ManualFindings(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.templates = finding_templates()
        cls.manual = read("docs/Tamsel10.utf8.txt")
        cls.listed = list(LISTED_FINDING.finditer(manual_section(manual_sections(cls.manual), "9")))

    def matching(self, text, slot):
        return [t for t in self.templates if template_pattern(t, slot).fullmatch(text)]

    def test_sources_have_findings(self):
        self.assertGreater(len(self.templates), 40)
        self.assertIn("余分な引数 \"{}\" は無視します", self.templates)

    def test_every_listed_finding_is_a_template_of_its_kind(self):
        self.assertTrue(self.listed, "section 9 of the manual lists no finding")
        for line in self.listed:
            text = line.group(3)
            with self.subTest(finding=text):
                found = self.matching(text, MANUAL_SLOT)
                self.assertTrue(found, "no finding of the program reads so")
                kinds = {k for k in line.group(1, 2) if k}
                self.assertEqual(kinds, set().union(*(self.templates[t] for t in found)))

    def test_every_template_is_listed(self):
        listed = [line.group(3) for line in self.listed]
        for template in self.templates:
            with self.subTest(template=template):
                pattern = template_pattern(template, MANUAL_SLOT)
                self.assertTrue(any(pattern.fullmatch(text) for text in listed),
                                "the manual does not list this finding")

    def test_every_example_line_is_a_finding(self):
        examples = list(EXAMPLE_FINDING.finditer(self.manual))
        self.assertTrue(examples)
        for line in examples:
            with self.subTest(example=line.group(0).strip()):
                found = self.matching(line.group(2), ".+")
                self.assertTrue(found, "no finding of the program reads so")
                self.assertIn(line.group(1), set().union(*(self.templates[t] for t in found)))


class ManualMessagesSettingsAndExitCodes(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.sections = manual_sections(read("docs/Tamsel10.utf8.txt"))

    def test_standard_output_messages(self):
        messages = [cpp_unescape(m) for m in re.findall(
            r'\bk\w+Message\s*=\s*"((?:\\.|[^"\\])*)"', read("src/app/Tamsel.cpp"))]
        self.assertEqual(len(messages), 3)
        lines = [line.strip() for line in manual_section(self.sections, "8").split("\n")]
        for message in messages:
            self.assertIn(message, lines)

    def test_exit_codes(self):
        shown = re.findall(r"^  (\d+)   ", manual_section(self.sections, "8"), re.M)
        self.assertEqual(sorted(map(int, shown)), sorted(exit_codes()))

    def test_settings(self):
        rows = re.findall(r"^  ([A-Za-z]\w*) +(\S+) +\S", manual_section(self.sections, "7"),
                          re.M | re.A)
        self.assertEqual(rows, settings_table())


class ManualPage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.page = read("docs/Tamsel.1")
        cls.sections = page_sections(cls.page)

    def option_entries(self):
        entries = [bold_words(tag) for tag, _ in tagged_paragraphs(self.sections["OPTIONS"])]
        self.assertTrue(entries and all(entries), "OPTIONS has an entry without switches")
        return entries

    def test_each_option_entry_prints_one_screen(self):
        golden = golden_screens()
        screens = []
        for switches in self.option_entries():
            printed = set()
            for switch in switches:
                with self.subTest(switch=switch):
                    code, out, _ = run_tamsel([switch])
                    self.assertEqual(code, 0)
                    self.assertIn(out, golden.values(), "no help screen")
                    printed.add(out)
            self.assertEqual(len(printed), 1, f"{switches} print different screens")
            screens.append(printed.pop())
        self.assertEqual(len(set(screens)), len(screens), "two entries print the same screen")

    def test_synopsis_switches_are_switches(self):
        switches = [w for line in self.sections["SYNOPSIS"] for w in bold_words(line)
                    if w != "Tamsel"]
        self.assertTrue(switches)
        golden = golden_screens().values()
        for switch in switches:
            with self.subTest(switch=switch):
                code, out, _ = run_tamsel([switch])
                self.assertEqual(code, 0)
                self.assertIn(out, golden)

    def test_every_switch_of_the_program_is_named(self):
        named = {s for entry in self.option_entries() for s in entry}
        probes = [p + s for p in "/-+" for s in ("?", "??", "help", "h", "v", "version")]
        probes += ["?", "??", "help", "--help", "-h", "--version", "--usage", "-V", "--h"]
        golden = golden_screens().values()
        for probe in probes:
            code, out, _ = run_tamsel([probe])
            if code == 0 and out in golden:
                with self.subTest(switch=probe):
                    self.assertIn(probe, named, "the program takes this switch")

    def test_exit_status(self):
        shown = [bold_words(tag) for tag, _ in tagged_paragraphs(self.sections["EXIT STATUS"])]
        self.assertEqual(sorted(int(w) for words in shown for w in words), sorted(exit_codes()))

    def test_settings(self):
        rows = []
        for tag, body in tagged_paragraphs(self.sections["SETTINGS"]):
            default = re.search(r"\(default ([^,;)]+)", " ".join(body))
            rows.append((" ".join(bold_words(tag)), default.group(1) if default else None))
        self.assertEqual(rows, settings_table())

    def test_diagnostics_name_the_kinds(self):
        printed = set(re.findall(r'"\s*(\w+): "', read("src/check/Tamsel_Diagnostics.cpp")))
        self.assertEqual(printed, set(KINDS))
        text = "\n".join(self.sections["DIAGNOSTICS"])
        self.assertIn("standard error", text)
        for kind in KINDS:
            self.assertRegex(text, rf"(?m)^\.B {kind}$", f"DIAGNOSTICS does not name {kind}")

    @unittest.skipUnless(shutil.which("groff"), "groff is not installed")
    def test_groff_renders_without_warnings(self):
        done = subprocess.run(["groff", "-man", "-ww", "-z", str(SOURCE / "docs/Tamsel.1")],
                              capture_output=True, text=True, timeout=60)
        self.assertEqual((done.returncode, done.stderr), (0, ""))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    SOURCE, TAMSEL = pathlib.Path(sys.argv[1]), str(pathlib.Path(sys.argv[2]).resolve())
    unittest.main(argv=sys.argv[:1], verbosity=2)
