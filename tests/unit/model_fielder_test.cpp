// A field's initial value as Pascal source text.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "model/Tamsel_Fielder.h"

namespace {

std::string Value(const std::string& name, const std::string& type, const std::string& value,
                  const TVocabulary& vocabulary = TVocabulary()) {
  return TFielder(name, type, value, false, false).InitValueText(vocabulary, "TOption");
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
  // Pascal ignores the letter case of type names; numbers stand unquoted.
  EXPECT_EQ(Value("Fa", "Integer", "5"), "5");
  EXPECT_EQ(Value("Fa", "BOOLEAN", "1"), "True");
  for (const char* numeric : {"shortint", "SmallInt", "longint", "Int64", "byte", "Word",
                              "longword", "Cardinal", "UInt64", "NativeInt", "nativeuint",
                              "Single", "double", "Extended", "Currency", "real", "TDateTime",
                              "tdate", "TTIME"})
    EXPECT_EQ(Value("Fa", numeric, "-1.5"), "-1.5") << numeric;
  for (const char* quoted :
       {"string", "WideString", "Char", "TColor", "integers", "Int6", "TDateTimes"})
    EXPECT_EQ(Value("Fa", quoted, "5"), "'5'") << quoted;
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
