// POSIX implementation of the platform layer.
#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>

#include "platform/Paths.h"
#include "platform/Platform.h"
#include "text/Ascii.h"

namespace platform {

namespace {

// The file a path leads to, links followed; the path itself when that fails.
std::string RealPath(const char* path) {
  char* real = realpath(path, nullptr);
  const std::string resolved = real ? real : path;
  free(real);
  return resolved;
}

// Temporary files to remove when the process is interrupted: plain fixed storage, as the signal
// handler reads it, changed only while the signals are held back.
constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kCleanupSlots = 4;
char cleanupPaths[kCleanupSlots][PATH_MAX];
volatile std::sig_atomic_t cleanupUsed[kCleanupSlots];

// Async-signal-safe: removes the files, then ends the process as the signal would have.
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

// Puts `path` on the cleanup list (signals held); its slot, or -1 when there is no room for it.
int AddCleanup(const std::string& path) {
  for (int i = 0; i < kCleanupSlots && path.size() < PATH_MAX; ++i) {
    if (cleanupUsed[i]) continue;
    std::memcpy(cleanupPaths[i], path.c_str(), path.size() + 1);
    cleanupUsed[i] = 1;
    return i;
  }
  return -1;
}

// Takes `name` off the cleanup list, removing the file first unless it was renamed.
void ForgetTemporaryFile(std::string& name, int& slot, bool remove) {
  SignalsHeld held;
  if (remove) unlink(name.c_str());
  if (slot >= 0) cleanupUsed[slot] = 0;
  slot = -1;
  name.clear();
}

// Makes a file with `create` (false and errno on failure) under a fresh name in `folder`, listed.
Status CreateTemporaryName(const std::string& folder, std::string& name, int& slot,
                           const std::function<bool(const char*)>& create) {
  static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  static std::minstd_rand draw(std::random_device{}());
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = folder + "/.tamsel-";
    for (int i = 0; i < 6; ++i) candidate.push_back(kDigits[draw() % 62]);
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
  char buf[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf);
  if (n > 0 && n < PATH_MAX) return std::string(buf, static_cast<std::size_t>(n));
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
  // Tested, opened without waiting (for a FIFO's writer) and tested again; a refusal gets a reason.
  struct stat st;
  const auto notRegular = [&st] {
    return ReadResult{ReadStatus::kNotRegular, Status{S_ISDIR(st.st_mode) ? EISDIR : EINVAL}};
  };
  if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return notRegular();
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    const Status failed{errno};
    // A link that leads nowhere is something there that cannot be read.
    const bool missing = failed.code == ENOENT && lstat(path.c_str(), &st) != 0;
    return {missing ? ReadStatus::kMissing : ReadStatus::kFailed, failed};
  }
  const struct Closer { int fd; ~Closer() { close(fd); } } closer{fd};
  if (fstat(fd, &st) != 0) return {ReadStatus::kFailed, Status{errno}};
  if (!S_ISREG(st.st_mode)) return notRegular();
  data.reserve(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 0));
  char chunk[1 << 16];
  for (ssize_t n; (n = read(fd, chunk, sizeof chunk)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      data.clear();
      return {ReadStatus::kFailed, Status{errno}};
    }
    data.append(chunk, static_cast<std::size_t>(n));
  }
  return {};
}

ReplacementFile::ReplacementFile(std::string target, FileFailure createFailure)
    : target_(std::move(target)), final_(RealPath(target_.c_str())) {
  const PathKind kind = KindOf(final_);
  if (kind == PathKind::kOther) Fail(FileFailure::kNotRegular);
  if (kind == PathKind::kRegular && access(final_.c_str(), W_OK) != 0)
    Fail(FileFailure::kWrite, Status{errno});
  // In the target's folder, so that the rename never crosses file systems; nameless until Commit,
  // so that nothing is left whatever ends the process (named through /proc: AT_EMPTY_PATH needs a
  // privilege).
  const std::string folder = FolderOf(final_);
#ifdef O_TMPFILE
  static const bool canName = access("/proc/self/fd", X_OK) == 0;
  if (canName && (handle_ = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600)) >= 0) return;
#endif
  // Otherwise under a short name (long target names still fit), removed on interruption too.
  const Status created = CreateTemporaryName(folder, temp_, cleanupSlot_, [this](const char* name) {
    return (handle_ = open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600)) >= 0;
  });
  if (!created.Ok()) Fail(createFailure, created);
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
  if (exists && !S_ISREG(st.st_mode)) Fail(FileFailure::kNotRegular);  // something else took its place
  // The old file's owner and group where allowed (only root may give a file away; others keep at
  // least a group they belong to) and its mode; a new file gets the mode any new file gets.
  const bool owned = !exists || fchown(fd, st.st_uid, st.st_gid) == 0 ||
                     fchown(fd, static_cast<uid_t>(-1), st.st_gid) == 0;
  (void)owned;  // otherwise the file stays the writer's own
  const mode_t mask = umask(0);
  umask(mask);
  if (fchmod(fd, exists ? (st.st_mode & 07777) : (0666 & ~mask)) != 0)
    Fail(FileFailure::kWrite, Status{errno});
  // A nameless file gets a temporary name first, as only rename replaces the target in one step.
  if (temp_.empty()) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const auto link = [&self](const char* name) {
      return linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name, AT_SYMLINK_FOLLOW) == 0;
    };
    const Status linked = CreateTemporaryName(FolderOf(final_), temp_, cleanupSlot_, link);
    if (!linked.Ok()) Fail(FileFailure::kWrite, linked);
  }
  handle_ = -1;
  if (close(fd) != 0 || rename(temp_.c_str(), final_.c_str()) != 0)
    Fail(FileFailure::kWrite, Status{errno});
  ForgetTemporaryFile(temp_, cleanupSlot_, false);
}

void ReplacementFile::Discard() noexcept {
  if (handle_ >= 0) close(static_cast<int>(handle_));
  handle_ = -1;
  if (!temp_.empty()) ForgetTemporaryFile(temp_, cleanupSlot_, true);
}

std::optional<std::string> ConvertFromUtf8(std::string_view utf8, const char* charset) {
  iconv_t cd = iconv_open(charset, "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string in(utf8);                       // iconv takes its input as not const
  std::string out(4 * in.size() + 16, '\0');  // room for any set's form of it and a final shift
  char *inp = in.data(), *outp = out.data();
  std::size_t inLeft = in.size(), outLeft = out.size();
  const bool ok = iconv(cd, &inp, &inLeft, &outp, &outLeft) != static_cast<std::size_t>(-1) &&
                  iconv(cd, nullptr, nullptr, &outp, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(static_cast<std::size_t>(outp - out.data()));
  return out;
}

std::string ConsoleText(std::string_view utf8) {
  // UTF-8 and the C locale's ASCII (which cannot hold the messages) get the
  // text as it is, without a converter opened for every message.
  static const std::string charset = [] {
    const std::string name = nl_langinfo(CODESET);
    for (const char* plain : {"", "UTF-8", "UTF8", "ANSI_X3.4-1968", "ASCII", "US-ASCII"})
      if (texts::SameTextAscii(name, plain)) return std::string();
    return name;
  }();
  if (charset.empty()) return std::string(utf8);
  return ConvertFromUtf8(utf8, charset.c_str()).value_or(std::string(utf8));
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
  // The signals that would end the process remove its temporary files first; an ignored one
  // (nohup) stays ignored.
  for (int sig : kCleanupSignals) {
    struct sigaction old {}, action {};
    if (sigaction(sig, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) continue;
    action.sa_handler = RemoveTemporaryFilesAndEnd;
    sigemptyset(&action.sa_mask);
    for (int other : kCleanupSignals) sigaddset(&action.sa_mask, other);
    sigaction(sig, &action, nullptr);
  }
}

}  // namespace platform
