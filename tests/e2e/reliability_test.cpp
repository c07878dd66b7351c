// What Tamsel never touches: files that are not regular files, its own
// inputs, settings that someone else edited during the run, temporary files
// of interrupted runs, and settings files in an encoding it cannot keep.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "E2eSupport.h"

namespace {

namespace fs = std::filesystem;
using e2e::ReadFile;
using e2e::Sandbox;
using e2e::WriteFile;

using e2e::kPasMessage;
const std::string kOldUnit = "old unit";

// A definition whose unit takes a while to write (some 70 MB).
std::string LargeDefinition() {
  std::string d;
  for (int k = 0; k < 1000; ++k) {
    d.append("TC").append(std::to_string(k)).append("\n");
    for (int j = 0; j < 100; ++j) d.append("  F").append(std::to_string(j)).append(":integer;1\n");
  }
  return d;
}

// The unit's path or the settings path leads to a FIFO or a character
// device: the run refuses before writing anything, and neither blocks nor
// replaces it.
TEST(OnlyRegularFiles, FifosAndDevicesAreRefusedAndKeptAsTheyAre) {
  struct Case {
    bool atUnit;
    bool device;  // a link to a character device; else a FIFO
  } cases[] = {{true, false}, {true, true}, {false, false}, {false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.atUnit ? "unit" : "settings") + (c.device ? " device" : " FIFO"));
    Sandbox box;
    WriteFile(box.Path("d.txt"), "TA\r\n  Fa:integer;1\r\n");
    const fs::path at = c.atUnit ? box.Path("d.pas") : box.Ini();
    std::vector<std::string> files{"d.pas", "d.txt"};
    if (!c.device) {
      ASSERT_EQ(mkfifo(at.c_str(), 0644), 0);
    } else if (geteuid() == 0) {
      // Root could replace /dev/null itself: give it a device of its own.
      if (mknod(box.Path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "no device files here";
      fs::create_symlink(box.Path("null"), at);
      files.push_back("null");
    } else {
      fs::create_symlink("/dev/null", at);
    }
    if (!c.atUnit) std::erase(files, "d.pas");
    const e2e::Result r = box.Run({"d.txt"}, "LC_ALL=C timeout 20");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, (c.atUnit ? "d.pas" : box.Ini().string()) + " は通常のファイルではありません\n");
    EXPECT_EQ(c.device ? fs::is_character_file(at) : fs::is_fifo(at), true);
    EXPECT_EQ(fs::is_symlink(at), c.device);
    EXPECT_EQ(box.Files(), files);
    EXPECT_EQ(fs::exists(fs::symlink_status(box.Ini())), !c.atUnit);  // no settings written
  }
}

// D3: a link may make the unit's path name the constants file, the settings
// file or the executable; like the definition itself, each is refused.
TEST(InputsAreNeverOutputs, AUnitLeadingToAnInputIsRefused) {
  Sandbox box;
  WriteFile(box.Path("d.txt"), "");
  WriteFile(box.Path("d.const"), "const\r\n  c = 1;\r\n");
  WriteFile(box.Ini(), "[Tamsel]\r\nTab=4\r\n");
  const std::string exeBytes = ReadFile(box.Exe());
  for (const fs::path& input : {box.Path("d.const"), box.Ini(), box.Exe()}) {
    SCOPED_TRACE(input.filename().string());
    const std::string before = ReadFile(input);
    fs::remove(box.Path("d.pas"));
    fs::create_symlink(input, box.Path("d.pas"));
    const e2e::Result r = box.Run({"d.txt"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, kPasMessage);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(ReadFile(input), before);
    EXPECT_TRUE(fs::is_symlink(box.Path("d.pas")));
  }
  EXPECT_EQ(ReadFile(box.Exe()), exeBytes);
}

// D9: the settings file is edited while a run is going on (the run is
// stopped once it is writing its unit, which is after it read the settings):
// the edited values stay, and only the keys still missing are added.
TEST(SettingsEdits, ValuesSetByAnotherWriterDuringARunAreKept) {
  const std::string edited = "; edited\r\n[Tamsel]\r\nTab=abc\r\ncSelf=Me\r\n";
  const std::string added =
      "UseUnit=Tamsel_common\r\ncTIniter=TIniter\r\ncCheck=Check\r\ncAll=All\r\n"
      "cFileName=FFileName\r\ncSection=FSection\r\ncIniRead=iniRead\r\ncIniWrite=iniWrite\r\n"
      "cInitial=Initial\r\ncTIniFileMine=TIniFileMine\r\ncSuper=Super\r\n";
  for (const bool asNewFile : {false, true}) {
    SCOPED_TRACE(asNewFile ? "saved as a new file" : "edited in place");
    Sandbox box;
    WriteFile(box.Path("d.txt"), LargeDefinition());
    WriteFile(box.Ini(), "[Tamsel]\r\nTab=2\r\n");
    const pid_t pid = box.Start({"d.txt"});
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::HoldsTemporaryFile(pid, box.Dir()); }));
    kill(pid, SIGSTOP);
    if (asNewFile) {
      WriteFile(box.Path("new.ini"), edited);
      fs::rename(box.Path("new.ini"), box.Ini());
    } else {
      WriteFile(box.Ini(), edited);
    }
    kill(pid, SIGCONT);
    const int status = e2e::WaitFor(pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(ReadFile(box.Ini()), edited + added);
    // The unit follows the settings as they were read.
    EXPECT_NE(ReadFile(box.Path("d.pas")).find("procedure SetSelf0("), std::string::npos);
  }
}

// A run ended by a signal leaves the old unit and no temporary file: the
// unit's file has no name while it is written, or, where the file system
// cannot do that (taken away here with LD_PRELOAD), the signal removes it.
TEST(InterruptedRuns, LeaveTheOldUnitAndNoTemporaryFile) {
  struct Case {
    int signal;
    bool named;  // O_TMPFILE not available
  } cases[] = {{SIGINT, false}, {SIGKILL, false}, {SIGINT, true}, {SIGTERM, true}, {SIGHUP, true}};
  Sandbox box;
  WriteFile(box.Path("d.txt"), LargeDefinition());
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(strsignal(c.signal)) + (c.named ? ", named" : ", nameless"));
    WriteFile(box.Path("d.pas"), kOldUnit);
    std::vector<std::string> env{"LC_ALL=C"};
    if (c.named) {
      env.push_back(std::string("LD_PRELOAD=") + TAMSEL_NO_TMPFILE);
      env.push_back("ASAN_OPTIONS=verify_asan_link_order=0");
    }
    const pid_t pid = box.Start({"d.txt"}, env);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::HoldsTemporaryFile(pid, box.Dir()); }));
    const bool hasName = std::ranges::any_of(box.Files(), [](const std::string& n) {
      return n.starts_with(".tamsel-");
    });
    EXPECT_EQ(hasName, c.named);
    kill(pid, c.signal);
    const int status = e2e::WaitFor(pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << status;
    EXPECT_EQ(box.Files(), (std::vector<std::string>{"d.pas", "d.txt"}));
    EXPECT_EQ(ReadFile(box.Path("d.pas")), kOldUnit);
  }
}

// A settings file saved as UTF-16 ("Unicode" in Notepad) is refused, not
// half read and appended to in another encoding.
TEST(SettingsEncoding, UTF16IsRefusedAndLeftUntouched) {
  const std::string ascii = "[Tamsel]\r\nTab=4\r\n";
  for (const bool bigEndian : {false, true}) {
    std::string text = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char ch : ascii) text += bigEndian ? std::string{'\0', ch} : std::string{ch, '\0'};
    Sandbox box;
    WriteFile(box.Path("d.txt"), "");
    WriteFile(box.Ini(), text);
    const e2e::Result r = box.Run({"d.txt"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, box.Ini().string() +
                         " は UTF-16 で保存されています。Shift-JIS か UTF-8 で保存し直してください\n");
    EXPECT_EQ(ReadFile(box.Ini()), text);
    EXPECT_EQ(box.Files(), std::vector<std::string>{"d.txt"});
  }
}

}  // namespace
