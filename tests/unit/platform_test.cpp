// Line reading, file names and console text.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <utility>
#include <vector>

#include "text/Ascii.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
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

TEST(ReadWholeFile, ReadsEveryByteOrFails) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("tamsel-read-whole-file-" + std::to_string(std::random_device()()) + ".txt");
  std::string bytes;
  for (int i = 0; bytes.size() < (std::size_t{3} << 20); ++i)
    bytes += "TC" + std::to_string(i) + "\r\n  F" + std::to_string(i) + ":string;\x1a\r\n";
  {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string read = "left over";
  EXPECT_TRUE(platform::ReadWholeFile(path.string(), read));
  std::filesystem::remove(path);
  EXPECT_TRUE(read == bytes);
  EXPECT_FALSE(platform::ReadWholeFile(path.string(), read));
  EXPECT_EQ(read, "");
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

TEST(FileError, NamesThePathWhatFailedAndWhy) {
  EXPECT_STREQ(platform::FileError("d.pas", platform::FileFailure::kWrite, "No space left on device")
                   .what(),
               "d.pas に書き込めません: No space left on device");
  EXPECT_STREQ(platform::FileError("s.ini", platform::FileFailure::kWrite, "").what(),
               "s.ini に書き込めません");
  EXPECT_STREQ(platform::FileError("d.txt", platform::FileFailure::kRead, "Is a directory").what(),
               "d.txt を読み込めません: Is a directory");
  EXPECT_STREQ(platform::FileError("x/d.pas", platform::FileFailure::kCreate, "Permission denied")
                   .what(),
               "x/d.pas を作成できません: Permission denied");
}

TEST(Paths, ExtensionsBelongToTheFileNamePart) {
  EXPECT_EQ(platform::ChangeFileExt("dir/my.defs.txt", ".pas"), "dir/my.defs.pas");
  EXPECT_EQ(platform::ChangeFileExt("defs", ".pas"), "defs.pas");
  EXPECT_EQ(platform::ChangeFileExt("a.b/defs", ".const"), "a.b/defs.const");
  EXPECT_EQ(platform::ChangeFileExt("x.", ".pas"), "x.pas");
  EXPECT_EQ(platform::ExtractFileExt("dir/A.Pas"), ".Pas");
  EXPECT_EQ(platform::ExtractFileExt("a.b/defs"), "");
  EXPECT_EQ(platform::ExtractFileName("/opt/t/Tamsel"), "Tamsel");
}

TEST(ConsoleText, ConvertsToShiftJisWithThePlatformConverter) {
  std::string out;
  ASSERT_TRUE(platform::ConvertFromUtf8("指定のファイルがありません。", "CP932", out));
  EXPECT_EQ(out, "\x8E\x77\x92\xE8\x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA\x82\xA0\x82"
                 "\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42");
  EXPECT_FALSE(platform::ConvertFromUtf8("指定", "ISO-8859-1", out));
  EXPECT_FALSE(platform::ConvertFromUtf8("x", "NO-SUCH-CHARSET", out));
}

}  // namespace
