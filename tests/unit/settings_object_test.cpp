// The settings object: defaults, loading, storing only what differs.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "../UnwritableFile.h"
#include "platform/Platform.h"
#include "settings/Tamsel_Common.h"
#include "settings/Tamsel_ini.h"

namespace {

namespace fs = std::filesystem;

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "tamsel-settings-XXXXXX").string();
    dir_ = mkdtemp(tmpl.data());
    exe_ = (dir_ / "Tamsel").string();
    ini_ = (dir_ / "Tamsel.ini").string();
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }
  std::string Read() const {
    std::ifstream in(ini_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void Write(const std::string& text) const { std::ofstream(ini_, std::ios::binary) << text; }

  fs::path dir_;
  std::string exe_, ini_;
};

constexpr const char* kCompleteFile =
    "[Tamsel]\r\nTab=2\r\nUseUnit=Tamsel_common\r\ncTIniter=TIniter\r\ncCheck=Check\r\n"
    "cAll=All\r\ncSelf=Self\r\ncFileName=FFileName\r\ncSection=FSection\r\ncIniRead=iniRead\r\n"
    "cIniWrite=iniWrite\r\ncInitial=Initial\r\ncTIniFileMine=TIniFileMine\r\ncSuper=Super\r\n";

TEST_F(SettingsTest, FileAndSectionFollowTheExecutable) {
  TIniter settings(exe_);
  EXPECT_EQ(settings.GetFileName(), ini_);
  EXPECT_EQ(settings.GetSection(), "Tamsel");
  TIniter renamed((dir_ / "gen.bin").string());
  EXPECT_EQ(renamed.GetFileName(), (dir_ / "gen.ini").string());
  EXPECT_EQ(renamed.GetSection(), "gen");
}

TEST_F(SettingsTest, AMissingFileGivesTheDefaultsAndTheStoreWritesThemAllInOrder) {
  TIniter settings(exe_);
  EXPECT_EQ(settings.Values().Tab, 2);
  EXPECT_EQ(settings.Values().UseUnit, "Tamsel_common");
  EXPECT_EQ(settings.Values().cTIniFileMine, "TIniFileMine");
  EXPECT_FALSE(fs::exists(ini_));
  settings.iniWrite();
  EXPECT_EQ(Read(), kCompleteFile);
}

TEST_F(SettingsTest, StoredValuesAreLoadedAndAnUnchangedFileIsNotRewritten) {
  Write("[tamsel]\r\ncSelf = Me\r\nTab=0x4\r\nUseUnit=\r\n");
  TIniter settings(exe_);
  EXPECT_EQ(settings.Values().cSelf, "Me");
  EXPECT_EQ(settings.Values().Tab, 4);
  EXPECT_EQ(settings.Values().UseUnit, "");
  const TVocabulary v = TVocabulary::FromSettings(settings);
  EXPECT_EQ(v.Indent, "    ");
  EXPECT_EQ(v.cSelf, "Me");
  EXPECT_EQ(v.cInitial, "Initial");

  // The missing keys are added; the stored ones keep their spelling.
  settings.iniWrite();
  const std::string stored = Read();
  EXPECT_EQ(stored,
            "[tamsel]\r\ncSelf = Me\r\nTab=0x4\r\nUseUnit=\r\ncTIniter=TIniter\r\ncCheck=Check\r\n"
            "cAll=All\r\ncFileName=FFileName\r\ncSection=FSection\r\ncIniRead=iniRead\r\n"
            "cIniWrite=iniWrite\r\ncInitial=Initial\r\ncTIniFileMine=TIniFileMine\r\ncSuper=Super\r\n");

  // Everything present and equal: the file is left alone.
  struct stat before;
  ASSERT_EQ(stat(ini_.c_str(), &before), 0);
  chmod(dir_.c_str(), 0500);  // a write would now fail
  TIniter again(exe_);
  EXPECT_NO_THROW(again.iniWrite());
  chmod(dir_.c_str(), 0700);
  EXPECT_EQ(Read(), stored);
  struct stat after;
  ASSERT_EQ(stat(ini_.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);  // a rewrite would have replaced the file
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

// Each key must reach its own value: a key wired to the wrong setting would
// still round-trip through the file but give the emitters the wrong name.
TEST_F(SettingsTest, EveryKeyLoadsIntoItsOwnSetting) {
  Write("[Tamsel]\r\nTab=7\r\nUseUnit=u\r\ncTIniter=n\r\ncCheck=k\r\ncAll=a\r\ncSelf=s\r\n"
        "cFileName=f\r\ncSection=c\r\ncIniRead=r\r\ncIniWrite=w\r\ncInitial=i\r\n"
        "cTIniFileMine=m\r\ncSuper=p\r\n");
  TIniter settings(exe_);
  const TVocabulary v = TVocabulary::FromSettings(settings);
  EXPECT_EQ(v.Indent, "       ");
  EXPECT_EQ(v.UseUnit + v.cTIniter + v.cCheck + v.cAll + v.cSelf + v.cFileName + v.cSection +
                v.cIniRead + v.cIniWrite + v.cInitial + v.cTIniFileMine + v.cSuper,
            "unkasfcrwimp");
  const std::string before = Read();
  settings.iniWrite();
  EXPECT_EQ(Read(), before);
}

TEST_F(SettingsTest, TabValuesThatAreNoIntegerGiveTheDefault) {
  for (const char* text : {"abc", "2147483648", "", "1.5"}) {
    Write(std::string("[Tamsel]\r\nTab=") + text + "\r\n");
    TIniter settings(exe_);
    EXPECT_EQ(settings.Values().Tab, 2) << text;
  }
  Write("[Tamsel]\r\nTab=-1\r\n");
  TIniter negative(exe_);
  EXPECT_EQ(TVocabulary::FromSettings(negative).Indent, "");
}

TEST_F(SettingsTest, AFileThatCannotBeWrittenRaisesTheWriteErrorWithItsReason) {
  Write("[Tamsel]\r\n");
  testing_support::UnwritableFile locked(ini_);
  if (!locked.Ok()) GTEST_SKIP() << "the file system keeps no immutable flag";
  TIniter settings(exe_);
  try {
    settings.iniWrite();
    FAIL() << "no error";
  } catch (const platform::IoError& e) {
    EXPECT_EQ(std::string(e.what()), ini_ + " に書き込めません: " + locked.Reason());
  }
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"Tamsel.ini"});  // no temporary file left
}

// A settings file is only ever written, even when its temporary file cannot be made.
TEST_F(SettingsTest, EveryFailureToStoreIsAWriteError) {
  const std::string nowhere = (dir_ / "none" / "Tamsel.ini").string();
  TIniFileMine ini(nowhere);
  ini.WriteInteger("S", "n", 1);
  try {
    ini.UpdateFile();
    FAIL() << "no error";
  } catch (const platform::IoError& e) {
    EXPECT_EQ(std::string(e.what()), nowhere + " に書き込めません: " + std::strerror(ENOENT));
  }
  TIniFileMine fromText = TIniFileMine::FromText("[S]\r\n");  // no file to write to
  fromText.WriteInteger("S", "n", 1);
  EXPECT_THROW(fromText.UpdateFile(), platform::IoError);
  EXPECT_EQ(fromText.ReadInteger("S", "n", 0), 1);
}

TEST_F(SettingsTest, CheckWriteWritesOnlyWhatDiffers) {
  Write("[S]\r\ns=same\r\nn=5\r\n");
  TIniFileMine ini(ini_);
  ini.CheckWriteString("S", "s", "same");
  ini.CheckWriteInteger("S", "n", 5);
  ini.UpdateFile();
  EXPECT_EQ(Read(), "[S]\r\ns=same\r\nn=5\r\n");
  ini.CheckWriteString("S", "s", "other");
  ini.CheckWriteInteger("S", "n", 2147483647);  // its "different" default wraps around
  ini.CheckWriteString("S", "e", "");
  ini.UpdateFile();
  EXPECT_EQ(Read(), "[S]\r\ns=other\r\nn=2147483647\r\ne=\r\n");
}

TEST_F(SettingsTest, AFileThatCannotBeReadIsNeverReplaced) {
  const std::string text = "; mine\r\n[Tamsel]\r\nTab=4\r\n";
  Write(text);
  // Readable by nobody but root: act as an ordinary user when we are root.
  struct AsNobody {
    bool active = geteuid() == 0;
    AsNobody(const fs::path& dir, const std::string& file) {
      if (!active) return;
      chmod(dir.c_str(), 0777);
      EXPECT_EQ(chown(file.c_str(), 65534, 65534), 0);
      EXPECT_EQ(seteuid(65534), 0);
    }
    ~AsNobody() {
      if (active) {
        EXPECT_EQ(seteuid(0), 0);
      }
    }
  };
  {
    AsNobody nobody(dir_, ini_);
    ASSERT_EQ(chmod(ini_.c_str(), 0200), 0);
    TIniFileMine ini(ini_);
    EXPECT_EQ(ini.ReadInteger("Tamsel", "Tab", 2), 2);  // unreadable reads as missing
    ini.WriteInteger("Tamsel", "Tab", 2);
    EXPECT_THROW(ini.UpdateFile(), platform::IoError);
    TIniFileMine missingKey(ini_);
    missingKey.CheckWriteString("Tamsel", "cSelf", "Self");
    EXPECT_THROW(missingKey.UpdateFile(), platform::IoError);
    TIniter settings(exe_);  // reads the defaults, then must not store them over the file
    EXPECT_EQ(settings.Values().Tab, 2);
    EXPECT_THROW(settings.iniWrite(), platform::IoError);
    chmod(ini_.c_str(), 0600);
  }
  EXPECT_EQ(Read(), text);
}

TEST_F(SettingsTest, AReplacedFileKeepsItsMode) {
  Write("[S]\r\nk=1\r\n");
  chmod(ini_.c_str(), 0640);
  TIniFileMine ini(ini_);
  ini.WriteString("S", "k", "2");
  ini.UpdateFile();
  struct stat st;
  ASSERT_EQ(stat(ini_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

}  // namespace
