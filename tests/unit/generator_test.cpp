// The generated unit as a whole: golden definition files and their expected
// units, compared byte for byte, and the passes on inputs the golden files do
// not cover.
#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <string>

#include "app/Tamsel.h"
#include "model/Tamsel_Fielder.h"
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

TEST_P(GoldenUnit, MatchesByteForByte) {
  const std::string name = GetParam();
  const std::string expected = ReadFile(kUnits + name + ".pas");
  const std::string actual = GenerateUnit(kUnits, name, TVocabulary());
  EXPECT_EQ(expected, actual) << FirstDifference(expected, actual);
}

INSTANTIATE_TEST_SUITE_P(DefaultSettings, GoldenUnit, testing::Values("sample", "ini_first"));

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

// Counts the bytes of a unit too large to keep in memory comfortably.
class CountingSink : public TTextSink {
 public:
  void Put(std::string_view bytes) override { size += bytes.size(); }
  std::size_t size = 0;
};

TEST(GeneratorScale, HundredThousandFieldsLoadAndGenerateInLinearTime) {
  // 100 classes of 1,000 fields each, an INI-controller class in the middle
  // and a redefined field in every class: about 2.3 MB of definition.
  std::string definition;
  definition.reserve(2'600'000);
  int field = 0;
  for (int klass = 0; klass < 100; ++klass) {
    definition += klass == 50 ? "TIniter(TC49)\r\n" : "TC" + std::to_string(klass) + "\r\n";
    definition += "  Fshared:string;abc\r\n";
    for (int i = 1; i < 1000; ++i)
      definition += "  Ffield" + std::to_string(field++) + ":integer;" + std::to_string(i) + "\r\n";
  }
  const TVocabulary vocabulary;
  const auto start = std::chrono::steady_clock::now();
  TTyperList list(false, vocabulary);
  ASSERT_TRUE(list.LoadText(definition));
  CountingSink sink;
  TWritePas out(sink, vocabulary.Indent);
  WriteUnit(out, list, "big", "Tamsel_common", nullptr);
  out.Flush();
  const auto elapsed = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(list.Count(), 100u);
  EXPECT_TRUE(list.FieldDefined("Ffield99899"));
  EXPECT_FALSE(list.FieldDefined("Ffield99900"));
  EXPECT_GT(sink.size, 55'000'000u);
  // A quadratic search over 100,000 fields takes minutes; linear work takes
  // a quarter of a second in an optimised build and two seconds without
  // optimisation. The bounds leave room for a busy machine.
#ifdef NDEBUG
  constexpr long long kBoundMs = 1500;
#else
  constexpr long long kBoundMs = 8000;
#endif
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), kBoundMs)
      << definition.size() << " bytes of definition, " << sink.size << " bytes of unit";
  RecordProperty("definition_bytes", static_cast<int>(definition.size()));
  RecordProperty("unit_bytes", static_cast<int>(sink.size));
  RecordProperty("milliseconds", static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
}

}  // namespace
