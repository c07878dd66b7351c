// The help screens, exactly as a user sees them.
#include <gtest/gtest.h>

#include "E2eSupport.h"

namespace {

using e2e::ReadFile;
using e2e::Sandbox;

std::string Golden(const std::string& name) {
  return ReadFile(std::string(TAMSEL_GOLDEN_DIR) + "/help/" + name + ".txt");
}

TEST(HelpScreens, EachSwitchPrintsItsScreenAndTouchesNoFile) {
  Sandbox box;
  const std::string shortHelp = Golden("short"), detailed = Golden("detailed");
  ASSERT_FALSE(shortHelp.empty());
  ASSERT_FALSE(detailed.empty());
  struct Case {
    std::vector<std::string> args;
    const std::string* expected;
  } cases[] = {
      {{"/?"}, &shortHelp},     {{"-?"}, &shortHelp},      {{"+?"}, &shortHelp},
      {{"/help"}, &shortHelp},  {{"-HELP"}, &shortHelp},   {{"+Help"}, &shortHelp},
      {{"help"}, &shortHelp},   {{"HELP"}, &shortHelp},    {{"?"}, &shortHelp},
      {{"/??"}, &detailed},     {{"-???"}, &detailed},     {{"+??x"}, &detailed},
      {{"??"}, &detailed},      {{"??foo"}, &detailed},
      // The first switch decides; the definition file is not read.
      {{"defs.txt", "-?"}, &shortHelp}, {{"missing.txt", "??"}, &detailed},
  };
  for (const Case& c : cases) {
    e2e::Result r = box.Run(c.args);
    EXPECT_EQ(r.exitCode, 0) << c.args.front();
    EXPECT_EQ(r.out, *c.expected) << c.args.front();
    EXPECT_EQ(r.err, "");
  }
  EXPECT_TRUE(box.Files().empty());
  EXPECT_FALSE(std::filesystem::exists(box.Ini()));
}

TEST(HelpScreens, UsualSwitchesPrintTheShortHelpOrTheBannerAlone) {
  Sandbox box;
  const std::string shortHelp = Golden("short"), banner = Golden("version");
  ASSERT_FALSE(banner.empty());
  // The banner alone is the usage screen's closing lines.
  ASSERT_EQ(Golden("usage").substr(Golden("usage").size() - banner.size()), banner);
  e2e::WriteFile(box.Path("defs.txt"), "TA\n  Fa:integer;1\n");
  struct Case {
    std::vector<std::string> args;
    const std::string* expected;
  } cases[] = {
      {{"--help"}, &shortHelp},          {{"-h"}, &shortHelp},
      {{"--version"}, &banner},
      // The first switch decides, wherever it stands; the definition file
      // is not read.
      {{"defs.txt", "--version"}, &banner}, {{"--version", "-?"}, &banner},
      {{"defs.txt", "-h", "--version"}, &shortHelp},
  };
  for (const Case& c : cases) {
    e2e::Result r = box.Run(c.args);
    EXPECT_EQ(r.exitCode, 0) << c.args.back();
    EXPECT_EQ(r.out, *c.expected) << c.args.back();
    EXPECT_EQ(r.err, "");
  }
  EXPECT_EQ(box.Files(), std::vector<std::string>{"defs.txt"});
  EXPECT_FALSE(std::filesystem::exists(box.Ini()));
  // Spelled otherwise, they are file names.
  for (std::string arg : {"--HELP", "-H", "--Version"}) {
    e2e::Result r = box.Run({arg});
    EXPECT_EQ(r.exitCode, 2) << arg;
    EXPECT_EQ(r.out, "指定のファイルがありません。\n") << arg;
  }
}

TEST(HelpScreens, NoArgumentPrintsTheUsageOnly) {
  Sandbox box;
  e2e::Result r = box.Run({});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, Golden("usage"));
  EXPECT_FALSE(std::filesystem::exists(box.Ini()));
}

TEST(HelpScreens, NearMissesAreTakenAsDefinitionFileNames) {
  Sandbox box;
  for (std::string arg : {"/H", "/?x", "helpme", "-?-"}) {
    e2e::Result r = box.Run({arg});
    EXPECT_EQ(r.exitCode, 2) << arg;
    EXPECT_EQ(r.out, "指定のファイルがありません。\n") << arg;
  }
}

TEST(HelpScreens, ARenamedExecutableSaysSoInTheBanner) {
  Sandbox box("gen");
  e2e::Result r = box.Run({});
  std::string expected = Golden("usage");
  // The usage line names the executable as it is called.
  expected.replace(expected.find("Tamsel 作成元"), 6, "gen");
  const std::string product = "version 1.0\n";
  expected.insert(expected.find(product) + product.size(), " ( \"gen\" is not original name )\n");
  EXPECT_EQ(r.out, expected);
}

TEST(HelpScreens, TheVersionOfARenamedExecutableSaysSo) {
  Sandbox box("gen");
  e2e::Result r = box.Run({"--version"});
  std::string expected = Golden("version");
  expected.insert(expected.find('\n') + 1, " ( \"gen\" is not original name )\n");
  EXPECT_EQ(r.out, expected);
}

TEST(HelpScreens, TheOriginalNameComparesWithoutLetterCase) {
  Sandbox box("TAMSEL");
  e2e::Result r = box.Run({"?"});
  EXPECT_EQ(r.out.find("is not original name"), std::string::npos);
  EXPECT_NE(r.out.find("TAMSEL 作成元ファイル名|[/?[?]]\n"), std::string::npos);
}

}  // namespace
