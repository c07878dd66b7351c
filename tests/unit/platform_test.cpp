// Files, file names and console text.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "platform/Paths.h"
#include "platform/Platform.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder for tests that touch the disk.
class PlatformFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "tamsel-platform-XXXXXX").string();
    dir_ = mkdtemp(tmpl.data());
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(PlatformFiles, ReadRegularFileReadsEveryByteOrSaysWhyNot) {
  std::string bytes;
  for (int i = 0; bytes.size() < (std::size_t{3} << 20); ++i)
    bytes += "TC" + std::to_string(i) + "\r\n  F" + std::to_string(i) + ":string;\x1a\r\n";
  Write(Path("big"), bytes);
  std::string read = "left over";
  EXPECT_TRUE(platform::ReadRegularFile(Path("big"), read).Ok());
  EXPECT_TRUE(read == bytes);

  fs::create_directory(Path("folder"));
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);  // would block a plain open
  fs::create_symlink("nowhere", Path("dangling"));
  Write(Path("locked"), "x");
  fs::permissions(Path("locked"), fs::perms::none);
  struct Case {
    const char* name;
    platform::ReadStatus outcome;
    int error;
  } cases[] = {{"missing", platform::ReadStatus::kMissing, ENOENT},
               {"folder", platform::ReadStatus::kNotRegular, EISDIR},
               {"fifo", platform::ReadStatus::kNotRegular, EINVAL},
               {"dangling", platform::ReadStatus::kFailed, ENOENT},  // something is there
               {"locked", platform::ReadStatus::kFailed, EACCES}};
  for (const Case& c : cases) {
    if (c.error == EACCES && geteuid() == 0) continue;  // root reads anything
    read = "left over";
    const platform::ReadResult result = platform::ReadRegularFile(Path(c.name), read);
    EXPECT_EQ(result.outcome, c.outcome) << c.name;
    EXPECT_FALSE(result.Ok()) << c.name;
    EXPECT_EQ(result.status.Text(), std::strerror(c.error)) << c.name;
    EXPECT_EQ(read, "") << c.name;
  }
}

TEST_F(PlatformFiles, KindOfFollowsLinks) {
  Write(Path("file"), "x");
  fs::create_directory(Path("folder"));
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
  fs::create_symlink("file", Path("link"));
  fs::create_symlink("nowhere", Path("dangling"));
  using K = platform::PathKind;
  const std::pair<std::string, K> cases[] = {
      {Path("file"), K::kRegular},  {Path("link"), K::kRegular},     {Path("missing"), K::kMissing},
      {Path("dangling"), K::kMissing}, {Path("folder"), K::kOther}, {Path("fifo"), K::kOther},
      {"/dev/null", K::kOther},     {Path("file/below"), K::kMissing}};
  for (const auto& [path, kind] : cases) EXPECT_EQ(platform::KindOf(path), kind) << path;
}

TEST_F(PlatformFiles, AReplacementFileReplacesItsTargetOnlyOnCommit) {
  const std::string target = Path("d.pas");
  Write(target, "old");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  {
    platform::ReplacementFile file(target);
    file.Write("never");
  }
  EXPECT_EQ(Read(target), "old");
  EXPECT_EQ(Names(), std::vector<std::string>{"d.pas"});
  {
    platform::ReplacementFile file(target);
    file.Write("new ");
    file.Write(std::string(100000, 'x'));
    EXPECT_EQ(Read(target), "old");
    file.Commit();
  }
  EXPECT_TRUE(Read(target) == "new " + std::string(100000, 'x'));
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(Names(), std::vector<std::string>{"d.pas"});

  // Through a link, the file it leads to is replaced and the link stays.
  fs::create_directory(Path("out"));
  fs::create_symlink("../d.pas", Path("out/link.pas"));
  platform::ReplacementFile linked(Path("out/link.pas"));
  linked.Write("linked");
  linked.Commit();
  EXPECT_TRUE(fs::is_symlink(Path("out/link.pas")));
  EXPECT_EQ(Read(target), "linked");
  EXPECT_EQ(Names(), (std::vector<std::string>{"d.pas", "out"}));
}

TEST_F(PlatformFiles, AReplacementFileRefusesWhatItMayNotReplace) {
  const auto message = [](const std::string& path, platform::FileFailure failure) {
    try {
      platform::ReplacementFile file(path, failure);
    } catch (const platform::IoError& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  fs::create_directory(Path("folder"));
  EXPECT_EQ(message(Path("folder"), platform::FileFailure::kCreate), Path("folder") + " は通常のファイルではありません");
  // A failure to make the temporary file is reported as the caller says.
  EXPECT_EQ(message(Path("none/d.pas"), platform::FileFailure::kCreate),
            Path("none/d.pas") + " を作成できません: " + std::strerror(ENOENT));
  EXPECT_EQ(message(Path("none/s.ini"), platform::FileFailure::kWrite),
            Path("none/s.ini") + " に書き込めません: " + std::strerror(ENOENT));
  if (geteuid() != 0) {  // root may write anything
    Write(Path("ro.pas"), "old");
    fs::permissions(Path("ro.pas"), fs::perms::owner_read);
    EXPECT_EQ(message(Path("ro.pas"), platform::FileFailure::kCreate),
              Path("ro.pas") + " に書き込めません: " + std::strerror(EACCES));
  }
  EXPECT_EQ(Names().front(), "folder");  // and nothing was left beside it
  EXPECT_EQ(Names().size(), geteuid() != 0 ? 2u : 1u);
}

TEST_F(PlatformFiles, ACommitRefusesATargetThatBecameAFolderAndLeavesNothing) {
  const std::string target = Path("d.pas");
  Write(target, "old");
  platform::ReplacementFile file(target);
  file.Write("new");
  fs::remove(target);
  fs::create_directory(target);
  std::string message = "no error";
  try {
    file.Commit();
  } catch (const platform::IoError& e) {
    message = e.what();
  }
  EXPECT_EQ(message, target + " は通常のファイルではありません");
  EXPECT_TRUE(fs::is_directory(target));
  EXPECT_TRUE(fs::is_empty(target));
  EXPECT_EQ(Names(), std::vector<std::string>{"d.pas"});
}

TEST(FileError, NamesThePathWhatFailedAndWhy) {
  EXPECT_STREQ(platform::FileError("d.pas", platform::FileFailure::kWrite, "No space left on device")
                   .what(),
               "d.pas に書き込めません: No space left on device");
  EXPECT_STREQ(platform::FileError("s.ini", platform::FileFailure::kWrite, "").what(),
               "s.ini に書き込めません");
  EXPECT_STREQ(platform::FileError("d.txt", platform::FileFailure::kRead, "Is a directory").what(),
               "d.txt を読み込めません: Is a directory");
  EXPECT_STREQ(platform::FileError("x/d.pas", platform::FileFailure::kCreate, "Permission denied")
                   .what(),
               "x/d.pas を作成できません: Permission denied");
}

TEST(Paths, ExtensionsBelongToTheFileNamePart) {
  EXPECT_EQ(platform::ChangeFileExt("dir/my.defs.txt", ".pas"), "dir/my.defs.pas");
  EXPECT_EQ(platform::ChangeFileExt("defs", ".pas"), "defs.pas");
  EXPECT_EQ(platform::ChangeFileExt("a.b/defs", ".const"), "a.b/defs.const");
  EXPECT_EQ(platform::ChangeFileExt("x.", ".pas"), "x.pas");
  EXPECT_EQ(platform::ExtractFileExt("dir/A.Pas"), ".Pas");
  EXPECT_EQ(platform::ExtractFileExt("a.b/defs"), "");
  EXPECT_EQ(platform::ExtractFileName("/opt/t/Tamsel"), "Tamsel");
  EXPECT_EQ(platform::FolderOf("dir/sub/d.pas"), "dir/sub");
  EXPECT_EQ(platform::FolderOf("/d.pas"), "/");
  EXPECT_EQ(platform::FolderOf("d.pas"), ".");
}

TEST(ConsoleText, ConvertsToShiftJisWithThePlatformConverter) {
  EXPECT_EQ(platform::ConvertFromUtf8("指定のファイルがありません。", "CP932"),
            "\x8E\x77\x92\xE8\x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA\x82\xA0\x82"
            "\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42");
  EXPECT_EQ(platform::ConvertFromUtf8("", "CP932"), "");
  EXPECT_EQ(platform::ConvertFromUtf8("指定", "ISO-8859-1"), std::nullopt);
  EXPECT_EQ(platform::ConvertFromUtf8("x", "NO-SUCH-CHARSET"), std::nullopt);
}

}  // namespace
