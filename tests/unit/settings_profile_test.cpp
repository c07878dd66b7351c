// Reading and updating settings text with the private-profile rules.
#include <gtest/gtest.h>

#include "settings/Tamsel_Common.h"

namespace {

std::string Lookup(std::string_view text, std::string_view section, std::string_view key) {
  std::string value;
  return ProfileLookup(text, section, key, value) ? value : "<missing>";
}

TEST(ProfileLookup, NamesCompareWithoutCaseAndBlanksAroundThemAreIgnored) {
  const std::string text =
      "; a comment line = not a key\r\n"
      "[Other]\r\n"
      "Tab=9\r\n"
      "  [ tamsel ]  \r\n"
      "\tTAB\t =  4 \r\n"
      "cSelf=Me\n"  // a lone LF ends a line too
      "UseUnit=\r\n"
      "cAll=\"Every\"\r\n"
      "cSuper='Up'\r\n"
      "cInitial=\"Init'\r\n"
      "cCheck=a;b = c\r\n"
      "noequals\r\n"
      "cSelf=Second";  // the first occurrence wins; no final line end
  EXPECT_EQ(Lookup(text, "Tamsel", "Tab"), "4");
  EXPECT_EQ(Lookup(text, "TAMSEL", "cself"), "Me");
  EXPECT_EQ(Lookup(text, "other", "tab"), "9");
  EXPECT_EQ(Lookup(text, "Tamsel", "UseUnit"), "");
  EXPECT_EQ(Lookup(text, "Tamsel", "cAll"), "Every");
  EXPECT_EQ(Lookup(text, "Tamsel", "cSuper"), "Up");
  EXPECT_EQ(Lookup(text, "Tamsel", "cInitial"), "\"Init'");  // quotes that do not match stay
  EXPECT_EQ(Lookup(text, "Tamsel", "cCheck"), "a;b = c");    // ";" inside a value is kept
  EXPECT_EQ(Lookup(text, "Tamsel", "noequals"), "<missing>");
  EXPECT_EQ(Lookup(text, "Tamsel", "cFileName"), "<missing>");
  EXPECT_EQ(Lookup(text, "Nowhere", "Tab"), "<missing>");
  EXPECT_EQ(Lookup("", "Tamsel", "Tab"), "<missing>");
}

TEST(ProfileLookup, StrayCarriageReturnsBeforeTheLineEndAreNoPartOfTheValue) {
  const std::string text = "[Tamsel]\r\nTab=4\r\r\ncSelf=Me\r";
  EXPECT_EQ(Lookup(text, "Tamsel", "Tab"), "4");
  EXPECT_EQ(Lookup(text, "Tamsel", "cSelf"), "Me");
  EXPECT_EQ(Lookup("[S]\r\nk=a\rb\r\n", "S", "k"), "a\rb");  // inside the value it stays
}

TEST(ProfileLookup, CommentsAndKeysOutsideTheSectionAreNotSeen) {
  const std::string text = "Tab=1\r\n[Tamsel]\r\n;Tab=2\r\n# Tab=3\r\n[Next]\r\nTab=4\r\n";
  EXPECT_EQ(Lookup(text, "Tamsel", "Tab"), "<missing>");
  EXPECT_EQ(Lookup(text, "Tamsel", ";Tab"), "<missing>");
}

TEST(ProfileLookup, OnlyTheFirstSectionOfANameIsUsed) {
  const std::string text = "[Tamsel]\r\nTab=1\r\n[X]\r\n[tamsel]\r\nTab=2\r\ncSelf=Me\r\n";
  EXPECT_EQ(Lookup(text, "Tamsel", "Tab"), "1");
  EXPECT_EQ(Lookup(text, "Tamsel", "cSelf"), "<missing>");
  // A new key goes to that first section too, so it reads back.
  const std::string updated = ProfileUpdate(text, "TAMSEL", "cSelf", "You");
  EXPECT_EQ(updated, "[Tamsel]\r\nTab=1\r\ncSelf=You\r\n[X]\r\n[tamsel]\r\nTab=2\r\ncSelf=Me\r\n");
  EXPECT_EQ(Lookup(updated, "Tamsel", "cSelf"), "You");
}

TEST(ProfileLookup, LongValuesAreCutTo2047Bytes) {
  const std::string value(5000, 'v');
  EXPECT_EQ(Lookup("[S]\r\nk=" + value + "\r\n", "S", "k"), std::string(2047, 'v'));
}

TEST(ProfileLookup, AByteOrderMarkDoesNotHideTheFirstSection) {
  EXPECT_EQ(Lookup("\xEF\xBB\xBF[Tamsel]\r\nTab=3\r\n", "Tamsel", "Tab"), "3");
}

TEST(ProfileUpdate, ReplacesAValueInPlaceAndKeepsEveryOtherByte) {
  const std::string before =
      "; settings\r\n[Tamsel]\r\n  tab = 3 \r\ncSelf=Me\n\r\n[Other]\r\nTab=9";
  EXPECT_EQ(ProfileUpdate(before, "TAMSEL", "Tab", "4"),
            "; settings\r\n[Tamsel]\r\ntab=4\r\ncSelf=Me\n\r\n[Other]\r\nTab=9");
}

TEST(ProfileUpdate, AppendsANewKeyAtTheEndOfItsSection) {
  // After the last line of the section that is not blank.
  const std::string before = "[Tamsel]\r\nTab=2\r\n; note\r\n\r\n[Other]\r\nx=1\r\n";
  EXPECT_EQ(ProfileUpdate(before, "Tamsel", "cSelf", "Me"),
            "[Tamsel]\r\nTab=2\r\n; note\r\ncSelf=Me\r\n\r\n[Other]\r\nx=1\r\n");
  // A section that ends the file without a final line end.
  EXPECT_EQ(ProfileUpdate("[Tamsel]\r\nTab=2", "Tamsel", "cAll", "All"),
            "[Tamsel]\r\nTab=2\r\ncAll=All\r\n");
  // A last line that ends in a lone CR keeps its text.
  EXPECT_EQ(ProfileUpdate("[Tamsel]\r\ncSelf=e\r", "Tamsel", "Tab", "7"),
            "[Tamsel]\r\ncSelf=e\r\nTab=7\r\n");
  // A section that holds nothing yet.
  EXPECT_EQ(ProfileUpdate("[Tamsel]\n[B]\n", "Tamsel", "k", "v"), "[Tamsel]\nk=v\r\n[B]\n");
}

TEST(ProfileUpdate, AppendsANewSectionAtTheEndOfTheFile) {
  EXPECT_EQ(ProfileUpdate("", "Tamsel", "Tab", "2"), "[Tamsel]\r\nTab=2\r\n");
  EXPECT_EQ(ProfileUpdate("[A]\r\nx=1", "Tamsel", "Tab", "2"), "[A]\r\nx=1\r\n[Tamsel]\r\nTab=2\r\n");
  EXPECT_EQ(ProfileUpdate("\xEF\xBB\xBF;c\n", "T", "k", ""), "\xEF\xBB\xBF;c\n[T]\r\nk=\r\n");
}

TEST(ProfileUpdate, UpdatesTheFirstOccurrenceOfADuplicateKey) {
  EXPECT_EQ(ProfileUpdate("[S]\r\nk=1\r\nk=2\r\n", "S", "K", "3"), "[S]\r\nk=3\r\nk=2\r\n");
}

TEST(ProfileUpdate, KeepsAByteOrderMarkInFrontOfTheFirstLine) {
  EXPECT_EQ(ProfileUpdate("\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "2"), "\xEF\xBB\xBF[S]\r\nk=2\r\n");
  EXPECT_EQ(ProfileUpdate("\xEF\xBB\xBF[S]", "S", "k", "2"), "\xEF\xBB\xBF[S]\r\nk=2\r\n");
}

}  // namespace
