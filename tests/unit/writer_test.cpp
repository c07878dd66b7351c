#include <gtest/gtest.h>

#include <deque>
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

// Lines of every small length, line breaks within one call, lines that
// straddle the end of the buffer and pieces far larger than it all arrive
// whole and in order.
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
      const int next = static_cast<int>((round + length) % 3);
      w.Put(level, length % 3 != 0, text, TWritePas::LineBreak{next}, ":",
            std::string_view(text).substr(length / 2));
      for (int i = 0; i < level; ++i) expected.append(indent);
      expected.append(text).append("\r\n");
      for (int i = 0; i < next; ++i) expected.append(indent);
      expected.append(":").append(text, length / 2);
      if (length % 3 != 0) expected.append("\r\n");
    }
  }
  const std::string huge(3u << 20, 'h');
  w.Write(2, huge);
  w.WriteLn(0, "x");
  w.Put(1, true, "y", huge, TWritePas::LineBreak{2}, huge, "z");
  expected.append(indent).append(indent).append(huge).append("x\r\n");
  expected.append(indent).append("y").append(huge).append("\r\n");
  expected.append(indent).append(indent).append(huge).append("z\r\n");
  w.Flush();
  ASSERT_EQ(sink.Text().size(), expected.size());
  EXPECT_TRUE(sink.Text() == expected);
}

// A sink that, like the unit file's background writer, reads the bytes of a
// Put only as late as it may: when kHeldPuts more have come, or at Wait. The
// writer must leave them alone until then, also when they are the caller's
// own text.
TEST(WritePas, LeavesTheBytesOfAPutAloneUntilTheSinkIsDone) {
  class LateSink : public TTextSink {
   public:
    void Put(std::string_view bytes) override {
      waiting.push_back(bytes);
      if (waiting.size() > kHeldPuts) {
        text.append(waiting.front());
        waiting.pop_front();
      }
    }
    void Wait() override {
      for (std::string_view bytes : waiting) text.append(bytes);
      waiting.clear();
    }
    std::deque<std::string_view> waiting;
    std::string text;
  } sink;
  std::string expected;
  {
    std::string indent = "  ";
    TWritePas w(sink, indent);
    for (int i = 0; i < 300000; ++i) {
      const std::string line = std::to_string(i * 7919LL);
      w.WriteLn(i % 3, line);
      expected.append(static_cast<std::size_t>(i % 3) * 2, ' ').append(line).append("\r\n");
    }
    std::string huge(3u << 20, 'h');
    w.Write(0, huge);
    expected.append(huge);
    huge.assign(huge.size(), '!');  // the caller's text changes once Write returns
    w.WriteLn(0, "end");
    expected.append("end\r\n");
    w.Flush();
  }  // the writer gives up its buffers only once the sink is done with them
  ASSERT_EQ(sink.text.size(), expected.size());
  EXPECT_TRUE(sink.text == expected);
}

TEST(WritePas, ItemNameDropsTheFirstCharacter) {
  EXPECT_EQ(ItemName("TOption"), "Option");
  EXPECT_EQ(ItemName("FFileName"), "FileName");
  EXPECT_EQ(ItemName("T"), "");
  EXPECT_EQ(ItemName(""), "");
  EXPECT_EQ(ItemName("F\x83\x65"), "\x83\x65");
}

}  // namespace
