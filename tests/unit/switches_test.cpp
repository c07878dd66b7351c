#include <gtest/gtest.h>

#include "app/Switches.h"

namespace {

TEST(ClassifySwitches, CodesForEachSwitchAndForNone) {
  using Args = std::vector<std::string>;
  struct Case {
    Args args;
    int code;
  } cases[] = {
      {{}, 9},
      {{"defs.txt"}, 0},         {{"defs.txt", "more"}, 0},
      {{"/help"}, 1},            {{"-HeLp"}, 1},           {{"+HELP"}, 1},
      {{"/?"}, 2},               {{"-?"}, 2},              {{"+?"}, 2},
      {{"/??"}, 3},              {{"-???"}, 3},            {{"+??x"}, 3},
      {{"help"}, 6},             {{"Help"}, 6},
      {{"?"}, 7},
      {{"??"}, 8},               {{"??foo"}, 8},
      {{"/H"}, 0},               {{"/?x"}, 0},             {{"?x"}, 0},
      {{"*help"}, 0},            {{"helpme"}, 0},          {{""}, 0},
      {{"--help"}, 1},           {{"-h"}, 1},              {{"--version"}, kVersionSwitch},
      {{"--HELP"}, 0},           {{"-H"}, 0},              {{"--Version"}, 0},
      {{"--help=x"}, 0},         {{"-version"}, 0},        {{"--"}, 0},
      // The first argument that is a switch decides.
      {{"defs.txt", "/?"}, 2},   {{"help", "/??"}, 6},     {{"x", "??", "?"}, 8},
      {{"x", "--version", "-?"}, kVersionSwitch},          {{"-h", "--version"}, 1},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const auto& a : c.args) shown += "[" + a + "]";
    EXPECT_EQ(ClassifySwitches(c.args), c.code) << shown;
  }
}

}  // namespace
