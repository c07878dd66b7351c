// Line reading, file names and console text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
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

// Blocks below, at and above the size from which large pages are used.
TEST(LargeBlocks, AreZeroedAndEveryByteIsUsable) {
  for (std::size_t bytes : {std::size_t{1}, (std::size_t{1} << 20) - 1, std::size_t{1} << 20,
                            (std::size_t{3} << 20) + 5}) {
    auto* block = static_cast<unsigned char*>(platform::AllocateLarge(bytes));
    EXPECT_TRUE(std::all_of(block, block + bytes, [](unsigned char c) { return c == 0; })) << bytes;
    std::memset(block, 0xA5, bytes);
    EXPECT_EQ(block[0], 0xA5);
    EXPECT_EQ(block[bytes - 1], 0xA5);
    platform::FreeLarge(block, bytes);
  }
  platform::FreeLarge(nullptr, std::size_t{4} << 20);
}

// A vector that grows from small blocks into large ones, and gives each back
// with the size it was taken with, keeps every element.
TEST(LargeBlocks, ContainersKeepTheirElementsAsTheyGrow) {
  std::vector<std::uint64_t, platform::LargeAllocator<std::uint64_t>> values;
  for (std::uint64_t i = 0; i < 700000; ++i) values.push_back(i * 7 + 1);
  bool whole = true;
  for (std::uint64_t i = 0; i < values.size(); ++i) whole = whole && values[i] == i * 7 + 1;
  EXPECT_TRUE(whole);
  values.resize(10);
  values.shrink_to_fit();
  EXPECT_EQ(values.back(), 64u);
}

TEST(ReadWholeFile, ReadsTheSameBytesIntoLargeBlockMemory) {
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
  std::string plain;
  platform::LargeString large;
  EXPECT_TRUE(platform::ReadWholeFile(path.string(), plain));
  EXPECT_TRUE(platform::ReadWholeFile(path.string(), large));
  std::filesystem::remove(path);
  EXPECT_EQ(plain, bytes);
  EXPECT_TRUE(std::string_view(large) == bytes);
  EXPECT_FALSE(platform::ReadWholeFile(path.string(), large));
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
