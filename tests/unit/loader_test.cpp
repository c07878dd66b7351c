// Reading definition text into the class list: how lines are split, which
// lines are refused, how line ends are read, and which kinds and flags the
// class and field definitions get.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <typeinfo>
#include <vector>

#include "model/Tamsel_Fielder.h"
#include "model/Tamsel_FielderList.h"
#include "model/Tamsel_Typer.h"
#include "model/Tamsel_TyperIni.h"
#include "model/Tamsel_TyperList.h"

namespace {

// One line per class definition: its kind (T: no fields, F: with fields,
// I: INI controller), its name and parent, then each field as
// [name|type|value|flags] with R for redefined and S for INI-skip.
std::string Dump(const TTyperList& list) {
  std::string text;
  for (std::size_t i = 0; i < list.Count(); ++i) {
    const TTyper& item = list.Item(i);
    if (i > 0) text += "\n";
    text += typeid(item) == typeid(TTyperIni)      ? "I "
            : typeid(item) == typeid(TFielderList) ? "F "
                                                   : "T ";
    text.append(item.GetName()).append("(").append(item.GetParent()).append(")");
    if (const auto* holder = dynamic_cast<const TFielderList*>(&item)) {
      for (const TFielder& f : holder->Fields()) {
        text.append(" [").append(f.GetName()).append("|").append(f.GetType()).append("|");
        text.append(f.GetInitValue()).append("|");
        text += f.GetRedefined() ? "R" : "-";
        text += f.GetSkipIni() ? "S" : "-";
        text += "]";
      }
    }
  }
  return text;
}

struct Loaded {
  bool ok;
  std::string dump;
};

Loaded Load(std::string_view text, const TVocabulary& vocabulary = TVocabulary()) {
  TTyperList list(false, vocabulary);
  const bool ok = list.LoadText(text);
  return {ok, Dump(list)};
}

std::string LoadOk(std::string_view text, const TVocabulary& vocabulary = TVocabulary()) {
  Loaded loaded = Load(text, vocabulary);
  EXPECT_TRUE(loaded.ok) << "refused: " << text;
  return loaded.dump;
}

const char* const kSample =
    "TOption\r\n"
    "  Fxxx:string;123\r\n"
    "  Fyyy:integer;456\r\n"
    "  Fzzz:boolean;1\r\n"
    "TIniter(TOption)\r\n"
    "TParam(TIniter)\r\n"
    "  Fxxx:string;789\r\n";

TEST(Loader, SampleGivesThreeClassDefinitionsWithTheirKindsAndFlags) {
  const TVocabulary vocabulary;
  TTyperList list(false, vocabulary);
  ASSERT_TRUE(list.LoadText(kSample));
  EXPECT_TRUE(list.HasIniClass());
  EXPECT_EQ(Dump(list),
            "F TOption() [Fxxx|string|123|--] [Fyyy|integer|456|--] [Fzzz|boolean|1|--]\n"
            "I TIniter(TOption) [FFileName|string||-S] [FSection|string||-S]\n"
            "F TParam(TIniter) [Fxxx|string|789|RS]");
}

TEST(Loader, ClassLineSplitting) {
  EXPECT_EQ(LoadOk("TA(TB)"), "T TA(TB)");
  // The last character is dropped untested.
  EXPECT_EQ(LoadOk("TIniter(TOption"), "I TIniter(TOptio) [FFileName|string||-S] "
                                       "[FSection|string||-S]");
  EXPECT_EQ(LoadOk("TA()"), "T TA()");
  EXPECT_EQ(LoadOk("TA(TB) "), "T TA(TB))");
  // The first "(" splits; a second one stays in the parent name.
  EXPECT_EQ(LoadOk("TA(TB(TC))"), "T TA(TB(TC))");
  // A "(" that ends the line leaves no room for a parent.
  EXPECT_EQ(LoadOk("TA("), "T TA()");
  EXPECT_EQ(LoadOk("(TB)"), "T (TB)");
  // A trailing space stays in the name, so this is not the INI controller.
  EXPECT_EQ(LoadOk("TIniter \r\n"), "T TIniter ()");
  // A tab is not a space: the line is a class line.
  EXPECT_EQ(LoadOk("\tTA\r\n"), "T \tTA()");
}

TEST(Loader, FieldLineSplitting) {
  EXPECT_EQ(LoadOk("TA\r\n  Fa:string;\r\n"), "F TA() [Fa|string||--]");
  EXPECT_EQ(LoadOk("TA\r\n  Fa:string;x;y:z\r\n"), "F TA() [Fa|string|x;y:z|--]");
  EXPECT_EQ(LoadOk("TA\r\n  Fa:;1\r\n"), "F TA() [Fa||1|--]");
  // A ";" before the first ":" leaves the type empty; the name runs to ":".
  EXPECT_EQ(LoadOk("TA\r\n  Fa;1:x\r\n"), "F TA() [Fa;1||1:x|--]");
  EXPECT_EQ(LoadOk("TA\r\n  Fa:array of string; x \r\n"), "F TA() [Fa|array of string| x |--]");
  // An empty field name is accepted, and its class holds fields.
  EXPECT_EQ(LoadOk("TA\r\n  :integer;1\r\n"), "F TA() [|integer|1|--]");
}

TEST(Loader, MalformedFieldLinesStopTheLoad) {
  for (const char* line : {"   Fa:string;1",  // more spaces than the indent
                           " Fa:string;1",    // fewer
                           "  ",              // no ":"
                           "  Fa string;1",   // no ":"
                           "  Fa:string"})    // no ";"
    EXPECT_FALSE(Load(std::string("TA\r\n") + line + "\r\n").ok) << "[" << line << "]";
  // A field line before any class line has no class to receive it.
  EXPECT_FALSE(Load("  Fa:string;1\r\nTA\r\n").ok);
  EXPECT_FALSE(Load("\r\n  Fa:string;1\r\n").ok);
  // Reading stops at the malformed line; the lines after it are not read.
  const Loaded stopped = Load("TA\r\n  Fa:integer;1\r\n  bad\r\nTB\r\n  Fb:integer;2\r\n");
  EXPECT_FALSE(stopped.ok);
  EXPECT_EQ(stopped.dump, "F TA() [Fa|integer|1|--]");
  // A class pending at the malformed line is still created.
  EXPECT_EQ(Load("TA\r\nTB\r\n  bad\r\n").dump, "T TA()\nT TB()");
}

TEST(Loader, IndentWidthDecidesWhichFieldLinesAreValid) {
  TVocabulary four;
  four.Indent = "    ";
  EXPECT_EQ(LoadOk("TA\r\n    Fa:string;1\r\n", four), "F TA() [Fa|string|1|--]");
  EXPECT_FALSE(Load(kSample, four).ok);
  EXPECT_FALSE(Load("TA\r\n     Fa:string;1\r\n", four).ok);
  TVocabulary zero;
  zero.Indent.clear();
  EXPECT_FALSE(Load("TA\r\n Fa:string;1\r\n", zero).ok);
  EXPECT_FALSE(Load("TA\r\nFa:string;1\r\n  Fb:string;2\r\n", zero).ok);
  EXPECT_EQ(LoadOk("TA\r\nFa:string;1\r\n", zero), "T TA()\nT Fa:string;1()");
}

TEST(Loader, LineEndsAndCtrlZ) {
  EXPECT_EQ(LoadOk("TA\n  Fa:integer;1\nTB"), "F TA() [Fa|integer|1|--]\nT TB()");
  EXPECT_EQ(LoadOk("TA\r\n  Fa:integer;1"), "F TA() [Fa|integer|1|--]");
  // A lone CR is dropped from the line.
  EXPECT_EQ(LoadOk("T\rA\r\n  Fa:int\reger;1\r\r\n"), "F TA() [Fa|integer|1|--]");
  // Ctrl-Z at the start of a later line ends the file.
  EXPECT_EQ(LoadOk("TA\r\n\x1a  bad\r\nTB\r\n"), "T TA()");
  // Elsewhere it ends its line; the next line is read.
  EXPECT_EQ(LoadOk("TA\x1a(TX)\r\n  Fa:integer;1\x1a junk\r\nTB\r\n"),
            "F TA() [Fa|integer|1|--]\nT TB()");
  // At the start of the first line it leaves that line empty.
  EXPECT_EQ(LoadOk("\x1aTA\r\nTB\r\n"), "T TB()");
  // Empty lines are skipped: they neither open a class nor end its fields.
  EXPECT_EQ(LoadOk("\r\nTA\r\n\r\n  Fa:integer;1\n\n  Fb:integer;2\r\n\r\n"),
            "F TA() [Fa|integer|1|--] [Fb|integer|2|--]");
  EXPECT_EQ(LoadOk(""), "");
  // No line length limit.
  const std::string longName = "T" + std::string(200'000, 'x');
  EXPECT_EQ(LoadOk(longName + "\r\n"), "T " + longName + "()");
}

TEST(Loader, ShiftJisBytesPassUnchanged) {
  // 0x83 0x5C (a katakana whose second byte is a backslash), 0x81 0x40
  // (the full-width space) and 0x81 0x46 (the full-width colon) contain no
  // ASCII delimiter.
  const std::string text =
      "T\x83\x5C(T\x81\x40)\r\n  F\x81\x46\x83\x5C:\x95\xB6\x8E\x9A;\x92\x6C\x81\x46\r\n";
  EXPECT_EQ(LoadOk(text),
            "F T\x83\x5C(T\x81\x40) [F\x81\x46\x83\x5C|\x95\xB6\x8E\x9A|\x92\x6C\x81\x46|--]");
}

TEST(Loader, KindsFollowTheNameAndTheFieldLines) {
  EXPECT_EQ(LoadOk("TA\r\nTB\r\n  Fb:integer;1\r\nTC"),
            "T TA()\nF TB() [Fb|integer|1|--]\nT TC()");
  // The INI controller gets its automatic fields before its own fields.
  EXPECT_EQ(LoadOk("TIniter\r\n  FPort:integer;80\r\n"),
            "I TIniter() [FFileName|string||-S] [FSection|string||-S] [FPort|integer|80|-S]");
  // Its name comes from the settings, and so do the automatic field names.
  TVocabulary renamed;
  renamed.cTIniter = "TConfig";
  renamed.cFileName = "FPath";
  renamed.cSection = "FPart";
  EXPECT_EQ(LoadOk("TIniter\r\n  Fa:integer;1\r\nTConfig\r\n", renamed),
            "F TIniter() [Fa|integer|1|--]\nI TConfig() [FPath|string||-S] [FPart|string||-S]");
}

TEST(Loader, IniSkipFlagFollowsTheFirstIniController) {
  EXPECT_EQ(LoadOk("TA\r\n  Fa:integer;1\r\nTIniter(TA)\r\n  Fi:integer;2\r\n"
                   "TB(TIniter)\r\n  Fb:integer;3\r\n"),
            "F TA() [Fa|integer|1|--]\n"
            "I TIniter(TA) [FFileName|string||-S] [FSection|string||-S] [Fi|integer|2|-S]\n"
            "F TB(TIniter) [Fb|integer|3|-S]");
  // The list's starting flag is honoured: every field skips the INI file.
  const TVocabulary vocabulary;
  TTyperList list(true, vocabulary);
  ASSERT_TRUE(list.LoadText("TA\r\n  Fa:integer;1\r\n"));
  EXPECT_EQ(Dump(list), "F TA() [Fa|integer|1|-S]");
}

// A field is redefined only when its class, or a class on its parent chain
// as defined before it, has a field of that name.
TEST(Loader, RedefinitionFollowsTheParentChain) {
  // Unrelated classes may share names.
  EXPECT_EQ(LoadOk("TA\r\n  Fx:integer;1\r\nTB\r\n  Fx:string;2\r\n  Fy:integer;3\r\n"
                   "  Fy:integer;4\r\n"),
            "F TA() [Fx|integer|1|--]\nF TB() [Fx|string|2|--] [Fy|integer|3|--] "
            "[Fy|integer|4|R-]");
  // Grandparents count, through classes without fields; letter case matters.
  EXPECT_EQ(LoadOk("TA\r\n  Fx:integer;1\r\nTB(TA)\r\nTC(TB)\r\n  Fx:integer;2\r\n"
                   "  FX:integer;3\r\n"),
            "F TA() [Fx|integer|1|--]\nT TB(TA)\nF TC(TB) [Fx|integer|2|R-] [FX|integer|3|--]");
  // A parent defined later in the file is no ancestor; of two classes of the
  // parent's name, the last one before the class is.
  EXPECT_EQ(LoadOk("TB(TA)\r\n  Fx:integer;1\r\nTA\r\n  Fx:integer;2\r\n"
                   "TA\r\n  Fy:integer;3\r\nTC(TA)\r\n  Fx:integer;4\r\n  Fy:integer;5\r\n"),
            "F TB(TA) [Fx|integer|1|--]\nF TA() [Fx|integer|2|--]\nF TA() [Fy|integer|3|--]\n"
            "F TC(TA) [Fx|integer|4|--] [Fy|integer|5|R-]");
  // An automatic field counts in the INI controller and in its descendants,
  // not in unrelated classes.
  EXPECT_EQ(LoadOk("TIniter\r\n  FFileName:string;a\r\nTB(TIniter)\r\n  FSection:string;b\r\n"
                   "TC\r\n  FSection:string;c\r\n"),
            "I TIniter() [FFileName|string||-S] [FSection|string||-S] [FFileName|string|a|RS]\n"
            "F TB(TIniter) [FSection|string|b|RS]\nF TC() [FSection|string|c|-S]");
}

// Siblings share a parent's name, not each other's; a name in another
// letter case is another field to the loader.
TEST(Loader, SiblingsAndOtherLetterCasesAreNoRedefinitions) {
  EXPECT_EQ(LoadOk("TB\n  Fv:integer;1\nTS1(TB)\n  Fv:integer;2\nTS2(TB)\n  Fv:integer;3\n"
                   "  FV:integer;4\n  fv:integer;5\n  FV:integer;6\n"),
            "F TB() [Fv|integer|1|--]\nF TS1(TB) [Fv|integer|2|R-]\nF TS2(TB) [Fv|integer|3|R-] "
            "[FV|integer|4|--] [fv|integer|5|--] [FV|integer|6|R-]");
}

TEST(Loader, TwoIniControllerClassesEachGetTheirAutomaticFields) {
  const TVocabulary vocabulary;
  TTyperList list(false, vocabulary);
  ASSERT_TRUE(list.LoadText("TIniter\r\nTIniter(TIniter)\r\n"));
  EXPECT_EQ(Dump(list),
            "I TIniter() [FFileName|string||-S] [FSection|string||-S]\n"
            "I TIniter(TIniter) [FFileName|string||-S] [FSection|string||-S]");
}

// Parents are the last class of their name before the class, also one of
// a text loaded before; a redefinition follows them there too.
TEST(Loader, ParentsAreTheLastClassOfTheirNameDefinedBefore) {
  const TVocabulary vocabulary;
  TTyperList list(false, vocabulary);
  ASSERT_TRUE(list.LoadText("TB(TA)\nTA\nTA\nTC(TA)\nTD(TC)\n  Fd:integer;1\n"));
  EXPECT_EQ(list.Item(0).ParentIndex(), TTyper::kNoParent);
  EXPECT_EQ(list.Item(3).ParentIndex(), 2u);
  EXPECT_EQ(list.Item(4).ParentIndex(), 3u);
  EXPECT_EQ(list.Item(4).LineNumber(), 5u);
  ASSERT_TRUE(list.LoadText("TE(TD)\n  Fd:integer;2\n"));
  EXPECT_EQ(list.Item(5).ParentIndex(), 4u);
  EXPECT_EQ(Dump(list).substr(Dump(list).rfind('\n') + 1), "F TE(TD) [Fd|integer|2|R-]");
}

// Many fields, names reused at random, in two texts: each a chain of classes,
// the second starting at an INI controller. A field is redefined exactly
// when an earlier class of its own chain had its name.
TEST(Loader, RedefinedFlagsHoldForManyFieldsAcrossChains) {
  const TVocabulary vocabulary;
  TTyperList list(false, vocabulary);
  std::vector<bool> redefined;  // expected, in field order
  std::uint32_t random = 12345;
  const auto text = [&](int classes, const std::string& first, const char* prefix) {
    std::set<std::string> seen;
    std::string t;
    for (int k = 0; k < classes; ++k) {
      const std::string name = k == 0 ? first : prefix + std::to_string(k);
      t.append(name);
      if (k == 1) t.append("(").append(first).append(")");
      if (k > 1) t.append("(").append(prefix).append(std::to_string(k - 1)).append(")");
      t.append("\n");
      if (name == "TIniter") {
        for (const char* automatic : {"FFileName", "FSection"}) {
          redefined.push_back(false);
          seen.insert(automatic);
        }
      }
      for (int j = 0; j < 50; ++j) {
        random = random * 1103515245u + 12345u;
        const std::string field = std::string("F").append(std::to_string((random >> 8) % 3000));
        t.append("  ").append(field).append(":integer;1\n");
        redefined.push_back(!seen.insert(field).second);
      }
    }
    return t;
  };
  ASSERT_TRUE(list.LoadText(text(40, "TA", "TC")));
  ASSERT_TRUE(list.LoadText(text(120, "TIniter", "TD")));
  std::vector<bool> flags;
  for (std::size_t i = 0; i < list.Count(); ++i)
    if (const auto* holder = dynamic_cast<const TFielderList*>(&list.Item(i)))
      for (const TFielder& f : holder->Fields()) flags.push_back(f.GetRedefined());
  EXPECT_EQ(flags, redefined);
}

// A chain 10,000 classes deep, one field each, all of one name but the
// last: each one walks one step to find its parent's field.
TEST(Loader, DeepChainsAreWalkedOnlyAsFarAsNeeded) {
  std::string t = "TC0\n  Fx:integer;1\n";
  for (int k = 1; k < 10000; ++k)
    t.append("TC").append(std::to_string(k)).append("(TC").append(std::to_string(k - 1))
        .append(")\n  ").append(k == 9999 ? "Fy" : "Fx").append(":integer;1\n");
  const TVocabulary vocabulary;
  TTyperList list(false, vocabulary);
  ASSERT_TRUE(list.LoadText(t));
  EXPECT_FALSE(static_cast<const TFielderList&>(list.Item(0)).Fields()[0].GetRedefined());
  EXPECT_TRUE(static_cast<const TFielderList&>(list.Item(9998)).Fields()[0].GetRedefined());
  EXPECT_FALSE(static_cast<const TFielderList&>(list.Item(9999)).Fields()[0].GetRedefined());
}

}  // namespace
