// Definition and settings files full of what editors and hands leave in
// them: malformed field lines, NUL bytes and binary garbage, broken Shift-JIS
// and UTF-8, huge lines, a million lines, Ctrl-Z and lone CRs, settings with
// garbage, duplicates and odd `Tab` values. Each run must end with its exact
// outcome and leave no partial unit, no temporary file and no damaged
// settings file.
#include <gtest/gtest.h>

#include <optional>

#include "../UnwritableFile.h"
#include "E2eSupport.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using e2e::ReadFile;
using e2e::Sandbox;
using e2e::WriteFile;

using e2e::kMalformedMessage;
const std::string kOldUnit = "old\0unit\r\n\xFF"s;

// The keys of a complete settings file after `Tab`, with their defaults.
const std::string kKeysAfterTab =
    "UseUnit=Tamsel_common\r\ncTIniter=TIniter\r\ncCheck=Check\r\ncAll=All\r\ncSelf=Self\r\n"
    "cFileName=FFileName\r\ncSection=FSection\r\ncIniRead=iniRead\r\ncIniWrite=iniWrite\r\n"
    "cInitial=Initial\r\ncTIniFileMine=TIniFileMine\r\ncSuper=Super\r\n";

std::string CompleteSettings(const std::string& tab) {
  return "[Tamsel]\r\nTab=" + tab + "\r\n" + kKeysAfterTab;
}

// The unit of an empty definition file "d.txt".
std::string EmptyUnit(const std::string& indent, const std::string& useUnit = "Tamsel_common") {
  return "unit d;\r\ninterface\r\nuses\r\n" + indent + "SysUtils,\r\n" + indent + useUnit +
         ",\r\n" + indent + "IniFiles;\r\ntype\r\nvar\r\n\r\nimplementation\r\nend.\r\n";
}

std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to) {
  std::string out;
  std::size_t pos = 0;
  for (std::size_t hit; (hit = text.find(from, pos)) != std::string::npos; pos = hit + from.size())
    out.append(text, pos, hit - pos).append(to);
  return out.append(text, pos, std::string::npos);
}

using Files = std::vector<std::string>;

struct Generated {
  e2e::Result run;
  std::optional<std::string> unit;  // d.pas, when it exists
  std::vector<std::string> files;   // the folder, without executable and settings file
  std::string settings;             // the settings file afterwards
};

// Runs the generator on `definition` saved as "d.txt" in a fresh folder,
// with `settings` as its settings file when given and `unit` as an existing
// "d.pas" when given.
Generated Generate(const std::string& definition,
                   const std::optional<std::string>& settings = std::nullopt,
                   const std::optional<std::string>& unit = std::nullopt,
                   const std::string& env = "LC_ALL=C") {
  Sandbox box;
  WriteFile(box.Path("d.txt"), definition);
  if (settings) WriteFile(box.Ini(), *settings);
  if (unit) WriteFile(box.Path("d.pas"), *unit);
  Generated g;
  g.run = box.Run({"d.txt"}, env);
  if (fs::exists(box.Path("d.pas"))) g.unit = ReadFile(box.Path("d.pas"));
  g.files = box.Files();
  g.settings = ReadFile(box.Ini());
  return g;
}

// The unit of a run that must succeed silently.
std::string UnitOf(const std::string& definition,
                   const std::optional<std::string>& settings = std::nullopt,
                   const std::string& env = "LC_ALL=C") {
  Generated g = Generate(definition, settings, std::nullopt, env);
  EXPECT_EQ(g.run.exitCode, 0) << g.run.out << g.run.err;
  EXPECT_EQ(g.run.out, "");
  EXPECT_EQ(e2e::Reports(g.run.err), "");
  EXPECT_EQ(g.files, (Files{"d.pas", "d.txt"}));
  return g.unit.value_or("<no unit>");
}

// ---------------------------------------------------------------------------
// Malformed definitions

TEST(BadDefinition, EveryMalformedFieldLineKindKeepsTheUnitAndLeavesNoFile) {
  const std::string tab0 = "[Tamsel]\r\nTab=0\r\n", tab4 = "[Tamsel]\r\nTab=4\r\n";
  // The Error names the line and what is wrong with it.
  const std::string indent = "字下げが空白 ", tab = "字下げにタブ文字があります",
                    colon = "フィールド行に \":\" がありません",
                    semicolon = "フィールド行に \";\" がありません",
                    early = "最初のクラス行より前にフィールド行があります";
  struct Case {
    const char* what;
    std::string definition;
    std::optional<std::string> settings;
    std::string error;
  } cases[] = {
      {"one leading space", "TA\r\n Fa:integer;1\r\n", std::nullopt,
       "d.txt(2,2) Error: " + indent + "1 個です。設定 Tab では 2 個です"},
      {"a space, then a tab", "TA\r\n \tFa:integer;1\r\n", std::nullopt, "d.txt(2,2) Error: " + tab},
      {"a line of one space", "TA\r\n  Fa:integer;1\r\n \r\n", std::nullopt,
       "d.txt(3,2) Error: " + indent},
      {"a line of the indent alone", "TA\r\n  \r\n  Fa:integer;1\r\n", std::nullopt,
       "d.txt(2,3) Error: " + colon},
      {"a line of four spaces", "TA\r\n    \r\n", std::nullopt, "d.txt(2,5) Error: " + indent},
      {"a line of spaces ending the file", "TA\r\n  Fa:integer;1\r\n   ", std::nullopt,
       "d.txt(3,4) Error: " + indent},
      {"no \":\" but a \";\"", "TA\r\n  Fa;integer;1\r\n", std::nullopt, "d.txt(2,3) Error: " + colon},
      {"no \";\"", "TA\r\n  Fa:integer\r\n", std::nullopt, "d.txt(2,13) Error: " + semicolon},
      {"a field line as the only line", "  Fa:integer;1", std::nullopt, "d.txt(1,1) Error: " + early},
      {"a field line after empty lines only", "\r\n\n  Fa:integer;1\r\nTA\r\n", std::nullopt,
       "d.txt(3,1) Error: " + early},
      {"a bad line after good classes and fields",
       "TA\r\n  Fa:integer;1\r\nTB(TA)\r\n  Fb:string;x\r\n Fc:integer;3\r\nTC\r\n", std::nullopt,
       "d.txt(5,2) Error: " + indent},
      {"Tab 0, any field line", "TA\r\n Fa:integer;1\r\n", tab0,
       "d.txt(2,2) Error: " + indent + "1 個です。設定 Tab では 0 個です"},
      {"Tab 0, a line of one space", "TA\r\n \r\n", tab0, "d.txt(2,2) Error: " + indent},
      {"Tab 4, two spaces", "TA\r\n  Fa:integer;1\r\n", tab4,
       "d.txt(2,3) Error: " + indent + "2 個です。設定 Tab では 4 個です"},
      {"Tab 4, five spaces", "TA\r\n     Fa:integer;1\r\n", tab4, "d.txt(2,6) Error: " + indent},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Generated kept = Generate(c.definition, c.settings, kOldUnit);
    EXPECT_EQ(kept.run.exitCode, 2);
    EXPECT_EQ(kept.run.out, kMalformedMessage);
    EXPECT_EQ(kept.run.err.rfind(c.error, 0), 0u) << kept.run.err;
    EXPECT_EQ(std::count(kept.run.err.begin(), kept.run.err.end(), '\n'), 1) << kept.run.err;
    EXPECT_EQ(kept.unit, kOldUnit);
    EXPECT_EQ(kept.files, (Files{"d.pas", "d.txt"}));

    const Generated none = Generate(c.definition, c.settings);
    EXPECT_EQ(none.run.exitCode, 2);
    EXPECT_EQ(none.run.out, kMalformedMessage);
    EXPECT_EQ(none.files, Files{"d.txt"});
  }
}

// ---------------------------------------------------------------------------
// Bytes that pass through

struct Names {
  std::string cls, parent, field, type, value;
};

std::string Definition(const Names& n) {
  return n.cls + "(" + n.parent + ")\r\n  " + n.field + ":" + n.type + ";" + n.value + "\r\n";
}

const Names kPlaceholders{"TCLASSNAME", "TPARENTNAME", "FFIELDNAME", "TYPETEXT", "VALUETEXT"};

// The unit of `n` derived from the unit of the placeholder names: every name,
// item name, type and value replaced by the bytes that `n` holds.
std::string Substituted(const std::string& placeholderUnit, const Names& n) {
  std::string unit = ReplaceAll(placeholderUnit, kPlaceholders.cls, n.cls);
  unit = ReplaceAll(unit, kPlaceholders.cls.substr(1), n.cls.substr(1));
  unit = ReplaceAll(unit, kPlaceholders.parent, n.parent);
  unit = ReplaceAll(unit, kPlaceholders.field, n.field);
  unit = ReplaceAll(unit, kPlaceholders.field.substr(1), n.field.substr(1));
  unit = ReplaceAll(unit, kPlaceholders.type, n.type);
  return ReplaceAll(unit, kPlaceholders.value, n.value);
}

// Every byte value except the line ends, Ctrl-Z and the delimiters "(", ":"
// and ";".
std::string EveryOtherByte() {
  std::string bytes;
  for (int b = 0; b < 256; ++b)
    if (std::string_view("\n\r\x1a(:;").find(static_cast<char>(b)) == std::string_view::npos)
      bytes.push_back(static_cast<char>(b));
  return bytes;
}

TEST(BadDefinition, NulBytesGarbageAndInvalidEncodingsPassThroughByteForByte) {
  const std::string any = EveryOtherByte();
  const std::string nul(1, '\0');
  struct Case {
    const char* what;
    Names names;
  } cases[] = {
      {"NUL bytes",
       {nul + "TA" + nul, nul, "F" + nul + "a" + nul, "str" + nul + "ing", nul + "v" + nul}},
      {"every byte value", {"T" + any, any + "(:;)", "F" + any, any + ":", any + "(:;)"}},
      // Lead bytes before a delimiter and before the line end, undefined
      // bytes, a trail byte that is a backslash.
      {"invalid Shift-JIS",
       {"T\x83", "T\x81", "F\x82", "\x9F\xFD\xFE\xFF\xA0", "\x83\x5C\x81\x40\xE0"}},
      // A lone lead byte, lone continuations, an overlong form, a surrogate,
      // a code point above U+10FFFF, and a sequence cut by the line end.
      {"invalid UTF-8",
       {"T\xC3", "\x80\xBF", "F\xC0\xAF\xED\xA0\x80", "\xF4\x90\x80\x80\xF8\x88\x80\x80\x80",
        "\xFE\xFF\xE3\x81"}},
  };
  for (const char* env : {"LC_ALL=C", "LC_ALL=C.UTF-8"}) {
    const std::string placeholderUnit = UnitOf(Definition(kPlaceholders), std::nullopt, env);
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + ", " + env);
      const std::string unit = UnitOf(Definition(c.names), std::nullopt, env);
      const std::string declaration = "\r\n      " + c.names.field + ":" + c.names.type + ";\r\n";
      EXPECT_NE(unit.find(declaration), std::string::npos);
      EXPECT_EQ(unit, Substituted(placeholderUnit, c.names));
    }
  }
}

TEST(BadDefinition, TenMegabyteLinesPassThroughWhole) {
  std::string big;
  big.reserve(10u << 20);
  for (std::size_t i = 0; big.size() < (10u << 20); ++i) big.push_back("0123456789abcdefXYZ"[i % 19]);

  // A class name with no line end at the end of the file.
  const std::string classUnit = UnitOf("T" + big);
  EXPECT_EQ(classUnit, ReplaceAll(UnitOf("TCLASSNAME"), "CLASSNAME", big));

  // A field value.
  const std::string valueUnit = UnitOf("TA\r\n  Fa:string;" + big + "\r\n");
  EXPECT_EQ(valueUnit, ReplaceAll(UnitOf("TA\r\n  Fa:string;VALUETEXT\r\n"), "VALUETEXT", big));
}

// "F" and four characters: a million different field names of one length.
std::string FieldName(std::size_t i) {
  static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  std::string name = "F0000";
  for (std::size_t pos = 4; pos > 0; --pos, i /= 62) name[pos] = digits[i % 62];
  return name;
}

std::string FieldLines(const std::vector<std::size_t>& indexes) {
  std::string text = "TA\r\n";
  for (std::size_t i : indexes) text.append("  ").append(FieldName(i)).append(":i;\r\n");
  return text;
}

TEST(BadDefinition, AMillionFieldLinesGiveTheWholeUnit) {
  constexpr std::size_t kLines = 1'000'000;
  // Every field adds the same number of bytes, as all names have one length.
  const std::string one = UnitOf(FieldLines({kLines - 1}));
  const std::string two = UnitOf(FieldLines({0, kLines - 1}));
  const std::size_t perField = two.size() - one.size();

  std::vector<std::size_t> all(kLines);
  for (std::size_t i = 0; i < kLines; ++i) all[i] = i;
  Sandbox box;
  WriteFile(box.Path("d.txt"), FieldLines(all));
  // A run that hangs is stopped; how fast it is, is the benchmark's business.
  const e2e::Result r = box.Run({"d.txt"}, "LC_ALL=C timeout 300");
  ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
  EXPECT_EQ(r.out, "");
  // Names such as "F0a0A" clash with "F0A0a" in Pascal: the findings are
  // counted, and only the first ten thousand are shown.
  EXPECT_EQ(e2e::Reports(r.err), "");
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 10001);
  EXPECT_EQ(box.Files(), (Files{"d.pas", "d.txt"}));
  const fs::path unit = box.Path("d.pas");
  ASSERT_EQ(fs::file_size(unit), one.size() + (kLines - 1) * perField);
  // Its head (to the first field) and its tail (the last field's methods,
  // constructor, destructor, "end.") are those of the two-field unit.
  const std::string twoHead = two.substr(0, two.find(FieldName(0) + ":i;\r\n"));
  const std::string twoTail = two.substr(two.rfind("\r\nprocedure TA.SetSelf"));
  std::ifstream in(unit, std::ios::binary);
  std::string head(twoHead.size(), '\0'), tail(twoTail.size(), '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  in.seekg(-static_cast<std::streamoff>(tail.size()), std::ios::end);
  in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
  EXPECT_EQ(head, twoHead);
  EXPECT_EQ(tail, twoTail);
}

// ---------------------------------------------------------------------------
// Ctrl-Z and lone CRs

TEST(BadDefinition, CtrlZAndLoneCarriageReturnsInEveryPosition) {
  struct Case {
    const char* what;
    std::string definition;
    std::string same;  // a definition that gives the same unit
  } cases[] = {
      {"Ctrl-Z opening the first line", "\x1aTA\r\nTB\r\n", "TB\r\n"},
      {"Ctrl-Z opening a later line", "TA\r\n\x1a  bad\r\n Fb\r\nTB\r\n", "TA\r\n"},
      {"Ctrl-Z mid-line", "TA\x1a(TX)\r\nTB\r\n", "TA\r\nTB\r\n"},
      {"Ctrl-Z just before CR LF", "TA\x1a\r\nTB", "TA\r\nTB"},
      {"Ctrl-Z at the very end", "TA\r\nTB\x1a", "TA\r\nTB"},
      {"Ctrl-Z after the last line end", "TA\r\nTB\r\n\x1a", "TA\r\nTB"},
      {"Ctrl-Z in a field value", "TA\r\n  Fa:string;ab\x1a" "cd;x\r\n  Fb:integer;2\r\n",
       "TA\r\n  Fa:string;ab\r\n  Fb:integer;2\r\n"},
      {"CR opening the first line", "\rTA\r\n  Fa:integer;1\r\n", "TA\r\n  Fa:integer;1\r\n"},
      {"CR opening a later line", "TA\r\n\r  Fa:integer;1\r\n", "TA\r\n  Fa:integer;1\r\n"},
      {"CR mid-line", "T\rA(T\rB)\r\n  F\ra:int\reger;1\r\n", "TA(TB)\r\n  Fa:integer;1\r\n"},
      {"CR just before CR LF", "TA\r\r\n  Fa:integer;1\r\r\n", "TA\r\n  Fa:integer;1\r\n"},
      {"CR at the very end", "TA\r\nTB\r", "TA\r\nTB"},
      {"CR in a field value", "TA\r\n  Fa:string;1\r2\r\n", "TA\r\n  Fa:string;12\r\n"},
      {"CRs alone do not end lines", "TA\rTB\r", "TATB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(UnitOf(c.definition), UnitOf(c.same));
  }

  // Ctrl-Z before the ":" cuts the line to a field line without one.
  const Generated cut = Generate("TA\r\n  Fa\x1a:string;1\r\n", std::nullopt, kOldUnit);
  EXPECT_EQ(cut.run.exitCode, 2);
  EXPECT_EQ(cut.run.out, kMalformedMessage);
  EXPECT_EQ(cut.unit, kOldUnit);
  EXPECT_EQ(cut.files, (Files{"d.pas", "d.txt"}));
}

// ---------------------------------------------------------------------------
// Settings files

TEST(BadSettings, TabValuesGiveTheirIndentOrTheDefaultOrARefusal) {
  struct Case {
    const char* tab;
    std::optional<std::string> indent;  // none: the run is refused
    const char* storedAfter;            // the Tab value in the file afterwards
  } cases[] = {
      {"-1", "", "-1"},
      {"0", "", "0"},
      {"64", std::string(64, ' '), "64"},
      {"0x10", std::string(16, ' '), "0x10"},
      {"$10", std::string(16, ' '), "$10"},
      {"$FFFFFFFF", "", "$FFFFFFFF"},  // -1 in 32 bits
      // Not a 32-bit integer: the default, which then replaces the text.
      {"2147483648", "  ", "2"},
      {"abc", "  ", "2"},
      {"2147483647", std::nullopt, "2147483647"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tab);
    const Generated g = Generate("", CompleteSettings(c.tab), kOldUnit);
    EXPECT_EQ(g.settings, CompleteSettings(c.storedAfter));
    EXPECT_EQ(g.files, (Files{"d.pas", "d.txt"}));
    if (c.indent) {
      EXPECT_EQ(g.run.exitCode, 0) << g.run.err;
      EXPECT_EQ(g.run.out + e2e::Reports(g.run.err), "");
      EXPECT_EQ(g.unit, EmptyUnit(*c.indent));
    } else {
      EXPECT_EQ(g.run.exitCode, 1);
      EXPECT_EQ(g.run.out, "");
      EXPECT_NE(g.run.err.find("Tamsel.ini"), std::string::npos) << g.run.err;
      EXPECT_NE(g.run.err.find("Tab"), std::string::npos) << g.run.err;
      EXPECT_EQ(g.unit, kOldUnit);
    }
  }
}

TEST(BadSettings, GarbageBytesAreKeptAndDoNotHideTheSection) {
  const std::string before =
      "\x00\x01\x02\xFF\xFE garbage\r\n"
      "Tab=9\r\n"  // outside any section
      "[\x00\xFF]\r\nTab=8\r\n"
      "[Tamsel]\r\n"
      "\x00Tab=7\r\n"
      "Tab\x00=6\r\n"
      "\x80\x81\x82=\xFD\r\n"
      "=\r\n"
      "Tab=4\r\n"
      "UseUnit=\xFE\x00\x01u\r\n"
      "\x1a\x7F\x01\r\n"
      "\r\n"
      "[\xFF]\r\nTab=5\r\n"s;
  const Generated g = Generate("", before);
  EXPECT_EQ(g.run.exitCode, 0) << g.run.err;
  EXPECT_EQ(g.unit, EmptyUnit("    ", "\xFE\x00\x01u"s));
  // The missing keys follow the section's last line that is not blank.
  const std::size_t end = before.find("\x1a\x7F\x01\r\n") + 5;
  EXPECT_EQ(g.settings, before.substr(0, end) +
                            kKeysAfterTab.substr(kKeysAfterTab.find("cTIniter")) +
                            before.substr(end));
}

TEST(BadSettings, DuplicateSectionsAndKeysTheFirstWins) {
  const std::string before =
      "[Tamsel]\r\nTab=4\r\nTAB=8\r\ncSelf=Me\r\n[Other]\r\nTab=6\r\n"
      "[TAMSEL]\r\nTab=6\r\ncSelf=You\r\nUseUnit=Second\r\n";
  const std::string definition = "TA\r\n    Fa:integer;1\r\n";
  const Generated g = Generate(definition, before);
  EXPECT_EQ(g.run.exitCode, 0) << g.run.out << g.run.err;
  ASSERT_TRUE(g.unit);
  EXPECT_EQ(*g.unit, UnitOf(definition, std::string("[Tamsel]\r\nTab=4\r\ncSelf=Me\r\n")));
  EXPECT_NE(g.unit->find("\r\n            procedure SetMea(a:integer);\r\n"), std::string::npos);
  // The missing keys go to the first section; the second stays as it was.
  const std::size_t end = before.find("[Other]");
  EXPECT_EQ(g.settings, before.substr(0, end) + "UseUnit=Tamsel_common\r\ncTIniter=TIniter\r\n"
                                                "cCheck=Check\r\ncAll=All\r\ncFileName=FFileName\r\n"
                                                "cSection=FSection\r\ncIniRead=iniRead\r\n"
                                                "cIniWrite=iniWrite\r\ncInitial=Initial\r\n"
                                                "cTIniFileMine=TIniFileMine\r\ncSuper=Super\r\n" +
                            before.substr(end));
}

TEST(BadSettings, AByteOrderMarkAndNoFinalLineEnd) {
  const std::string before = "\xEF\xBB\xBF[Tamsel]\r\nTab=3";
  const Generated g = Generate("", before);
  EXPECT_EQ(g.run.exitCode, 0) << g.run.err;
  EXPECT_EQ(g.unit, EmptyUnit("   "));
  EXPECT_EQ(g.settings, before + "\r\n" + kKeysAfterTab);
}

TEST(BadSettings, AValueOf5000BytesIsCutTo2047AndTheFileKept) {
  const std::string value(5000, 'u');
  std::string before = CompleteSettings("2");
  before.replace(before.find("Tamsel_common"), 13, value);
  const Generated g = Generate("", before);
  EXPECT_EQ(g.run.exitCode, 0) << g.run.err;
  EXPECT_EQ(g.unit, EmptyUnit("  ", value.substr(0, 2047)));
  EXPECT_EQ(g.settings, before);
}

// ---------------------------------------------------------------------------
// No lost data

TEST(NoLostData, AFailureAfterMuchOutputLeavesNoPartialUnit) {
  // The first value fills the output buffer many times before the second
  // field's boolean fails to convert.
  const std::string definition =
      "TA\r\n  Fa:string;" + std::string(1u << 20, 'v') + "\r\n  Fb:boolean;abc\r\n";
  const Generated kept = Generate(definition, std::nullopt, kOldUnit);
  EXPECT_EQ(kept.run.exitCode, 1);
  EXPECT_EQ(kept.run.out, "");
  EXPECT_NE(kept.run.err.find("abc"), std::string::npos) << kept.run.err;
  EXPECT_EQ(kept.unit, kOldUnit);
  EXPECT_EQ(kept.files, (Files{"d.pas", "d.txt"}));

  const Generated none = Generate(definition);
  EXPECT_EQ(none.run.exitCode, 1);
  EXPECT_EQ(none.files, Files{"d.txt"});
}

TEST(NoLostData, AMalformedDefinitionWithASettingsFileThatCannotBeWritten) {
  Sandbox box;
  WriteFile(box.Path("d.txt"), "TA\r\n Fa:integer;1\r\n");
  WriteFile(box.Path("d.pas"), kOldUnit);
  WriteFile(box.Ini(), "");
  testing_support::UnwritableFile locked(box.Ini());
  if (!locked.Ok()) GTEST_SKIP() << "the file system keeps no immutable flag";
  const e2e::Result r = box.Run({"d.txt"});
  // Both failures are reported; the settings failure decides the exit code.
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, kMalformedMessage);
  EXPECT_EQ(e2e::Reports(r.err), box.Ini().string() + " に書き込めません: " + locked.Reason() + "\n");
  EXPECT_EQ(ReadFile(box.Path("d.pas")), kOldUnit);
  EXPECT_EQ(box.Files(), (Files{"d.pas", "d.txt"}));
  EXPECT_EQ(ReadFile(box.Ini()), "");
}

}  // namespace
