#include <gtest/gtest.h>

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

TEST(WritePas, ItemNameDropsTheFirstCharacter) {
  EXPECT_EQ(ItemName("TOption"), "Option");
  EXPECT_EQ(ItemName("FFileName"), "FileName");
  EXPECT_EQ(ItemName("T"), "");
  EXPECT_EQ(ItemName(""), "");
  EXPECT_EQ(ItemName("F\x83\x65"), "\x83\x65");
}

}  // namespace
