#include <gtest/gtest.h>

#include <string>

#include "writer/Tamsel_WritePas.h"

namespace {

TEST(WritePas, LinesCarryTheIndentPerLevelAndEndInCrLf) {
  TStringSink sink;
  std::string indent = "  ";
  TWritePas w(sink, indent);
  w.WriteLn(3, "Fxxx:string;");
  w.WriteLn("");
  w.Write(1, "procedure SetAllSelf(");
  w.Write("a:integer");
  w.WriteLn(0, ");");
  w.Flush();
  EXPECT_EQ(sink.Text(), "      Fxxx:string;\r\n\r\n  procedure SetAllSelf(a:integer);\r\n");
}

TEST(WritePas, ReadsTheIndentStringAtEveryWrite) {
  TStringSink sink;
  std::string indent;
  TWritePas w(sink, indent);
  w.WriteLn(2, "flush");
  indent = "    ";
  w.WriteLn(1, "four");
  w.Flush();
  EXPECT_EQ(sink.Text(), "flush\r\n    four\r\n");
}

TEST(WritePas, HandsTheSinkLargeBlocksNotSingleLines) {
  class CountingSink : public TTextSink {
   public:
    void Put(std::string_view bytes) override {
      ++calls;
      text.append(bytes);
    }
    int calls = 0;
    std::string text;
  } sink;
  std::string indent = "  ";
  TWritePas w(sink, indent);
  for (int i = 0; i < 100000; ++i) w.WriteLn(1, "x");
  w.Flush();
  EXPECT_EQ(sink.text.size(), 100000u * 5u);
  EXPECT_LT(sink.calls, 20);
  EXPECT_GT(sink.calls, 0);
}

// Pieces of every small length, lines that straddle the end of the buffer
// and texts far larger than it all arrive whole and in order.
TEST(WritePas, PiecesOfAnyLengthArriveInOrderAcrossFlushes) {
  TStringSink sink;
  std::string indent = "  ";
  TWritePas w(sink, indent);
  std::string expected;
  std::string text;
  for (std::size_t round = 0; round < 400; ++round) {
    for (std::size_t length = 0; length <= 40; ++length) {
      text.assign(length, static_cast<char>('a' + (round + length) % 26));
      const int level = static_cast<int>(length % 4);
      const std::string_view half = std::string_view(text).substr(length / 2);
      if (length % 3 != 0)
        w.WriteLn(level, text, ":", half);
      else
        w.Write(level, text, ":", half);
      for (int i = 0; i < level; ++i) expected.append(indent);
      expected.append(text).append(":").append(half);
      if (length % 3 != 0) expected.append("\r\n");
    }
  }
  std::string huge(3u << 20, 'h');
  w.Write(2, huge);
  huge.assign(huge.size(), '!');  // the caller's text may change once Write returns
  w.WriteLn(0, "x");
  w.WriteLn(1, "y", huge, "z");
  expected.append(indent).append(indent).append(huge.size(), 'h').append("x\r\n");
  expected.append(indent).append("y").append(huge).append("z\r\n");
  w.Flush();
  ASSERT_EQ(sink.Text().size(), expected.size());
  EXPECT_TRUE(sink.Text() == expected);
}

// A character buffer is a text up to its first NUL, not a literal of its
// whole size; a name is written as its pieces joined.
TEST(WritePas, BuffersAndNamesArePiecesToo) {
  TStringSink sink;
  std::string indent = "  ";
  TWritePas w(sink, indent);
  char buffer[16] = "Port";
  w.WriteLn(1, "F", buffer, ":", TName{{"Set", "Self", buffer}});
  w.Flush();
  EXPECT_EQ(sink.Text(), "  FPort:SetSelfPort\r\n");
  EXPECT_EQ((TName{{"Get", "", "Port"}}).Text(), "GetPort");
}

TEST(WritePas, ItemNameDropsTheFirstCharacter) {
  EXPECT_EQ(ItemName("TOption"), "Option");
  EXPECT_EQ(ItemName("FFileName"), "FileName");
  EXPECT_EQ(ItemName("T"), "");
  EXPECT_EQ(ItemName(""), "");
  EXPECT_EQ(ItemName("F\x83\x65"), "\x83\x65");
}

}  // namespace
