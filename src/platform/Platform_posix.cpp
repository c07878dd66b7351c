// POSIX implementation of the platform layer.
#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <limits.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Paths.h"
#include "platform/Platform.h"
#include "text/Ascii.h"

namespace platform {

namespace {

// The status of a call that gives 0 or more on success, -1 and errno on failure.
Status Checked(long result) { return result >= 0 ? Status{} : Status{errno}; }

// The file a path leads to, links followed; the path itself when that fails.
std::string RealPath(const char* path) {
  char* real = realpath(path, nullptr);
  const std::string resolved = real ? real : path;
  free(real);
  return resolved;
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
struct SignalsHeld {
  sigset_t old;
  SignalsHeld() {
    sigset_t set;
    sigemptyset(&set);
    for (int sig : kCleanupSignals) sigaddset(&set, sig);
    sigprocmask(SIG_BLOCK, &set, &old);
  }
  ~SignalsHeld() { sigprocmask(SIG_SETMASK, &old, nullptr); }
};

// Puts `path` on the cleanup list (call with the signals held); the slot, or
// -1 when the list is full or the path too long for it. The first call
// installs the handler for the signals that would end the process; one that
// is ignored (as nohup ignores SIGHUP) stays ignored.
int AddCleanup(const std::string& path) {
  static const bool installed = [] {
    for (int sig : kCleanupSignals) {
      struct sigaction old {}, action {};
      if (sigaction(sig, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) continue;
      action.sa_handler = RemoveTemporaryFilesAndEnd;
      sigemptyset(&action.sa_mask);
      for (int other : kCleanupSignals) sigaddset(&action.sa_mask, other);
      sigaction(sig, &action, nullptr);
    }
    return true;
  }();
  (void)installed;
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

// Makes a file under a fresh name of mkstemp's form in `folder` with `create`
// (false and errno when it fails), and puts the name on the cleanup list.
Status CreateTemporaryName(const std::string& folder, std::string& name, int& slot,
                           const std::function<bool(const char*)>& create) {
  static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  static std::uint64_t counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    std::uint64_t x = static_cast<std::uint64_t>(now.tv_nsec) ^
                      (static_cast<std::uint64_t>(getpid()) << 32) ^ (++counter * 0x9E3779B97F4A7C15ull);
    std::string candidate = folder + "/.tamsel-";
    for (int i = 0; i < 6; ++i, x /= 62) candidate.push_back(kDigits[x % 62]);
    SignalsHeld held;  // nothing may end the process between creating and listing
    if (create(candidate.c_str())) {
      name = std::move(candidate);
      slot = AddCleanup(name);
      return {};
    }
    if (errno != EEXIST) return Status{errno};
  }
  return Status{EEXIST};
}

}  // namespace

std::string Status::Text() const { return std::strerror(code); }

std::string ExecutablePath(const char* argv0) {
  std::vector<char> buf(4096);
  for (ssize_t n; (n = readlink("/proc/self/exe", buf.data(), buf.size())) >= 0;) {
    if (static_cast<std::size_t>(n) < buf.size()) return std::string(buf.data(), static_cast<std::size_t>(n));
    buf.resize(buf.size() * 2);
  }
  return argv0 ? RealPath(argv0) : std::string();  // no /proc
}

bool IsPathSeparator(char c) { return c == '/'; }

std::string_view ExecutableSuffix() { return {}; }

PathKind KindOf(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return PathKind::kMissing;
  return S_ISREG(st.st_mode) ? PathKind::kRegular : PathKind::kOther;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

ReadResult ReadRegularFile(const std::string& path, std::string& data) {
  data.clear();
  // Tested, opened without waiting (a FIFO would wait for a writer), and
  // tested again, as the path may have changed; a refusal gets a fitting reason.
  struct stat st;
  const auto notRegular = [&st] {
    return ReadResult{ReadStatus::kNotRegular, Status{S_ISDIR(st.st_mode) ? EISDIR : EINVAL}};
  };
  if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return notRegular();
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    const Status failed = Checked(fd);
    // A link that leads nowhere is something there that cannot be read.
    const bool missing = failed.code == ENOENT && lstat(path.c_str(), &st) != 0;
    return {missing ? ReadStatus::kMissing : ReadStatus::kFailed, failed};
  }
  const struct Closer {
    int fd;
    ~Closer() { close(fd); }
  } closer{fd};
  if (fstat(fd, &st) != 0) return {ReadStatus::kFailed, Status{errno}};
  if (!S_ISREG(st.st_mode)) return notRegular();
  // Room for the file's size and one byte more, where a read at the end finds
  // nothing; a file that grows makes the string grow.
  data.resize(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 0) + 1);
  std::size_t got = 0;
  for (ssize_t n; (n = read(fd, data.data() + got, data.size() - got)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      data.clear();
      return {ReadStatus::kFailed, Status{errno}};
    }
    got += static_cast<std::size_t>(n);
    if (got == data.size()) data.resize(2 * got);
  }
  data.resize(got);
  return {};
}

ReplacementFile::ReplacementFile(std::string target, FileFailure createFailure)
    : target_(std::move(target)), final_(RealPath(target_.c_str())) {
  const PathKind kind = KindOf(final_);
  if (kind == PathKind::kOther) throw FileError(target_, FileFailure::kNotRegular, {});
  if (kind == PathKind::kRegular && access(final_.c_str(), W_OK) != 0)
    throw FileError(target_, FileFailure::kWrite, Status{errno}.Text());
  // In the target's folder, so that the rename never crosses file systems.
  const std::string folder = FolderOf(final_);
#ifdef O_TMPFILE
  // Without a name until Commit, so that nothing is left whatever ends the
  // process. Linux names it through /proc (AT_EMPTY_PATH needs a privilege).
  static const bool canName = access("/proc/self/fd", X_OK) == 0;
  if (canName && (handle_ = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600)) >= 0) return;
#endif
  // Otherwise under a short name (long target names still fit), removed also
  // when the process is interrupted.
  const Status created = CreateTemporaryName(folder, temp_, cleanupSlot_, [this](const char* name) {
    return (handle_ = open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600)) >= 0;
  });
  if (!created.Ok()) throw FileError(target_, createFailure, created.Text());
}

void ReplacementFile::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(static_cast<int>(handle_), bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw FileError(target_, FileFailure::kWrite, Status{errno}.Text());
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
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
  // The old file's owner and group where allowed (only root may give a file
  // away; others keep at least a group they belong to) and its mode; a new
  // file gets the mode any new file would get.
  if (exists && fchown(fd, st.st_uid, st.st_gid) != 0 && fchown(fd, static_cast<uid_t>(-1), st.st_gid) != 0) {
    // The file stays the writer's own.
  }
  const mode_t mask = umask(0);
  umask(mask);
  Status failed = Checked(fchmod(fd, exists ? (st.st_mode & 07777) : (0666 & ~mask)));
  // A nameless file gets a temporary name first: rename replaces the target
  // in one step, where a link to the target's own name could not.
  if (failed.Ok() && temp_.empty()) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    failed = CreateTemporaryName(FolderOf(final_), temp_, cleanupSlot_, [&self](const char* name) {
      return linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name, AT_SYMLINK_FOLLOW) == 0;
    });
  }
  handle_ = -1;
  if (close(fd) != 0 && failed.Ok()) failed = Status{errno};
  if (failed.Ok()) failed = Checked(rename(temp_.c_str(), final_.c_str()));
  if (!failed.Ok()) {
    Discard();
    throw FileError(target_, FileFailure::kWrite, failed.Text());
  }
  SignalsHeld held;
  RemoveCleanup(cleanupSlot_);
  temp_.clear();
}

void ReplacementFile::Discard() noexcept {
  if (handle_ >= 0) close(static_cast<int>(handle_));
  handle_ = -1;
  if (temp_.empty()) return;
  SignalsHeld held;
  unlink(temp_.c_str());
  RemoveCleanup(cleanupSlot_);
  temp_.clear();
}

bool ConvertFromUtf8(std::string_view utf8, const char* charset, std::string& out) {
  out.clear();
  iconv_t cd = iconv_open(charset, "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string in(utf8);  // iconv takes its input as not const
  char* inp = in.data();
  std::size_t inLeft = in.size();
  bool ok = true, ending = false;
  while (ok && !ending) {
    ending = inLeft == 0;  // then a last call ends the output (a final shift)
    char buf[256];
    char* outp = buf;
    std::size_t outLeft = sizeof buf;
    const std::size_t r = iconv(cd, ending ? nullptr : &inp, ending ? nullptr : &inLeft, &outp, &outLeft);
    out.append(buf, static_cast<std::size_t>(outp - buf));
    ok = ending || r != static_cast<std::size_t>(-1) || errno == E2BIG;
  }
  iconv_close(cd);
  return ok;
}

std::string ConsoleText(std::string_view utf8) {
  // The locale's character set, or empty when UTF-8 is written (also in the C locale).
  static const std::string charset = [] {
    const char* cs = nl_langinfo(CODESET);
    const std::string name = cs ? cs : "";
    for (const char* plain : {"", "UTF-8", "UTF8", "ANSI_X3.4-1968", "ASCII", "US-ASCII"})
      if (texts::SameTextAscii(name, plain)) return std::string();
    return name;
  }();
  std::string out;
  if (charset.empty() || !ConvertFromUtf8(utf8, charset.c_str(), out)) return std::string(utf8);
  return out;
}

std::string ConsolePath(std::string_view path) { return std::string(path); }

std::string FileNameText(std::string_view name) { return std::string(name); }

std::vector<std::string> Arguments(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

Status WriteStandardOutput(std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() ? Status{} : Status{errno};
}

Status FlushStandardOutput() { return std::fflush(stdout) == 0 ? Status{} : Status{errno}; }

void InitProcess() {
  std::setlocale(LC_CTYPE, "");
  std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace platform
