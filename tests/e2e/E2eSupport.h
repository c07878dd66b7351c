// Helpers for tests that run the built executable in a temporary folder, as
// a user would.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

namespace fs = std::filesystem;

struct Result {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Tamsel's messages on standard output.
inline const std::string kPasMessage = "拡張子\".pas\"のファイルは指定できません\n";
inline const std::string kMissingMessage = "指定のファイルがありません。\n";
inline const std::string kMalformedMessage = "不思議な対象データがある。\n";

// Standard error without the diagnostics: the lines in the compiler message
// format, which point into the definition ("d.txt(2,3) Warning: ...") or at
// no place ("Tamsel: Warning: ...").
inline bool IsDiagnostic(const std::string& line) {
  for (const char* kind : {" Error: ", " Warning: ", " Note: "}) {
    const std::size_t at = line.find(kind);
    if (at == std::string::npos) continue;
    if (line.compare(0, at, "Tamsel:") == 0) return true;
    // "<file>(<line>,<column>)" just before the kind.
    const std::size_t open = line.rfind('(', at);
    if (at > 0 && line[at - 1] == ')' && open != std::string::npos &&
        std::regex_match(line.substr(open, at - open), std::regex(R"(\(\d+,\d+\))")))
      return true;
  }
  return false;
}

inline std::string Reports(const std::string& err) {
  std::string kept;
  for (std::size_t start = 0; start < err.size();) {
    const std::size_t end = std::min(err.find('\n', start), err.size() - 1) + 1;
    const std::string line = err.substr(start, end - start);
    if (!IsDiagnostic(line)) kept += line;
    start = end;
  }
  return kept;
}

inline std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'') q += "'\\''";
    else q += c;
  }
  return q + "'";
}

/// A fresh folder holding a copy of the executable (under `exeName`), so
/// that its settings file is private to the test.
class Sandbox {
 public:
  explicit Sandbox(const std::string& exeName = "Tamsel") {
    std::string tmpl = (fs::temp_directory_path() / "tamsel-e2e-XXXXXX").string();
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    dir_ = mkdtemp(buf.data());
    exe_ = dir_ / exeName;
    fs::copy_file(TAMSEL_EXE, exe_);
  }
  ~Sandbox() {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  const fs::path& Dir() const { return dir_; }
  const fs::path& Exe() const { return exe_; }
  fs::path Path(const std::string& name) const { return dir_ / name; }
  fs::path Ini() const { return fs::path(exe_.string() + ".ini"); }

  /// Runs the executable with `args` in the sandbox folder, with the C locale
  /// unless `env` says otherwise (for example "LC_ALL=C.UTF-8").
  Result Run(const std::vector<std::string>& args, const std::string& env = "LC_ALL=C") const {
    std::string outFile = (dir_ / ".stdout").string(), errFile = (dir_ / ".stderr").string();
    std::string cmd = "cd ";
    cmd.append(Quote(dir_.string())).append(" && env ").append(env).append(" ");
    cmd.append(Quote(exe_.string()));
    for (const std::string& a : args) cmd.append(" ").append(Quote(a));
    cmd.append(" >").append(Quote(outFile)).append(" 2>").append(Quote(errFile));
    cmd.append(" </dev/null");
    Result r;
    int status = std::system(cmd.c_str());
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = ReadFile(outFile);
    r.err = ReadFile(errFile);
    fs::remove(outFile);
    fs::remove(errFile);
    return r;
  }

  /// Starts the executable with `args` in the sandbox folder, its output
  /// thrown away, with only the environment `env` ("NAME=value" each).
  pid_t Start(const std::vector<std::string>& args,
              const std::vector<std::string>& env = {"LC_ALL=C"}) const {
    std::vector<std::string> words{exe_.string()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv, envp;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    std::vector<std::string> vars = env;
    for (std::string& v : vars) envp.push_back(v.data());
    envp.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
      const int null = open("/dev/null", O_RDWR);
      if (chdir(dir_.c_str()) != 0 || null < 0) _exit(127);
      dup2(null, 0);
      dup2(null, 1);
      dup2(null, 2);
      execve(argv[0], argv.data(), envp.data());
      _exit(127);
    }
    return pid;
  }

  /// The names in the folder, without the executable and its settings file.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) {
      std::string n = e.path().filename().string();
      if (e.path() != exe_ && e.path() != Ini()) names.push_back(n);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  fs::path dir_;
  fs::path exe_;
};

/// The wait status of a process started with Sandbox::Start.
inline int WaitFor(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

/// Polls `ready` every millisecond for up to 30 seconds; whether it held.
template <typename Ready>
bool WaitUntil(Ready ready) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!ready()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

/// Whether process `pid` holds a temporary file open in `dir`: a nameless
/// one ("#<inode> (deleted)") or a ".tamsel-" one.
inline bool HoldsTemporaryFile(pid_t pid, const fs::path& dir) {
  std::error_code ec;
  for (const auto& e : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec)) {
    const fs::path target = fs::read_symlink(e.path(), ec);
    if (ec || target.parent_path() != dir) continue;
    const std::string name = target.filename().string();
    if (name.starts_with("#") || name.starts_with(".tamsel-")) return true;
  }
  return false;
}

}  // namespace e2e
