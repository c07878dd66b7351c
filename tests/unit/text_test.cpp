// The byte rules: line reading, ASCII letter case, Pascal integers.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "text/Ascii.h"
#include "text/TextFile.h"

namespace {

std::vector<std::string> Lines(std::string_view data) {
  std::string text(data);
  texts::TextReader reader(text);
  std::vector<std::string> lines;
  do {
    lines.emplace_back(reader.ReadLine());
  } while (!reader.Eof());
  return lines;
}

using V = std::vector<std::string>;

TEST(TextReader, LineEndsAndLoneCarriageReturns) {
  EXPECT_EQ(Lines(""), V{""});
  EXPECT_EQ(Lines("a"), V{"a"});
  EXPECT_EQ(Lines("a\r\n"), V{"a"});
  EXPECT_EQ(Lines("a\r\n\r\n"), (V{"a", ""}));
  EXPECT_EQ(Lines("a\nb\r\nc"), (V{"a", "b", "c"}));
  EXPECT_EQ(Lines("a\rb\r\r\nc\r"), (V{"ab", "c"}));
  EXPECT_EQ(Lines(std::string(100000, 'x') + "\n"), V{std::string(100000, 'x')});
}

TEST(TextReader, CtrlZEndsTheFileAtALineStartAndTheLineElsewhere) {
  EXPECT_EQ(Lines("a\r\n\x1a" "b\r\nc"), V{"a"});
  EXPECT_EQ(Lines("a\x1a" "b\r\nc"), (V{"a", "c"}));
  EXPECT_EQ(Lines("\x1a" "a\r\nb"), (V{"", "b"}));  // the first line is always read
  EXPECT_EQ(Lines("a\r\n\x1a"), V{"a"});
  EXPECT_EQ(Lines(std::string("a\0b", 3)), V{std::string("a\0b", 3)});
}

// Line numbers count every line read, empty ones and those ended by CR LF.
TEST(TextReader, NumbersTheLinesItGives) {
  std::string text = "a\r\n\nb\n";
  texts::TextReader reader(text);
  std::vector<std::size_t> numbers;
  do {
    reader.ReadLine();
    numbers.push_back(reader.LineNumber());
  } while (!reader.Eof());
  EXPECT_EQ(numbers, (std::vector<std::size_t>{1, 2, 3}));
}

// The settings file's integers and Pascal's differ only in leading spaces
// and a bare "x" before hexadecimal digits.
TEST(ParseInt32, DecimalAndHexadecimalWithinThirtyTwoBits) {
  struct Case {
    const char* text;
    bool ok;
    std::int32_t value;
  } cases[] = {
      {"2", true, 2},         {"-1", true, -1},       {"+7", true, 7},
      {"0x10", true, 16},     {"0X1f", true, 31},     {"$10", true, 16},
      {"-$10", true, -16},    {"0x4", true, 4},       {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},         {"$FFFFFFFF", true, -1},
      {"2147483648", false, 0}, {"$100000000", false, 0}, {"abc", false, 0},
      {"", false, 0},         {"$", false, 0},        {"0x", false, 0},
      {"1 2", false, 0},      {"12abc", false, 0},    {"-", false, 0},
  };
  for (const Case& c : cases) {
    for (texts::IntegerSyntax syntax : {texts::kProfileInteger, texts::kPascalInteger}) {
      std::int32_t value = 12345;
      EXPECT_EQ(texts::ParseInt32(c.text, syntax, value), c.ok) << c.text;
      EXPECT_EQ(value, c.ok ? c.value : 12345) << c.text;
    }
  }
  const std::pair<const char*, std::int32_t> pascalOnly[] = {
      {"  7", 7}, {"x1F", 31}, {"-X1", -1}, {" $a", 10}};
  for (const auto& [text, expected] : pascalOnly) {
    std::int32_t value = 0;
    EXPECT_FALSE(texts::ParseInt32(text, texts::kProfileInteger, value)) << text;
    EXPECT_TRUE(texts::ParseInt32(text, texts::kPascalInteger, value)) << text;
    EXPECT_EQ(value, expected) << text;
  }
}

TEST(SameTextAscii, IgnoresTheCaseOfAsciiLettersOnly) {
  EXPECT_TRUE(texts::SameTextAscii("Tamsel.EXE", "tamsel.exe"));
  EXPECT_FALSE(texts::SameTextAscii("Tamsel", "Tamsel "));
  EXPECT_FALSE(texts::SameTextAscii("\xC3\xA9", "\xC3\x89"));  // é is not É here
  EXPECT_EQ(texts::LowerAscii("HeLP-\xC9"), "help-\xC9");
}

// A map keyed the case-free way finds a name however its letters are cased,
// and only that name.
TEST(CaseFree, MapsFindNamesAsPascalComparesThem) {
  std::unordered_map<std::string_view, int, texts::CaseFreeHash, texts::CaseFreeEqual> map;
  map["FName"] = 1;
  EXPECT_EQ(map.count("fname"), 1u);
  EXPECT_EQ(map.count("FNAME"), 1u);
  EXPECT_EQ(map.count("FNam"), 0u);
  EXPECT_EQ(map.count("FName "), 0u);
  EXPECT_EQ(texts::CaseFreeHash()("TOption"), texts::CaseFreeHash()("toPTION"));
}

}  // namespace
