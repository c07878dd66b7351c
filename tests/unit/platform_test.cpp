// Line reading, file names and console text.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"

namespace {

std::vector<std::string> Lines(std::string_view data) {
  std::string text(data);
  platform::TextReader reader(text);
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
