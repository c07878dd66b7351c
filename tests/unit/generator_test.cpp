// The generated unit as a whole: golden definition files and their expected
// units, compared byte for byte, and the passes on inputs the golden files do
// not cover.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <string>
#include <vector>

#include "app/Tamsel.h"
#include "model/Tamsel_Fielder.h"
#include "model/Tamsel_Names.h"
#include "model/Tamsel_Typer.h"
#include "model/Tamsel_TyperList.h"
#include "model_support.h"
#include "settings/Tamsel_Common.h"
#include "settings/Tamsel_ini.h"
#include "writer/Tamsel_WritePas.h"

namespace {

using model_test::FirstDifference;
using model_test::Lines;
using model_test::ReadFile;

const std::string kUnits = std::string(TAMSEL_GOLDEN_DIR) + "/units/";
const std::string kExamples = std::string(TAMSEL_EXAMPLES_DIR) + "/";

// The vocabulary a run derives from a golden settings file.
TVocabulary ReadSettings(const std::string& path) {
  TOption settings;
  settings.LoadProfile(TIniFileMine::FromText(ReadFile(path)), "Tamsel");
  return TVocabulary::FromSettings(settings);
}

// The whole unit for the definition file `<dir><name>.txt`.
std::string GenerateUnit(const std::string& dir, const std::string& name,
                         const TVocabulary& vocabulary) {
  TTyperList list(false, vocabulary);
  EXPECT_TRUE(list.LoadText(ReadFile(dir + name + ".txt")));
  TStringSink sink;
  TWritePas out(sink, vocabulary.Indent);
  WriteUnit(out, list, name, vocabulary.UseUnit, nullptr);
  out.Flush();
  return sink.Text();
}

class GoldenUnit : public testing::TestWithParam<const char*> {};

// The shipped examples are golden definitions too.
TEST_P(GoldenUnit, MatchesByteForByte) {
  const std::string name = GetParam();
  const std::string dir = name == "ini_first" ? kUnits : kExamples;
  const std::string expected = ReadFile(dir + name + ".pas");
  const std::string actual = GenerateUnit(dir, name, TVocabulary());
  EXPECT_EQ(expected, actual) << FirstDifference(expected, actual);
}

INSTANTIATE_TEST_SUITE_P(DefaultSettings, GoldenUnit,
                         testing::Values("ini_first", "sample", "appoptions", "inictrl", "chain"));

class GoldenRenamedUnit : public testing::TestWithParam<const char*> {};

TEST_P(GoldenRenamedUnit, MatchesByteForByte) {
  const std::string dir = kUnits + "renamed/";
  const std::string name = GetParam();
  const std::string expected = ReadFile(dir + name + ".pas");
  const std::string actual = GenerateUnit(dir, name, ReadSettings(dir + name + ".ini"));
  EXPECT_EQ(expected, actual) << FirstDifference(expected, actual);
}

INSTANTIATE_TEST_SUITE_P(RenamedSettings, GoldenRenamedUnit,
                         testing::Values("self_initial", "initer", "tab4"));

TEST(Generator, EmptyDefinitionGivesOnlyTheVarLine) {
  const TVocabulary vocabulary;
  TTyperList list(false, vocabulary);
  ASSERT_TRUE(list.LoadText(""));
  EXPECT_EQ(model_test::TypeSection(list, vocabulary), "var\r\n");
  EXPECT_EQ(model_test::Implementation(list, vocabulary), "");
  EXPECT_EQ(model_test::IniProcedures(list, vocabulary), "");
}

TEST(Generator, TabZeroWritesEverythingFlushLeft) {
  TVocabulary vocabulary;
  vocabulary.Indent.clear();
  TTyperList list(false, vocabulary);
  ASSERT_TRUE(list.LoadText("TBase\r\nTChild(TBase)\r\n"));
  EXPECT_EQ(model_test::TypeSection(list, vocabulary),
            Lines({"TBase = class", "private", "protected", "published", "public", "end;",
                   "TChild = class(TBase)", "private", "protected", "published", "public", "end;",
                   "var", "OBase:TBase;", "OChild:TChild;"}));
}

// Initial overrides, and calls, an ancestor's only where the chain can
// declare one: a class of the file with fields, or a class of another unit.
TEST(Generator, InitialOverridesOnlyWhereTheChainCanDeclareIt) {
  const struct {
    const char* definition;
    bool overrides;
  } cases[] = {
      {"TA\r\nTB(TA)\r\n  Fb:integer;1\r\n", false},
      {"TB(TObject)\r\n  Fb:integer;1\r\n", false},
      {"TB(tpersistent)\r\n  Fb:integer;1\r\n", false},
      {"TB( TInterfacedObject , IUnknown)\r\n  Fb:integer;1\r\n", false},
      {"TA(TObject)\r\nTB(TA)\r\n  Fb:integer;1\r\n", false},
      {"TA\r\n  Fa:integer;1\r\nTB(TA)\r\nTC(TB)\r\n  Fb:integer;1\r\n", true},
      {"TA(TComponent)\r\nTB(TA)\r\n  Fb:integer;1\r\n", true},
      {"TB(TOther)\r\n  Fb:integer;1\r\n", true},
  };
  const TVocabulary vocabulary;
  for (const auto& c : cases) {
    TTyperList list(false, vocabulary);
    ASSERT_TRUE(list.LoadText(c.definition));
    const std::string decls = model_test::TypeSection(list, vocabulary);
    const std::string bodies = model_test::Implementation(list, vocabulary);
    EXPECT_NE(decls.find(c.overrides ? "Initial;override;" : "Initial;virtual;"), std::string::npos)
        << c.definition;
    EXPECT_EQ(bodies.find("Inherited Initial;") != std::string::npos, c.overrides) << c.definition;
  }
}

TEST(Generator, OneCharacterClassNameHasAnEmptyItemName) {
  const TVocabulary vocabulary;
  TTyperList list(false, vocabulary);
  ASSERT_TRUE(list.LoadText("T\r\n"));
  const std::string text = model_test::TypeSection(list, vocabulary);
  EXPECT_NE(text.find("\r\n  O:T;\r\n"), std::string::npos) << text;
}

TEST(Generator, TwoIniControllerClassesEachWriteTheirHeadsBeforeOneShareBody) {
  // Both classes are INI controllers; the walk writes a head for each, then
  // the one body, exactly as the passes are defined.
  const TVocabulary vocabulary;
  TTyperList list(false, vocabulary);
  ASSERT_TRUE(list.LoadText("TA\r\n  Fa:integer;1\r\nTIniter\r\nTIniter(TA)\r\n"));
  EXPECT_EQ(model_test::Capture(vocabulary, [&](TWritePas& out) { list.WriteIniRead(out); }),
            Lines({"procedure TIniter.iniRead;", "procedure TIniter.iniRead;", "var",
                   "  IniFile:TIniFileMine;", "begin",
                   "  IniFile := TIniFileMine.Create(FFileName);", "",
                   "  Inherited SetSelfa(IniFile.Readinteger(FSection,'a',1));", "",
                   "  IniFile.Free;", "end;"}));
}

TEST(Generator, ConversionFailureStopsBeforeTheFailingLine) {
  const TVocabulary vocabulary;
  TTyperList list(false, vocabulary);
  ASSERT_TRUE(list.LoadText("TOption\r\n  Fa:integer;1\r\n  Fb:boolean;yes\r\n"));
  TStringSink sink;
  TWritePas out(sink, vocabulary.Indent);
  try {
    list.WriteImplementation(out);
    FAIL() << "no conversion failure";
  } catch (const EConvertError& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find("TOption"), std::string::npos) << message;
    EXPECT_NE(message.find("Fb"), std::string::npos) << message;
    EXPECT_NE(message.find("yes"), std::string::npos) << message;
  }
  out.Flush();
  const std::string& text = sink.Text();
  EXPECT_TRUE(text.ends_with("begin\r\n  Fa := 1;\r\n")) << text;
}

// Item names and object variables that are reserved words are escaped where
// they are identifiers of their own; method names, keys and the user's
// names never are.
TEST(Generator, ReservedWordsAreEscapedWhereTheyStandAlone) {
  TVocabulary vocabulary;
  vocabulary.cSection = "FType";
  TTyperList list(false, vocabulary);
  ASSERT_TRUE(list.LoadText("TR\r\n  FType:string;a\r\n  FEnd:integer;1\r\nTIniter(TR)\r\n"));
  const std::string types = model_test::TypeSection(list, vocabulary);
  for (const char* expected :
       {"procedure SetAllSelf(&Type:string;&End:integer);", "FType:string;",
        "procedure SetSelfType(&Type:string);", "procedure SetType(&Type:string);virtual;",
        "function GetType:string;virtual;", "procedure iniRead(&Type,FileName:string);overload;",
        "  &OR:TR;", "  OIniter:TIniter;"})
    EXPECT_NE(types.find(expected), std::string::npos) << expected << "\n" << types;
  const std::string bodies = model_test::Implementation(list, vocabulary);
  for (const char* expected :
       {"procedure TR.SetSelfType(&Type:string);\r\nbegin\r\n  FType := &Type;\r\nend;",
        "procedure TR.SetType(&Type:string);\r\nbegin\r\n  SetSelfType(&Type);\r\nend;",
        "  SetSelfEnd(&End);", "  FType := &Type;\r\n  iniRead;"})
    EXPECT_NE(bodies.find(expected), std::string::npos) << expected << "\n" << bodies;
  const std::string ini = model_test::IniProcedures(list, vocabulary);
  EXPECT_NE(ini.find("Inherited SetSelfEnd(IniFile.Readinteger(FType,'End',1));"), std::string::npos)
      << ini;
}

// The INI controller's own copy of a stored field it redefines is the one
// the load fills; the store writes it, and the getter returns it.
TEST(Generator, TheControllerLoadsItsOwnCopyOfAFieldItRedefines) {
  const TVocabulary vocabulary;
  TTyperList list(false, vocabulary);
  ASSERT_TRUE(list.LoadText("TOption\r\n  FPort:integer;80\r\n  FHost:string;h\r\n"
                            "TIniter(TOption)\r\n  FPort:integer;8080\r\n"));
  const std::string ini = model_test::IniProcedures(list, vocabulary);
  EXPECT_NE(ini.find("\r\n  SetSelfPort(IniFile.Readinteger(FSection,'Port',80));"),
            std::string::npos)
      << ini;
  EXPECT_NE(ini.find("\r\n  Inherited SetSelfHost(IniFile.Readstring(FSection,'Host','h'));"),
            std::string::npos)
      << ini;
  EXPECT_NE(ini.find("IniFile.CheckWriteinteger(FSection,'Port',FPort);"), std::string::npos) << ini;
}

// So is its copy of a name only an unrelated class stores, in any letter
// case; its automatic fields never take a stored value.
TEST(Generator, TheControllerLoadsItsOwnCopyOfAnUnrelatedClassesField) {
  const TVocabulary vocabulary;
  TTyperList list(false, vocabulary);
  ASSERT_TRUE(list.LoadText("TA\r\n  FPort:integer;80\r\n  FFileName:string;f\r\nTB\r\n"
                            "  Fhost:string;h\r\n  FUser:string;u\r\nTIniter\r\n  FPort:integer;1\r\n"
                            "  FHost:string;x\r\n"));
  const std::string ini = model_test::IniProcedures(list, vocabulary);
  for (const char* line : {"\r\n  SetSelfPort(IniFile.Readinteger(FSection,'Port',80));",
                           "\r\n  SetSelfhost(IniFile.Readstring(FSection,'host','h'));",
                           "\r\n  Inherited SetSelfUser(IniFile.Readstring(FSection,'User','u'));",
                           "\r\n  Inherited SetSelfFileName(IniFile.Readstring(FSection,'FileName','f'));"})
    EXPECT_NE(ini.find(line), std::string::npos) << line << "\n" << ini;
}

TEST(Generator, AByteOrderMarkMovesFromTheDefinitionToTheUnit) {
  const TVocabulary vocabulary;
  TTyperList list(false, vocabulary);
  ASSERT_TRUE(list.LoadText("\xEF\xBB\xBFTA\r\n  Fa:string;\xE5\x80\xA4\r\n"));
  EXPECT_EQ(list.Item(0).GetName(), "TA");
  const std::string constants = "\xEF\xBB\xBF" "const\r\n  X = 1;";
  const std::string unit = model_test::Capture(vocabulary, [&](TWritePas& out) {
    WriteUnit(out, list, "d", "Tamsel_common", &constants);
  });
  EXPECT_TRUE(unit.starts_with("\xEF\xBB\xBFunit d;\r\n")) << unit.substr(0, 20);
  EXPECT_NE(unit.find("\r\n\r\nconst\r\n  X = 1;\r\n"), std::string::npos);
  EXPECT_EQ(unit.find("\xEF\xBB\xBF", 3), std::string::npos);
  // Without a mark the unit has none.
  TTyperList plain(false, vocabulary);
  ASSERT_TRUE(plain.LoadText("TA\r\n"));
  EXPECT_FALSE(plain.HasByteOrderMark());
}

TEST(Generator, ShiftJisBytesReachTheUnitUnchanged) {
  // 0x83 0x5C is a katakana whose second byte is a backslash; 0x81 0x46 is a
  // full-width colon whose bytes contain no ASCII ":".
  const std::string klass = "T\x83\x5C\x81\x46";
  const std::string field = "F\x95\x9D";
  const std::string value = "\x92\x6C";
  const TVocabulary vocabulary;
  TTyperList list(false, vocabulary);
  ASSERT_TRUE(list.LoadText(klass + "\r\n  " + field + ":string;" + value + "\r\n"));
  const std::string types = model_test::TypeSection(list, vocabulary);
  EXPECT_NE(types.find("  " + klass + " = class\r\n"), std::string::npos);
  EXPECT_NE(types.find("      " + field + ":string;\r\n"), std::string::npos);
  EXPECT_NE(types.find("procedure SetSelf\x95\x9D(\x95\x9D:string);"), std::string::npos);
  EXPECT_NE(types.find("  O\x83\x5C\x81\x46:" + klass + ";\r\n"), std::string::npos);
  const std::string bodies = model_test::Implementation(list, vocabulary);
  EXPECT_NE(bodies.find("  " + field + " := '" + value + "';\r\n"), std::string::npos);
}

// The names the checks keep free are exactly the functions the automatic
// fields' initial values call.
TEST(Generator, TheDefaultFunctionsAreThoseTheDefaultsCall) {
  std::vector<std::string> called;
  for (std::string_view text : {names::kFileNameDefault, names::kSectionDefault}) {
    for (std::size_t open = text.find('('); open != std::string_view::npos;
         open = text.find('(', open + 1)) {
      std::size_t start = open;
      while (start > 0 && std::isalpha(static_cast<unsigned char>(text[start - 1]))) --start;
      const std::string name(text.substr(start, open - start));
      if (std::find(called.begin(), called.end(), name) == called.end()) called.push_back(name);
    }
  }
  std::vector<std::string> kept(names::kDefaultFunctions.begin(), names::kDefaultFunctions.end());
  std::sort(called.begin(), called.end());
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(called, kept);
}

}  // namespace
