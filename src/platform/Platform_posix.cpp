// POSIX implementation of the platform layer.
#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace platform {

std::string ExecutablePath() {
  std::vector<char> buf(4096);
  for (;;) {
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < buf.size()) return std::string(buf.data(), static_cast<std::size_t>(n));
    buf.resize(buf.size() * 2);
  }
}

bool IsPathSeparator(char c) { return c == '/'; }

std::string_view ExecutableSuffix() { return {}; }

bool IsRegularFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool ReadWholeFile(const std::string& path, std::string& data) {
  data.clear();
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (fstat(fd, &st) == 0 && st.st_size > 0) data.reserve(static_cast<std::size_t>(st.st_size));
  char chunk[1 << 16];
  for (;;) {
    ssize_t n = read(fd, chunk, sizeof chunk);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      int saved = errno;
      close(fd);
      errno = saved;
      return false;
    }
    data.append(chunk, static_cast<std::size_t>(n));
  }
  close(fd);
  return true;
}

std::string LastErrorText() { return std::strerror(errno); }

namespace {

mode_t NewFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

ReplacementFile::ReplacementFile(std::string target) : target_(std::move(target)) {
  // The temporary name keeps the target's folder, so the final rename never
  // crosses file systems.
  std::string pattern = target_ + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) throw IoError(target_ + ConsoleText(" を作成できません: ") + LastErrorText());
  temp_.assign(name.data());
  handle_ = fd;
}

void ReplacementFile::Write(std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(static_cast<int>(handle_), p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw IoError(target_ + ConsoleText(" に書き込めません: ") + LastErrorText());
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
}

void ReplacementFile::Commit() {
  int fd = static_cast<int>(handle_);
  struct stat st;
  mode_t mode = (stat(target_.c_str(), &st) == 0) ? (st.st_mode & 07777) : NewFileMode();
  if (fchmod(fd, mode) != 0 || close(fd) != 0) {
    handle_ = -1;
    throw IoError(target_ + ConsoleText(" に書き込めません: ") + LastErrorText());
  }
  handle_ = -1;
  if (rename(temp_.c_str(), target_.c_str()) != 0)
    throw IoError(target_ + ConsoleText(" に書き込めません: ") + LastErrorText());
  temp_.clear();
}

void ReplacementFile::Discard() noexcept {
  if (handle_ >= 0) {
    close(static_cast<int>(handle_));
    handle_ = -1;
  }
  if (!temp_.empty()) {
    unlink(temp_.c_str());
    temp_.clear();
  }
}

bool ConvertFromUtf8(std::string_view utf8, const char* charset, std::string& out) {
  out.clear();
  iconv_t cd = iconv_open(charset, "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::vector<char> in(utf8.begin(), utf8.end());
  char* inp = in.data();
  std::size_t inLeft = in.size();
  bool ok = true;
  while (inLeft > 0) {
    char buf[256];
    char* outp = buf;
    std::size_t outLeft = sizeof buf;
    std::size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    out.append(buf, static_cast<std::size_t>(outp - buf));
    if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
      ok = false;
      break;
    }
  }
  if (ok) {
    char buf[64];
    char* outp = buf;
    std::size_t outLeft = sizeof buf;
    iconv(cd, nullptr, nullptr, &outp, &outLeft);
    out.append(buf, static_cast<std::size_t>(outp - buf));
  }
  iconv_close(cd);
  return ok;
}

namespace {

// The locale's character set when it is neither UTF-8 nor plain ASCII (the
// C locale); empty when UTF-8 should be written.
const std::string& ConsoleCharset() {
  static const std::string charset = [] {
    const char* cs = nl_langinfo(CODESET);
    std::string name = cs ? cs : "";
    std::string upper;
    for (char c : name) upper.push_back((c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c);
    if (upper.empty() || upper == "UTF-8" || upper == "UTF8" || upper == "ANSI_X3.4-1968" ||
        upper == "ASCII" || upper == "US-ASCII")
      return std::string();
    return name;
  }();
  return charset;
}

}  // namespace

std::string ConsoleText(std::string_view utf8) {
  const std::string& charset = ConsoleCharset();
  if (charset.empty()) return std::string(utf8);
  std::string out;
  if (ConvertFromUtf8(utf8, charset.c_str(), out)) return out;
  return std::string(utf8);
}

void InitConsole() { std::setlocale(LC_CTYPE, ""); }

}  // namespace platform
