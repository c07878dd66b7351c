// Generation runs as a user starts them: messages, exit codes, the unit's
// frame, the settings file, and the files left behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "../UnwritableFile.h"
#include "E2eSupport.h"

namespace {

namespace fs = std::filesystem;
using e2e::ReadFile;
using e2e::Sandbox;
using e2e::WriteFile;

using e2e::kPasMessage;
using e2e::kMissingMessage;

const std::string kDefaultSettings =
    "[Tamsel]\r\nTab=2\r\nUseUnit=Tamsel_common\r\ncTIniter=TIniter\r\ncCheck=Check\r\n"
    "cAll=All\r\ncSelf=Self\r\ncFileName=FFileName\r\ncSection=FSection\r\ncIniRead=iniRead\r\n"
    "cIniWrite=iniWrite\r\ncInitial=Initial\r\ncTIniFileMine=TIniFileMine\r\ncSuper=Super\r\n";

// The unit of a definition without classes.
std::string EmptyUnit(const std::string& name, const std::string& uses = "  Tamsel_common,\r\n",
                      const std::string& indent = "  ") {
  return "unit " + name + ";\r\ninterface\r\nuses\r\n" + indent + "SysUtils,\r\n" + uses + indent +
         "IniFiles;\r\ntype\r\nvar\r\n\r\nimplementation\r\nend.\r\n";
}

timespec ModifiedAt(const fs::path& p) {
  struct stat st {};
  stat(p.c_str(), &st);
  return st.st_mtim;
}

TEST(Run, ArgumentErrorsPrintTheirMessageAndTouchNothing) {
  Sandbox box;
  WriteFile(box.Path("A.pas"), "keep");
  struct Case {
    std::string arg;
    std::string message;
  } cases[] = {
      {"A.pas", kPasMessage},          // refused even though it exists
      {"dir/none.pas", kPasMessage},   // the extension is tested first
      {"none.txt", kMissingMessage},
      {".", kMissingMessage},          // a folder is no definition file
  };
  for (const Case& c : cases) {
    e2e::Result r = box.Run({c.arg});
    EXPECT_EQ(r.exitCode, 2) << c.arg;
    EXPECT_EQ(r.out, c.message) << c.arg;
    EXPECT_EQ(r.err, "") << c.arg;
  }
  EXPECT_EQ(ReadFile(box.Path("A.pas")), "keep");
  EXPECT_EQ(box.Files(), std::vector<std::string>{"A.pas"});
  EXPECT_FALSE(fs::exists(box.Ini()));
}

TEST(Run, TheExtensionTestIsCaseSensitive) {
  Sandbox box;
  WriteFile(box.Path("A.Pas"), "");
  e2e::Result r = box.Run({"A.Pas"});
  EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
  EXPECT_EQ(ReadFile(box.Path("A.pas")), EmptyUnit("A"));
}

TEST(Run, AFirstRunWritesTheFrameAndCreatesTheCompleteSettingsFile) {
  Sandbox box;
  WriteFile(box.Path("defs"), "");
  e2e::Result r = box.Run({"defs"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(e2e::Reports(r.err), "");  // an empty definition gets its Warning
  EXPECT_EQ(ReadFile(box.Path("defs.pas")), EmptyUnit("defs"));
  EXPECT_EQ(ReadFile(box.Ini()), kDefaultSettings);
  EXPECT_EQ(box.Files(), (std::vector<std::string>{"defs", "defs.pas"}));
}

TEST(Run, TheUnitIsNamedAfterTheFileAndWrittenBesideIt) {
  Sandbox box;
  fs::create_directory(box.Path("sub.d"));
  WriteFile(box.Path("sub.d/my.defs.txt"), "");
  e2e::Result r = box.Run({"sub.d/my.defs.txt"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(ReadFile(box.Path("sub.d/my.defs.pas")), EmptyUnit("my.defs"));
}

TEST(Run, AnUnchangedSettingsFileIsLeftUntouched) {
  Sandbox box;
  WriteFile(box.Path("d.txt"), "");
  WriteFile(box.Ini(), kDefaultSettings);
  const timespec before = ModifiedAt(box.Ini());
  const ino_t inode = fs::status(box.Ini()).type() == fs::file_type::regular ? [&] {
    struct stat st {};
    stat(box.Ini().c_str(), &st);
    return st.st_ino;
  }() : 0;
  EXPECT_EQ(box.Run({"d.txt"}).exitCode, 0);
  struct stat st {};
  stat(box.Ini().c_str(), &st);
  EXPECT_EQ(ReadFile(box.Ini()), kDefaultSettings);
  EXPECT_EQ(st.st_ino, inode);
  EXPECT_EQ(ModifiedAt(box.Ini()).tv_sec, before.tv_sec);
  EXPECT_EQ(ModifiedAt(box.Ini()).tv_nsec, before.tv_nsec);
}

TEST(Run, SettingsShapeTheFrameAndMissingKeysAreAddedKeepingTheRest) {
  Sandbox box;
  WriteFile(box.Path("d.txt"), "");
  const std::string user = "; my settings\r\n[Other]\r\nx=1\r\n[TAMSEL]\r\n  tab = 4\r\nUseUnit=\r\nextra=kept";
  WriteFile(box.Ini(), user);
  e2e::Result r = box.Run({"d.txt"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ReadFile(box.Path("d.pas")), EmptyUnit("d", "", "    "));
  EXPECT_EQ(ReadFile(box.Ini()),
            user + "\r\ncTIniter=TIniter\r\ncCheck=Check\r\ncAll=All\r\ncSelf=Self\r\n"
                   "cFileName=FFileName\r\ncSection=FSection\r\ncIniRead=iniRead\r\n"
                   "cIniWrite=iniWrite\r\ncInitial=Initial\r\ncTIniFileMine=TIniFileMine\r\n"
                   "cSuper=Super\r\n");
}

TEST(Run, TheConstantsFileIsCopiedAfterTheTypeSection) {
  Sandbox box;
  WriteFile(box.Path("d.txt"), "");
  WriteFile(box.Path("d.const"), "const\r\n  cMax = 10;\n\r\n  cName = 'x';");
  EXPECT_EQ(box.Run({"d.txt"}).exitCode, 0);
  std::string expected = EmptyUnit("d");
  expected.insert(expected.find("\r\nimplementation"),
                  "\r\nconst\r\n  cMax = 10;\r\n\r\n  cName = 'x';\r\n");
  EXPECT_EQ(ReadFile(box.Path("d.pas")), expected);

  // An empty constants file still gives one empty line.
  WriteFile(box.Path("d.const"), "");
  EXPECT_EQ(box.Run({"d.txt"}).exitCode, 0);
  expected = EmptyUnit("d");
  expected.insert(expected.find("\r\nimplementation"), "\r\n\r\n");
  EXPECT_EQ(ReadFile(box.Path("d.pas")), expected);
}

TEST(Run, AnExistingUnitIsReplacedWithItsModeKept) {
  Sandbox box;
  WriteFile(box.Path("d.txt"), "");
  WriteFile(box.Path("d.pas"), "old");
  chmod(box.Path("d.pas").c_str(), 0604);
  EXPECT_EQ(box.Run({"d.txt"}).exitCode, 0);
  EXPECT_EQ(ReadFile(box.Path("d.pas")), EmptyUnit("d"));
  EXPECT_EQ(static_cast<unsigned>(fs::status(box.Path("d.pas")).permissions()), 0604u);
  // A new unit gets the mode of any new file, not a temporary file's.
  WriteFile(box.Path("e.txt"), "");
  EXPECT_EQ(box.Run({"e.txt"}).exitCode, 0);
  EXPECT_EQ(static_cast<unsigned>(fs::status(box.Path("e.pas")).permissions()),
            static_cast<unsigned>(fs::status(box.Path("e.txt")).permissions()));
}

TEST(Run, AUnitReachedThroughALinkIsWrittenWhereTheLinkLeads) {
  Sandbox box;
  WriteFile(box.Path("d.txt"), "");
  fs::create_directory(box.Path("out"));
  WriteFile(box.Path("out/real.pas"), "old");
  fs::create_symlink("out/real.pas", box.Path("d.pas"));
  EXPECT_EQ(box.Run({"d.txt"}).exitCode, 0);
  EXPECT_TRUE(fs::is_symlink(box.Path("d.pas")));
  EXPECT_EQ(ReadFile(box.Path("out/real.pas")), EmptyUnit("d"));
  EXPECT_EQ(box.Files(), (std::vector<std::string>{"d.pas", "d.txt", "out"}));
  EXPECT_EQ(std::distance(fs::directory_iterator(box.Path("out")), fs::directory_iterator()), 1);
}

TEST(Run, LongFileNamesNeedNoLongerTemporaryNames) {
  Sandbox box;
  const std::string stem(250, 'a');
  WriteFile(box.Path(stem + ".txt"), "");
  e2e::Result r = box.Run({stem + ".txt"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ReadFile(box.Path(stem + ".pas")), EmptyUnit(stem));
}

TEST(Run, ASettingsFileThatCannotBeWrittenFailsAndKeepsTheUnit) {
  Sandbox box;
  WriteFile(box.Path("d.txt"), "");
  WriteFile(box.Path("d.pas"), "old unit");
  WriteFile(box.Ini(), "[Tamsel]\r\n");  // every key missing
  testing_support::UnwritableFile locked(box.Ini());
  if (!locked.Ok()) GTEST_SKIP() << "the file system keeps no immutable flag";
  e2e::Result r = box.Run({"d.txt"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(e2e::Reports(r.err), box.Ini().string() + " に書き込めません: " + locked.Reason() + "\n");
  EXPECT_EQ(ReadFile(box.Path("d.pas")), "old unit");
  EXPECT_EQ(box.Files(), (std::vector<std::string>{"d.pas", "d.txt"}));
}

// A write that fails (here the file outgrows the size limit for the process)
// fails the run, leaves nothing of the new unit, and stops the run before
// the settings file is written: also when it is the last block, written
// only when generation ends.
TEST(Run, AUnitThatCannotBeWrittenWhollyFailsAndKeepsTheOldOne) {
  Sandbox box;
  std::string definition;
  for (int k = 0; k < 100; ++k) {
    definition.append("TC").append(std::to_string(k)).append("\n");
    for (int j = 0; j < 100; ++j)
      definition.append("  F").append(std::to_string(k * 100 + j)).append(":integer;1\n");
  }
  WriteFile(box.Path("d.txt"), definition);
  ASSERT_EQ(box.Run({"d.txt"}).exitCode, 0);
  const std::uintmax_t size = fs::file_size(box.Path("d.pas"));  // some 5 MB
  ASSERT_GT(size, 5000000u);
  fs::remove(box.Ini());
  WriteFile(box.Path("d.pas"), "old unit");
  for (const std::uintmax_t limit : {std::uintmax_t{3000000}, size - 1000}) {
    e2e::Result r = box.Run({"d.txt"}, "LC_ALL=C prlimit --fsize=" + std::to_string(limit));
    EXPECT_EQ(r.exitCode, 1) << limit;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(e2e::Reports(r.err), "d.pas に書き込めません: File too large\n");
    EXPECT_EQ(ReadFile(box.Path("d.pas")), "old unit");
    EXPECT_EQ(box.Files(), (std::vector<std::string>{"d.pas", "d.txt"}));
    EXPECT_FALSE(fs::exists(box.Ini())) << limit;
  }
}

TEST(Run, ATabWiderThan64IsRefusedBeforeAnythingIsWritten) {
  Sandbox box;
  WriteFile(box.Path("d.txt"), "");
  WriteFile(box.Path("d.pas"), "old unit");
  const std::string settings = "[Tamsel]\r\nTab=65\r\n";
  WriteFile(box.Ini(), settings);
  e2e::Result r = box.Run({"d.txt"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find(box.Ini().string()), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Tab"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(box.Ini()), settings);
  EXPECT_EQ(ReadFile(box.Path("d.pas")), "old unit");
  EXPECT_EQ(box.Files(), (std::vector<std::string>{"d.pas", "d.txt"}));

  WriteFile(box.Ini(), "[Tamsel]\r\nTab=64\r\n");
  EXPECT_EQ(box.Run({"d.txt"}).exitCode, 0);
}

TEST(Run, AUnitThatCannotBeCreatedFailsAndLeavesNothingBehind) {
  Sandbox box;
  WriteFile(box.Path("d.txt"), "");
  fs::create_directory(box.Path("d.pas"));  // the unit's name is taken by a folder
  e2e::Result r = box.Run({"d.txt"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("d.pas"), std::string::npos) << r.err;
  EXPECT_EQ(box.Files(), (std::vector<std::string>{"d.pas", "d.txt"}));
  EXPECT_TRUE(fs::is_empty(box.Path("d.pas")));

  if (geteuid() != 0) {  // root writes into any folder
    fs::create_directory(box.Path("ro"));
    WriteFile(box.Path("ro/d.txt"), "");
    chmod(box.Path("ro").c_str(), 0555);
    r = box.Run({"ro/d.txt"});
    chmod(box.Path("ro").c_str(), 0755);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("ro/d.pas"), std::string::npos) << r.err;
    EXPECT_EQ(fs::directory_iterator(box.Path("ro"))->path().filename(), "d.txt");
  }
}

TEST(Run, TheDefinitionFileIsNeverItsOwnUnit) {
  Sandbox box;
  const std::string definition = "TOption\r\n";
  WriteFile(box.Path("real.pas"), definition);
  fs::create_symlink("real.pas", box.Path("link.txt"));
  fs::create_hard_link(box.Path("real.pas"), box.Path("real.txt"));
  // "link.txt" and "real.txt" lead to "real.pas"; their units are "link.pas"
  // and "real.pas", and "real.pas" is the definition file itself.
  e2e::Result r = box.Run({"real.txt"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.out, kPasMessage);
  EXPECT_EQ(ReadFile(box.Path("real.pas")), definition);
  EXPECT_FALSE(fs::exists(box.Ini()));

  fs::create_symlink("real.pas", box.Path("self.txt"));
  fs::create_symlink("real.pas", box.Path("self.pas"));
  r = box.Run({"self.txt"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(ReadFile(box.Path("real.pas")), definition);
  EXPECT_TRUE(fs::is_symlink(box.Path("self.pas")));
}

TEST(Run, MessagesFollowTheLocaleCharacterSet) {
  Sandbox box;
  // Build a Shift-JIS locale in the sandbox; skip where the sources are missing.
  const std::string locales = box.Path("locales").string();
  fs::create_directory(locales);
  std::string cmd = "localedef -c -i ja_JP -f SHIFT_JIS " + e2e::Quote(locales + "/ja_JP.SJIS") +
                    " >/dev/null 2>&1";
  // localedef warns that Shift-JIS is not ASCII-compatible and exits non-zero
  // even though it built the locale: only the locale's presence tells.
  const int ignored = std::system(cmd.c_str());
  (void)ignored;
  if (!fs::exists(locales + "/ja_JP.SJIS"))
    GTEST_SKIP() << "no Shift-JIS locale can be built here (package locales)";
  e2e::Result r = box.Run({"none.txt"}, "LOCPATH=" + e2e::Quote(locales) + " LC_ALL=ja_JP.SJIS");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.out, "\x8E\x77\x92\xE8\x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA\x82\xA0\x82"
                   "\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42\n");
  // UTF-8 in a UTF-8 locale, as in the C locale.
  EXPECT_EQ(box.Run({"none.txt"}, "LC_ALL=C.UTF-8").out, kMissingMessage);
}

}  // namespace
