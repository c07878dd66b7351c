// POSIX implementation of the platform layer.
#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <cpuid.h>
#include <immintrin.h>
#endif

#include <cerrno>
#include <csignal>
#include <clocale>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <exception>
#include <thread>
#include <vector>

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

void Prefault(void* block, std::size_t bytes) {
  // Only whole pages inside the block: the pages at its edges may hold other
  // data, and those are touched soon enough anyway.
  static const std::uintptr_t page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const std::uintptr_t start = (reinterpret_cast<std::uintptr_t>(block) + page - 1) & ~(page - 1);
  const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(block) + bytes) & ~(page - 1);
  if (end <= start) return;
#ifdef MADV_POPULATE_WRITE
  // Large blocks already ask for large pages when they are made; this only
  // fills in the pages.
  (void)madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
#endif
}

namespace {

// Large pages are 2 MB on x86-64 (elsewhere they may be larger, and a 2 MB
// aligned block simply gets none). A block is given them from 1 MB on, where
// the trap per 4 KB page begins to cost more than the memory a partly used
// large page leaves idle.
constexpr std::size_t kLargePage = std::size_t{2} << 20;
constexpr std::size_t kLargeBlock = std::size_t{1} << 20;

// Under AddressSanitizer every block comes from the heap, where an overrun is
// reported; in a mapping of its own it would go unnoticed.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kHeapBlocksOnly = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kHeapBlocksOnly = true;
#else
constexpr bool kHeapBlocksOnly = false;
#endif
#else
constexpr bool kHeapBlocksOnly = false;
#endif

std::size_t LargeLength(std::size_t bytes) { return (bytes + kLargePage - 1) & ~(kLargePage - 1); }

}  // namespace

void* AllocateLarge(std::size_t bytes) {
  if (bytes < kLargeBlock || kHeapBlocksOnly) {
    void* block = std::calloc(1, bytes == 0 ? 1 : bytes);
    if (!block) throw std::bad_alloc();
    return block;
  }
  if (bytes > static_cast<std::size_t>(-1) - 2 * kLargePage) throw std::bad_alloc();
  // A large page needs an aligned start: the mapping is made one large page
  // longer, and what lies outside the aligned block is given back at once.
  const std::size_t length = LargeLength(bytes);
  void* const mapped = mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE,
                            MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const std::uintptr_t begin = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t start = (begin + kLargePage - 1) & ~(kLargePage - 1);
  const std::uintptr_t end = begin + length + kLargePage;
  if (start > begin) munmap(mapped, start - begin);
  if (end > start + length) munmap(reinterpret_cast<void*>(start + length), end - start - length);
  void* const block = reinterpret_cast<void*>(start);
#ifdef MADV_HUGEPAGE
  (void)madvise(block, length, MADV_HUGEPAGE);
#endif
  return block;
}

void FreeLarge(void* block, std::size_t bytes) noexcept {
  if (!block) return;
  if (bytes < kLargeBlock || kHeapBlocksOnly)
    std::free(block);
  else
    munmap(block, LargeLength(bytes));
}

namespace {

template <typename Text>
bool ReadInto(const std::string& path, Text& data) {
  data.clear();
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  // Room for the size the file has; a file that grows (or reports no size,
  // as pipes do) makes the string grow.
  struct stat st;
  if (fstat(fd, &st) == 0 && st.st_size > 0) {
    const std::size_t capacity = static_cast<std::size_t>(st.st_size) + 1;
    data.reserve(capacity);
    Prefault(data.data(), capacity);
  }
  // The file is read through a small buffer and copied from there. Fresh
  // memory is paid for at its first access, and on some virtual machines
  // once more when the kernel first writes it; a copy made here leaves only
  // the program's own first access.
  char chunk[1 << 16];
  for (;;) {
    ssize_t n = read(fd, chunk, sizeof chunk);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      int saved = errno;
      close(fd);
      data.clear();
      errno = saved;
      return false;
    }
    data.append(chunk, static_cast<std::size_t>(n));
  }
  close(fd);
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& data) { return ReadInto(path, data); }

bool ReadWholeFile(const std::string& path, LargeString& data) { return ReadInto(path, data); }

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

}  // namespace

namespace {

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

// Starts writing the bytes just written out to the disk, without waiting. The
// file system would otherwise write all of the new file when it replaces the
// old one (ext4 does, so that a crash cannot leave an empty file), and the
// rename would wait for that; done here, it overlaps with generating.
void StartWriteback(int fd, off_t offset, std::size_t bytes) {
#ifdef SYNC_FILE_RANGE_WRITE
  (void)sync_file_range(fd, offset, static_cast<off_t>(bytes), SYNC_FILE_RANGE_WRITE);
#else
  (void)fd;
  (void)offset;
  (void)bytes;
#endif
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
constexpr std::uintptr_t kCacheLine = 64;

__attribute__((target("clflushopt"))) void FlushLines(const char* from, const char* to) {
  for (; from < to; from += kCacheLine) _mm_clflushopt(const_cast<char*>(from));
}

bool HasFlushInstruction() {
  unsigned a = 0, b = 0, c = 0, d = 0;
  return __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b & bit_CLFLUSHOPT) != 0;
}
#endif

// Takes bytes that were just written out of every processor's cache. The
// kernel copied them into the page cache on this thread, which leaves a
// shared copy of each of their lines in this processor's cache; the
// generator, filling the same buffer again a few blocks later, would first
// have to take every line back from here, and on a two-processor virtual
// machine that made generating a 700 MB unit two to three times slower.
// Flushed lines come back from memory instead, which the processor fetches
// ahead. A hint: nothing happens where the processor has no such flush.
void EvictFromCaches(std::string_view bytes) {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  static const bool available = HasFlushInstruction();
  if (!available || bytes.empty()) return;
  const auto start = reinterpret_cast<std::uintptr_t>(bytes.data()) & ~(kCacheLine - 1);
  FlushLines(reinterpret_cast<const char*>(start), bytes.data() + bytes.size());
#else
  (void)bytes;
#endif
}

// Whether every page of the open file that is in the page cache is clean,
// so that dropping them writes nothing; false when the system cannot say.
bool CachedPagesAllClean(int fd) {
#if defined(__linux__) && !defined(__alpha__)
  // cachestat(2), Linux 6.5 and later; older headers do not know it yet, and
  // its number is the same on every architecture but Alpha.
  struct Range {
    std::uint64_t offset;
    std::uint64_t length;  // 0: to the end of the file
  } range = {0, 0};
  struct Stat {
    std::uint64_t cache, dirty, writeback, evicted, recentlyEvicted;
  } stat = {};
  constexpr long kCachestat = 451;
  return syscall(kCachestat, fd, &range, &stat, 0) == 0 && stat.dirty == 0 &&
         stat.writeback == 0;
#else
  (void)fd;
  return false;
#endif
}

// The file about to be replaced goes with all its bytes, so the page cache
// memory that holds them is given back before the new file is written, which
// can then reuse it instead of taking as much again (on a virtual machine,
// memory not used for a while can be slow to take back). Only a file whose
// cached pages are all clean is dropped: dirty ones would first be written
// out, only to be thrown away.
void DropCachedPages(const std::string& path) {
#ifdef POSIX_FADV_DONTNEED
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return;
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && CachedPagesAllClean(fd))
    (void)posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  close(fd);
#else
  (void)path;
#endif
}

}  // namespace

// A second thread writes the unit while the generator fills its next
// buffers, so that generating and copying into the file system overlap
// instead of adding up. Up to kQueuedWrites writes wait or are under way, in
// the order they came; Post waits while that many are.
struct ReplacementFile::Background {
  // `replaced` names the file that the new one replaces; empty for none.
  Background(int file, std::string replaced) : fd(file), old(std::move(replaced)) {
    thread = std::thread([this] { Run(); });
  }
  ~Background() { Stop(); }

  // Hands `bytes` to the thread; the errno of an earlier failed write, or 0.
  int Post(std::string_view bytes) {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return queued < kQueuedWrites; });
    if (error != 0) return error;
    jobs[(first + queued) % kQueuedWrites] = bytes;
    ++queued;
    changed.notify_all();
    return 0;
  }

  // Waits until every write is done; the errno of a failed write, or 0.
  int Wait() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return queued == 0; });
    return error;
  }

  // Finishes the writes handed over, or with `drop` the write under way
  // only, and ends the thread.
  void Stop(bool drop = false) noexcept {
    {
      std::lock_guard<std::mutex> lock(mutex);
      stopping = true;
      dropping = drop;
    }
    changed.notify_all();
    if (thread.joinable()) thread.join();
  }

  void Run() {
    if (!old.empty()) DropCachedPages(old);
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
      changed.wait(lock, [this] { return queued > 0 || stopping; });
      if (queued == 0) return;
      const std::string_view bytes = jobs[first];
      const bool skip = error != 0 || dropping;
      lock.unlock();
      // After a failure the rest is not written, as the run fails anyway;
      // nor is what waits when the file is being thrown away.
      const int failed = skip ? 0 : WriteAll(fd, bytes);
      if (!skip && failed == 0) StartWriteback(fd, written, bytes.size());
      if (!skip) EvictFromCaches(bytes);
      written += static_cast<off_t>(bytes.size());
      lock.lock();
      if (error == 0) error = failed;
      first = (first + 1) % kQueuedWrites;
      --queued;
      changed.notify_all();
    }
  }

  const int fd;
  const std::string old;
  off_t written = 0;
  std::mutex mutex;
  std::condition_variable changed;
  std::string_view jobs[kQueuedWrites];  // a ring: `queued` jobs from `first` on
  std::size_t first = 0;
  std::size_t queued = 0;
  bool stopping = false;
  bool dropping = false;  // the file is thrown away: write no more
  int error = 0;  // errno of the first failed write
  std::thread thread;
};

ReplacementFile::ReplacementFile(std::string target) : target_(std::move(target)) {
  const std::string file = ResolveLinks(target_);
  const bool exists = access(file.c_str(), F_OK) == 0;
  if (exists && access(file.c_str(), W_OK) != 0)
    throw IoError(target_ + ConsoleText(" に書き込めません: ") + LastErrorText());
  // A short temporary name in the target's folder: the final rename never
  // crosses file systems, and long target names still fit.
  std::string pattern = FolderOf(file) + "/.tamsel-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) throw IoError(target_ + ConsoleText(" を作成できません: ") + LastErrorText());
  handle_ = fd;
  try {
    temp_.assign(name.data());
    final_ = file;
  } catch (...) {
    close(fd);
    unlink(name.data());
    throw;
  }
  // Without a second thread every write is simply made in the caller's.
  try {
    background_ = std::make_unique<Background>(fd, exists ? file : std::string());
  } catch (const std::exception&) {
  }
}

ReplacementFile::~ReplacementFile() { Discard(); }

void ReplacementFile::Write(std::string_view bytes) {
  const int failed =
      background_ ? background_->Post(bytes) : WriteAll(static_cast<int>(handle_), bytes);
  if (failed != 0)
    throw IoError(target_ + ConsoleText(" に書き込めません: ") + std::strerror(failed));
}

void ReplacementFile::Wait() {
  const int failed = background_ ? background_->Wait() : 0;
  if (failed != 0)
    throw IoError(target_ + ConsoleText(" に書き込めません: ") + std::strerror(failed));
}

void ReplacementFile::Commit() {
  Wait();
  background_.reset();
  int fd = static_cast<int>(handle_);
  struct stat st;
  const bool exists = stat(final_.c_str(), &st) == 0;
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
  if (fchmod(fd, mode) != 0 || close(fd) != 0) {
    handle_ = -1;
    throw IoError(target_ + ConsoleText(" に書き込めません: ") + LastErrorText());
  }
  handle_ = -1;
  if (rename(temp_.c_str(), final_.c_str()) != 0)
    throw IoError(target_ + ConsoleText(" に書き込めません: ") + LastErrorText());
  temp_.clear();
}

void ReplacementFile::Discard() noexcept {
  if (background_) background_->Stop(true);
  background_.reset();
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
