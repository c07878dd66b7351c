// Helpers for tests that run the built executable in a temporary folder, as
// a user would.
#pragma once

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <regex>
#include <string>
#include <vector>

namespace e2e {

namespace fs = std::filesystem;

struct Result {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Standard error without the diagnostics: the lines in the compiler message
// format, which point into the definition ("d.txt(2,3) Warning: ...") or at
// no place ("Tamsel: Warning: ...").
inline std::string Reports(const std::string& err) {
  static const std::regex diagnostic(R"(^(.*\(\d+,\d+\)|Tamsel:) (Error|Warning|Note): )");
  std::string kept;
  for (std::size_t start = 0; start < err.size();) {
    const std::size_t end = std::min(err.find('\n', start), err.size() - 1) + 1;
    const std::string line = err.substr(start, end - start);
    if (!std::regex_search(line, diagnostic)) kept += line;
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

}  // namespace e2e
