// POSIX implementation of the platform layer.
#include <fcntl.h>
#include <limits.h>
#include <iconv.h>
#include <langinfo.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "text/Ascii.h"
#include "platform/Platform.h"

namespace platform {

std::string ExecutablePath(const char* argv0) {
  std::vector<char> buf(4096);
  for (;;) {
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
    if (n < 0) break;
    if (static_cast<std::size_t>(n) < buf.size())
      return std::string(buf.data(), static_cast<std::size_t>(n));
    buf.resize(buf.size() * 2);
  }
  // No /proc: fall back to the name the process was started with.
  if (!argv0) return {};
  if (char* real = realpath(argv0, nullptr)) {
    std::string path(real);
    free(real);
    return path;
  }
  return argv0;
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

ReadStatus ReadRegularFile(const std::string& path, std::string& data) {
  data.clear();
  // Tested before it is opened, and opened without waiting (a FIFO would wait
  // for a writer), then tested again: the path may have changed meanwhile.
  // A file that is not regular has no system error of its own; a caller
  // that reports one finds a fitting reason.
  const auto notRegular = [](const struct stat& s) {
    errno = S_ISDIR(s.st_mode) ? EISDIR : EINVAL;
    return ReadStatus::kNotRegular;
  };
  struct stat st;
  if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return notRegular(st);
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT && !PathExists(path) ? ReadStatus::kMissing : ReadStatus::kFailed;
  if (fstat(fd, &st) != 0) {
    const int saved = errno;
    close(fd);
    errno = saved;
    return ReadStatus::kFailed;
  }
  if (!S_ISREG(st.st_mode)) {
    close(fd);
    return notRegular(st);
  }
  // Read straight into the string, with room for the size the file has and
  // one byte more, where a read at the end finds nothing; a file that grows
  // makes the string grow.
  data.resize(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 0) + 1);
  std::size_t got = 0;
  for (;;) {
    if (got == data.size()) data.resize(2 * got);
    const ssize_t n = read(fd, data.data() + got, data.size() - got);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      const int saved = errno;
      close(fd);
      data.clear();
      errno = saved;
      return ReadStatus::kFailed;
    }
    got += static_cast<std::size_t>(n);
  }
  data.resize(got);
  close(fd);
  return ReadStatus::kRead;
}

bool IsOtherThanRegularFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

bool PathExists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

std::string LastErrorText() { return std::strerror(errno); }

namespace {

mode_t NewFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a path leads to: links are followed so that they stay links.
std::string ResolveLinks(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = realpath(path.c_str(), nullptr);
  if (!real) return path;
  std::string resolved(real);
  free(real);
  return resolved;
}

// Writes all of `bytes` at the file's end; 0, or the errno of the failure.
int WriteAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return 0;
}

// Temporary files to remove when the process is interrupted. The signal
// handler reads this list, so it is plain fixed storage, and it changes only
// while the signals are held back.
constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kCleanupSlots = 4;
char cleanupPaths[kCleanupSlots][PATH_MAX];
volatile std::sig_atomic_t cleanupUsed[kCleanupSlots];

// Async-signal-safe: removes the files, then ends the process as the signal
// would have (it is delivered again, with its default action, on return).
void RemoveTemporaryFilesAndEnd(int sig) {
  for (int i = 0; i < kCleanupSlots; ++i)
    if (cleanupUsed[i]) unlink(cleanupPaths[i]);
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

// Holds the cleanup signals back for its lifetime.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t set;
    sigemptyset(&set);
    for (int sig : kCleanupSignals) sigaddset(&set, sig);
    sigprocmask(SIG_BLOCK, &set, &old_);
  }
  ~SignalsHeld() { sigprocmask(SIG_SETMASK, &old_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t old_;
};

// Installs the handler for the signals that would end the process; one that
// is ignored (as nohup ignores SIGHUP) stays ignored.
void InstallCleanupHandler() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  for (int sig : kCleanupSignals) {
    struct sigaction old {};
    if (sigaction(sig, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) continue;
    struct sigaction action {};
    action.sa_handler = RemoveTemporaryFilesAndEnd;
    sigemptyset(&action.sa_mask);
    for (int other : kCleanupSignals) sigaddset(&action.sa_mask, other);
    sigaction(sig, &action, nullptr);
  }
}

// Puts `path` on the cleanup list (call with the signals held); the slot, or
// -1 when the list is full or the path too long for it.
int AddCleanup(const std::string& path) {
  InstallCleanupHandler();
  if (path.size() >= PATH_MAX) return -1;
  for (int i = 0; i < kCleanupSlots; ++i) {
    if (cleanupUsed[i]) continue;
    std::memcpy(cleanupPaths[i], path.c_str(), path.size() + 1);
    cleanupUsed[i] = 1;
    return i;
  }
  return -1;
}

void RemoveCleanup(int& slot) {
  if (slot >= 0) cleanupUsed[slot] = 0;
  slot = -1;
}

// A fresh temporary name in `folder`, of the form mkstemp gives.
std::string TemporaryName(const std::string& folder) {
  static std::uint64_t counter = 0;
  timespec now {};
  clock_gettime(CLOCK_REALTIME, &now);
  std::uint64_t x = static_cast<std::uint64_t>(now.tv_nsec) ^
                    (static_cast<std::uint64_t>(getpid()) << 32) ^
                    (++counter * 0x9E3779B97F4A7C15ull);
  static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string name = folder + "/.tamsel-";
  for (int i = 0; i < 6; ++i, x /= 62) name.push_back(kDigits[x % 62]);
  return name;
}

// Whether nameless files can be made, and later named: Linux names one
// through /proc (linkat with AT_EMPTY_PATH needs a privilege).
bool CanNameNamelessFiles() {
#ifdef O_TMPFILE
  static const bool can = access("/proc/self/fd", X_OK) == 0;
  return can;
#else
  return false;
#endif
}

// Gives the nameless file `fd` a temporary name in `folder` (and puts it on
// the cleanup list, as the rename may still fail); 0, or the errno.
int NameNamelessFile(int fd, const std::string& folder, std::string& name, int& slot) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = TemporaryName(folder);
    SignalsHeld held;
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      name = std::move(candidate);
      slot = AddCleanup(name);
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

}  // namespace

ReplacementFile::ReplacementFile(std::string target)
    : target_(std::move(target)), final_(ResolveLinks(target_)) {
  if (IsOtherThanRegularFile(final_)) throw FileError(target_, FileFailure::kNotRegular, {});
  if (access(final_.c_str(), F_OK) == 0 && access(final_.c_str(), W_OK) != 0)
    throw FileError(target_, FileFailure::kWrite, LastErrorText());
  // In the target's folder, so that the final rename never crosses file
  // systems. Without a name while it is written, so that nothing is left
  // behind whatever ends the process.
  const std::string folder = FolderOf(final_);
#ifdef O_TMPFILE
  if (CanNameNamelessFiles()) {
    const int fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0) {
      handle_ = fd;
      return;
    }
  }
#endif
  // Where the file system cannot, a short name (long target names still fit),
  // removed also when the process is interrupted.
  std::string pattern = folder + "/.tamsel-XXXXXX";
  SignalsHeld held;
  const int fd = mkstemp(pattern.data());
  if (fd < 0) throw FileError(target_, FileFailure::kCreate, LastErrorText());
  // Nothing after this may throw, or the file would stay behind.
  handle_ = fd;
  temp_ = std::move(pattern);
  cleanupSlot_ = AddCleanup(temp_);
}

ReplacementFile::~ReplacementFile() { Discard(); }

void ReplacementFile::Write(std::string_view bytes) {
  const int failed = WriteAll(static_cast<int>(handle_), bytes);
  if (failed != 0) throw FileError(target_, FileFailure::kWrite, std::strerror(failed));
}

void ReplacementFile::Commit() {
  const int fd = static_cast<int>(handle_);
  struct stat st;
  const bool exists = stat(final_.c_str(), &st) == 0;
  // Something other than a file may have taken the target's place meanwhile.
  if (exists && !S_ISREG(st.st_mode)) {
    Discard();
    throw FileError(target_, FileFailure::kNotRegular, {});
  }
  // The new file takes the old one's mode and, where allowed, its owner and
  // group; a new file gets the mode any new file would get.
  if (exists) {
    // Only root may give a file away; others keep at least the group where
    // they belong to it, and otherwise the file stays the writer's own.
    int kept = fchown(fd, st.st_uid, st.st_gid);
    if (kept != 0) kept = fchown(fd, static_cast<uid_t>(-1), st.st_gid);
    (void)kept;
  }
  const mode_t mode = exists ? (st.st_mode & 07777) : NewFileMode();
  int failed = fchmod(fd, mode) == 0 ? 0 : errno;
  // A nameless file gets a temporary name first: rename replaces the target
  // in one step, where a link to the target's own name could not.
  if (failed == 0 && temp_.empty()) failed = NameNamelessFile(fd, FolderOf(final_), temp_, cleanupSlot_);
  handle_ = -1;
  if (close(fd) != 0 && failed == 0) failed = errno;
  if (failed == 0 && rename(temp_.c_str(), final_.c_str()) != 0) failed = errno;
  if (failed != 0) {
    Discard();
    throw FileError(target_, FileFailure::kWrite, std::strerror(failed));
  }
  SignalsHeld held;
  RemoveCleanup(cleanupSlot_);
  temp_.clear();
}

void ReplacementFile::Discard() noexcept {
  if (handle_ >= 0) {
    close(static_cast<int>(handle_));
    handle_ = -1;
  }
  if (!temp_.empty()) {
    SignalsHeld held;
    unlink(temp_.c_str());
    RemoveCleanup(cleanupSlot_);
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
    const std::string name = cs ? cs : "";
    for (const char* plain : {"", "UTF-8", "UTF8", "ANSI_X3.4-1968", "ASCII", "US-ASCII"})
      if (texts::SameTextAscii(name, plain)) return std::string();
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

std::string ConsolePath(std::string_view path) { return std::string(path); }

std::string FileNameText(std::string_view name) { return std::string(name); }

std::vector<std::string> Arguments(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void InitProcess() {
  std::setlocale(LC_CTYPE, "");
  std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace platform
