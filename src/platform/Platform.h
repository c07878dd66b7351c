// The small layer over the operating system. Everything that differs between
// POSIX and Windows is behind these functions; the rest of the program is
// portable C++.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

/// Raised for input/output failures; the message is ready for the console
/// (its fixed text already in the console encoding, file names as they are).
class IoError : public std::runtime_error {
 public:
  explicit IoError(const std::string& message, std::string reason = {})
      : std::runtime_error(message), reason_(std::move(reason)) {}
  /// The system's reason for the failure ("No space left on device"), when
  /// the report carries one.
  const std::string& Reason() const { return reason_; }

 private:
  std::string reason_;
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

/// What reading a whole file gave.
enum class ReadStatus { kRead, kMissing, kNotRegular, kFailed };

/// Reads the whole of a regular file into `data`. The file is opened without
/// waiting and tested before it is read, so a FIFO or a device is never read
/// (kNotRegular), even one put in place after a test of the path. kMissing
/// when nothing exists there; kFailed otherwise, with LastErrorText saying why.
ReadStatus ReadRegularFile(const std::string& path, std::string& data);

/// ReadRegularFile as a yes or no: true when the file was read.
bool ReadWholeFile(const std::string& path, std::string& data);

/// True when `path` leads (through links) to something that exists and is
/// not a regular file: a folder, a FIFO, a device.
bool IsOtherThanRegularFile(const std::string& path);

/// True when something (a file, a folder, a link) exists at `path`.
bool PathExists(const std::string& path);

/// Text of the last system error, for failure reports.
std::string LastErrorText();

/// What could not be done with a file.
enum class FileFailure { kRead, kCreate, kWrite, kNotRegular };

/// The report of a file that could not be read, created or written, or that
/// is refused because it is no regular file: "<path> を読み込めません:
/// <reason>" and the like, with the path as the console shows it and the
/// fixed text in the console's encoding; without ": <reason>" when `reason`
/// is empty.
IoError FileError(std::string_view path, FileFailure failure, std::string_view reason);

/// A file written beside its final path and moved over it only on Commit, so
/// that the final path holds either its old bytes or all of the new ones.
/// A target that is a symbolic link is resolved, so the file the link leads
/// to is replaced; an existing target that is not a regular file (a folder,
/// a FIFO, a device) is refused, and so is one that may not be written, as
/// writing it in place would be.
///
/// Nothing is left behind when the run ends early: where the system can, the
/// file has no name until Commit (Linux's O_TMPFILE), so even a killed
/// process leaves nothing; otherwise an uncommitted file is removed when the
/// object goes away, and when the process is interrupted (SIGINT, SIGTERM,
/// SIGHUP; Ctrl-C and Ctrl-Break on Windows).
class ReplacementFile {
 public:
  /// Creates the temporary file in the folder of `target`; throws IoError.
  explicit ReplacementFile(std::string target);
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  /// Appends bytes; throws IoError.
  void Write(std::string_view bytes);
  /// Closes the temporary file, gives it the mode the target has (or the
  /// usual mode of a new file) and renames it over the target; throws IoError.
  void Commit();
  /// Closes and removes the temporary file; never throws.
  void Discard() noexcept;

  const std::string& Target() const { return target_; }

 private:
  std::string target_;  // the path as given, for messages
  std::string final_;   // the file that is replaced (links resolved)
  std::string temp_;     // the temporary file's name; empty while it has none
  std::intptr_t handle_ = -1;
  int cleanupSlot_ = -1;  // where an interruption finds temp_ to remove it
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
