// A field: its texts as they lie in its definition line, its initial value as
// Pascal source text, and how a class adds fields to the shared store.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "model/Tamsel_Fielder.h"
#include "model/Tamsel_FielderList.h"

namespace {

std::string Value(const std::string& name, const std::string& type, const std::string& value,
                  const TVocabulary& vocabulary = TVocabulary()) {
  const std::string line = name + ":" + type + ";" + value;
  return TFielder(line, name.size(), name.size() + type.size() + 2, false, false)
      .InitValueText(vocabulary, "TOption");
}

// The names of a class's fields, joined by ",".
std::string Names(const TFielderList& list) {
  std::string names;
  for (const TFielder& field : list.Fields()) {
    if (!names.empty()) names += ",";
    names.append(field.GetName());
  }
  return names;
}

TEST(FielderRecord, TextsAreCutFromTheLineByTheOffsets) {
  const std::string line = "Fxxx:string;123";
  const TFielder field(line, 4, 12, true, false);
  EXPECT_EQ(field.GetName(), "Fxxx");
  EXPECT_EQ(field.GetType(), "string");
  EXPECT_EQ(field.GetInitValue(), "123");
  EXPECT_TRUE(field.GetRedefined());
  EXPECT_FALSE(field.GetSkipIni());
  EXPECT_TRUE(field.IsNamed("Fxxx"));
  EXPECT_FALSE(field.IsNamed("Fxx"));
  EXPECT_FALSE(field.IsNamed("fxxx"));

  // An automatic field's line ends at its ";": the value is empty.
  const std::string automatic = "FFileName:string;";
  const TFielder fileName(automatic, 9, automatic.size(), false, true);
  EXPECT_EQ(fileName.GetType(), "string");
  EXPECT_EQ(fileName.GetInitValue(), "");
  EXPECT_TRUE(fileName.GetSkipIni());

  // A ";" before the ":" leaves the type empty; name and value overlap.
  const std::string early = "Fa;1:x";
  const TFielder overlap(early, 4, 3, false, false);
  EXPECT_EQ(overlap.GetName(), "Fa;1");
  EXPECT_EQ(overlap.GetType(), "");
  EXPECT_EQ(overlap.GetInitValue(), "1:x");
  // "name:;value": an empty type between adjacent delimiters.
  const std::string empty = "Fa:;1";
  EXPECT_EQ(TFielder(empty, 2, 4, false, false).GetType(), "");
}

TEST(FielderListAddField, EachClassSeesExactlyItsOwnFieldsInOrder) {
  const std::string a = "Fa:integer;1";
  const std::string b = "Fb:string;x";
  const std::string c = "Fc:boolean;0";
  TFielderStore store;
  TFielderList first("TA", "", store);
  first.AddField(TFielder(a, 2, 11, false, false));
  first.AddField(TFielder(b, 2, 10, false, false));
  TFielderList second("TB", "TA", store);
  EXPECT_EQ(Names(second), "");
  second.AddField(TFielder(c, 2, 11, false, true));
  EXPECT_EQ(Names(first), "Fa,Fb");
  EXPECT_EQ(Names(second), "Fc");
  ASSERT_EQ(second.Fields().size(), 1u);
  EXPECT_EQ(second.Fields()[0].GetType(), "boolean");
  EXPECT_TRUE(second.Fields()[0].GetSkipIni());
  EXPECT_TRUE(first.HasField("Fb"));
  EXPECT_FALSE(first.HasField("Fc"));
  EXPECT_TRUE(second.HasField("Fc"));
  EXPECT_EQ(store.size(), 3u);
}

TEST(FielderListAddField, AddingToAnOlderClassIsRefusedAndAddsNothing) {
  const std::string a = "Fa:integer;1";
  const std::string b = "Fb:integer;2";
  TFielderStore store;
  TFielderList first("TA", "", store);
  first.AddField(TFielder(a, 2, 11, false, false));
  TFielderList second("TB", "", store);
  second.AddField(TFielder(b, 2, 11, false, false));
  EXPECT_THROW(first.AddField(TFielder(a, 2, 11, false, false)), std::logic_error);
  EXPECT_EQ(store.size(), 2u);
  EXPECT_EQ(Names(first), "Fa");
  EXPECT_EQ(Names(second), "Fb");

  // An older class that still adds while the newest has none yet keeps its
  // run whole; the newest class can then no longer add.
  TFielderStore other;
  TFielderList older("TC", "", other);
  TFielderList newer("TD", "", other);
  older.AddField(TFielder(a, 2, 11, false, false));
  EXPECT_THROW(newer.AddField(TFielder(b, 2, 11, false, false)), std::logic_error);
  EXPECT_EQ(Names(older), "Fa");
  EXPECT_EQ(Names(newer), "");
}

std::string Boolean(const std::string& value) { return Value("Fb", "boolean", value); }

TEST(InitValueText, RowsOfTheTableInOrder) {
  EXPECT_EQ(Value("Fa", "integer", "456"), "456");
  EXPECT_EQ(Value("Fa", "integer", ""), "");
  EXPECT_EQ(Value("Fa", "integer", "abc"), "abc");
  EXPECT_EQ(Value("Fa", "string", "123"), "'123'");
  // A quote inside the text is not doubled.
  EXPECT_EQ(Value("Fa", "string", "it's"), "'it's'");
  EXPECT_EQ(Value("Fa", "string", ""), "''");
  // Type texts compare exactly.
  EXPECT_EQ(Value("Fa", "Integer", "5"), "'5'");
  EXPECT_EQ(Value("Fa", "Boolean", "1"), "'1'");
  // The name rows hold for any field of that name with an empty value.
  EXPECT_EQ(Value("FFileName", "string", ""),
            "ExpandFileName(ChangeFileExt(ParamStr(0),'.ini'))");
  EXPECT_EQ(Value("FSection", "TSomething", ""), "ChangeFileExt(ExtractFileName(ParamStr(0)),'')");
  EXPECT_EQ(Value("FFileName", "string", "x.ini"), "'x.ini'");
  EXPECT_EQ(Value("FFileName", "integer", ""), "");
  TVocabulary renamed;
  renamed.cFileName = "FPath";
  renamed.cSection = "FPart";
  EXPECT_EQ(Value("FFileName", "string", "", renamed), "''");
  EXPECT_EQ(Value("FPath", "string", "", renamed),
            "ExpandFileName(ChangeFileExt(ParamStr(0),'.ini'))");
  EXPECT_EQ(Value("FPart", "string", "", renamed), "ChangeFileExt(ExtractFileName(ParamStr(0)),'')");
}

TEST(InitValueText, BooleanReadsSignedDecimalAndHexadecimalIntegers) {
  for (const char* truthy : {"1", "2", "-1", "+7", "  1", "$1F", "$a", "x10", "X1", "0x1", "0X0f",
                             "-$1", "-0x1", "007", "2147483647", "-2147483648", "$FFFFFFFF", "0x0000000080000000"})
    EXPECT_EQ(Boolean(truthy), "True") << truthy;
  for (const char* falsy : {"0", "-0", "+0", "   0", "$0", "x0", "0x0", "0x00", "-$0", "000"})
    EXPECT_EQ(Boolean(falsy), "False") << falsy;
}

TEST(InitValueText, BooleanThatIsNotAnIntegerRaisesAConversionError) {
  for (const char* bad : {"", " ", "abc", "True", "1 ", "1.0", "+", "-", "$", "x", "0x", "$g",
                          "0x1g", "1a", "- 1", "+-1", "\t1", "$-1", "2147483648", "-2147483649",
                          "$100000000", "99999999999999999999"}) {
    try {
      Boolean(bad);
      ADD_FAILURE() << "accepted [" << bad << "]";
    } catch (const EConvertError& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find("TOption"), std::string::npos) << message;
      EXPECT_NE(message.find("\"Fb\""), std::string::npos) << message;
      EXPECT_NE(message.find("\"" + std::string(bad) + "\""), std::string::npos) << message;
    }
  }
  // The run reports every std::runtime_error.
  EXPECT_THROW(Boolean("no"), std::runtime_error);
}

}  // namespace
