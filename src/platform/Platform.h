// The small layer over the operating system. Everything that differs between
// POSIX and Windows is behind these functions; the rest of the program is
// portable C++.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// Raised for input/output failures; the message is ready for the console
/// (its fixed text already in the console encoding, file names as they are).
class IoError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// Full path of the running executable, as the system reports it; `argv0`
/// (the program name the process was started with) when the system cannot.
std::string ExecutablePath(const char* argv0);

/// True for the characters that separate folders in a path on this system.
bool IsPathSeparator(char c);

/// The platform's executable suffix: ".exe" on Windows, empty elsewhere.
std::string_view ExecutableSuffix();

/// True when a regular file exists at `path` (a folder does not count).
bool IsRegularFile(const std::string& path);

/// True when both paths exist and name the same file (device and inode, or
/// volume serial and file index), whatever links or letter case lead there.
bool SameFile(const std::string& a, const std::string& b);

/// Zeroed memory for a large block that lives long and is read all over: the
/// definition text, the field store and its index. A block of a megabyte or
/// more is placed where the system can back it with large pages, so that it
/// costs one trap and one address-translation entry per 2 MB instead of one
/// per 4 KB page. Throws std::bad_alloc.
void* AllocateLarge(std::size_t bytes);
/// Frees a block of AllocateLarge; `bytes` is the size that was asked for.
void FreeLarge(void* block, std::size_t bytes) noexcept;

/// Frees a block of AllocateLarge that holds `bytes` bytes; a deleter for
/// std::unique_ptr.
struct LargeFree {
  std::size_t bytes;
  void operator()(void* block) const noexcept { FreeLarge(block, bytes); }
};

/// A standard allocator over AllocateLarge, for containers of large blocks.
template <typename T>
struct LargeAllocator {
  using value_type = T;
  LargeAllocator() = default;
  template <typename U>
  LargeAllocator(const LargeAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    return static_cast<T*>(AllocateLarge(n * sizeof(T)));
  }
  void deallocate(T* block, std::size_t n) noexcept { FreeLarge(block, n * sizeof(T)); }
  template <typename U>
  bool operator==(const LargeAllocator<U>&) const noexcept {
    return true;
  }
};

/// A text held in large-block memory.
using LargeString = std::basic_string<char, std::char_traits<char>, LargeAllocator<char>>;

/// Reads the whole file into `data`; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& data);
bool ReadWholeFile(const std::string& path, LargeString& data);

/// Makes the memory of `bytes` bytes at `block`, which the caller is about to
/// write, present at once. Where each first touch of a page costs a trap,
/// one call is far cheaper than a trap per page. A hint: nothing changes
/// where the system cannot do it.
void Prefault(void* block, std::size_t bytes);

/// True when something (a file, a folder, a link) exists at `path`.
bool PathExists(const std::string& path);

/// Text of the last system error, for failure reports.
std::string LastErrorText();

/// A file written beside its final path and moved over it only on Commit, so
/// that the final path holds either its old bytes or all of the new ones.
/// An uncommitted file is removed when the object goes away. A target that
/// is a symbolic link is resolved, so the file the link leads to is replaced;
/// an existing target that may not be written is refused, as writing it in
/// place would be.
class ReplacementFile {
 public:
  /// Creates the temporary file in the folder of `target`; throws IoError.
  explicit ReplacementFile(std::string target);
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  /// How many writes may still be going on when Write returns.
  static constexpr std::size_t kQueuedWrites = 3;

  /// Appends bytes. Where the system allows, the write goes on in the
  /// background and the call returns at once, so the caller can prepare the
  /// next bytes meanwhile: `bytes` must then stay unchanged until
  /// kQueuedWrites more calls of Write, or a call of Wait, Commit or Discard,
  /// have returned. Throws IoError, for this write or for an earlier one that
  /// failed in the background.
  void Write(std::string_view bytes);
  /// Returns once no write is under way; throws IoError as Write does.
  void Wait();
  /// Closes the temporary file, gives it the mode the target has (or the
  /// usual mode of a new file) and renames it over the target; throws IoError.
  void Commit();
  /// Closes and removes the temporary file; never throws.
  void Discard() noexcept;

  const std::string& Target() const { return target_; }

 private:
  // The background writer, on systems that have one.
  struct Background;

  std::string target_;  // the path as given, for messages
  std::string final_;   // the file that is replaced (links resolved)
  std::string temp_;
  std::intptr_t handle_ = -1;
  std::unique_ptr<Background> background_;
};

/// A file name or path as the console shows it: unchanged on POSIX, where
/// names are bytes; converted from the program's UTF-8 on Windows.
std::string ConsolePath(std::string_view path);

/// A file name as it is written into a generated file, next to the bytes of
/// the definition file: unchanged on POSIX; on Windows in the system's ANSI
/// code page (Shift-JIS on a Japanese system) when it can hold the name.
std::string FileNameText(std::string_view name);

/// The program's arguments, without the program name: as given on POSIX, as
/// UTF-8 on Windows (so names in any language survive).
std::vector<std::string> Arguments(int argc, char** argv);

/// Converts text held as UTF-8 in the program into the encoding the console
/// reader expects (the locale's character set, or the console code page on
/// Windows). Text that cannot be converted is returned unchanged.
std::string ConsoleText(std::string_view utf8);

/// Converts UTF-8 into the named character set; false when the converter
/// does not know the set or a character has no form in it.
bool ConvertFromUtf8(std::string_view utf8, const char* charset, std::string& out);

/// Prepares the process: console output in the user's locale, and a file
/// that outgrows the system's size limit for this process failing to be
/// written, like any other write error, rather than ending the process
/// before it could remove its temporary file.
void InitProcess();

}  // namespace platform
