// The small layer over the operating system. Everything that differs between
// POSIX and Windows is behind these functions; the rest of the program is
// portable C++. A call that can fail returns its reason as a Status.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// An input/output failure; the message is ready for the console.
class IoError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// Why a call failed: the system's error number (errno, a Windows error code); 0 if it did not.
struct Status {
  int code = 0;
  bool Ok() const { return code == 0; }
  /// The system's message for `code`, ready for the console.
  std::string Text() const;
};

/// What a path leads to, links followed; kMissing also when it cannot be looked at.
enum class PathKind { kMissing, kRegular, kOther };
/// What is at `path`: nothing, a regular file, or a folder, FIFO or device (a Windows device name
/// such as NUL passes for a file: reading and replacing refuse it).
PathKind KindOf(const std::string& path);
/// True when both paths exist and name the same file (device and inode, volume and file index).
bool SameFile(const std::string& a, const std::string& b);

/// What reading a whole file gave, with the system's reason unless it was read.
enum class ReadStatus { kRead, kMissing, kNotRegular, kFailed };
struct ReadResult {
  ReadStatus outcome = ReadStatus::kRead;
  Status status;
  bool Ok() const { return outcome == ReadStatus::kRead; }
};
/// Reads a whole regular file into `data`; opened without waiting and tested first, so a FIFO or
/// a device is never read.
ReadResult ReadRegularFile(const std::string& path, std::string& data);

/// What could not be done with a file.
enum class FileFailure { kRead, kCreate, kWrite, kNotRegular };
/// "<path> を読み込めません: <reason>" and the like, for the console; no ": <reason>" if empty.
IoError FileError(std::string_view path, FileFailure failure, std::string_view reason);

/// A file written beside its final path and moved over it only on Commit, so that the path holds
/// either its old bytes or all of the new ones. A link is resolved and the file it leads to
/// replaced; a target that is no regular file, or may not be written, is refused. Nothing is left
/// behind when the run ends early: on Linux the file has no name until Commit (O_TMPFILE);
/// elsewhere an uncommitted file is removed on destruction and on SIGINT, SIGTERM, SIGHUP (Ctrl-C
/// and Ctrl-Break on Windows). Every method throws IoError, naming the target, but Discard.
class ReplacementFile {
 public:
  /// Creates the temporary file in the target's folder; a failure is reported as `createFailure`.
  explicit ReplacementFile(std::string target, FileFailure createFailure = FileFailure::kCreate);
  ~ReplacementFile() { Discard(); }
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  /// Appends bytes.
  void Write(std::string_view bytes);
  /// Gives the file the target's mode (or a new file's) and renames it into place.
  void Commit();
  /// Closes and removes the temporary file.
  void Discard() noexcept;

 private:
  std::string target_;  // the path as given, for messages
  std::string final_;   // the file that is replaced (links resolved)
  std::string temp_;    // the temporary file's name; empty while it has none
  std::intptr_t handle_ = -1;
  int cleanupSlot_ = -1;  // where an interruption finds temp_ to remove it
};

/// Full path of the running executable; `argv0` when the system cannot tell.
std::string ExecutablePath(const char* argv0);
/// True for the characters that separate folders in a path on this system.
bool IsPathSeparator(char c);
/// The platform's executable suffix: ".exe" on Windows, empty elsewhere.
std::string_view ExecutableSuffix();
/// The program's arguments without the program name; UTF-8 on Windows.
std::vector<std::string> Arguments(int argc, char** argv);

/// A path as the console shows it: unchanged on POSIX, converted from UTF-8 on Windows.
std::string ConsolePath(std::string_view path);
/// A file name as written into a generated file: on Windows in the ANSI code page if it fits.
std::string FileNameText(std::string_view name);
/// UTF-8 text in the console reader's encoding; unchanged when it cannot be converted.
std::string ConsoleText(std::string_view utf8);
#ifndef _WIN32
/// ConsoleText's converter (iconv): UTF-8 into the named set; false if it cannot hold the text.
bool ConvertFromUtf8(std::string_view utf8, const char* charset, std::string& out);
#endif

/// Appends bytes to standard output (buffered).
Status WriteStandardOutput(std::string_view bytes);
/// Hands what standard output holds to the system.
Status FlushStandardOutput();

/// Console output in the user's locale; a file outgrowing the size limit fails to be written
/// rather than ending the process before it removed its temporary file.
void InitProcess();

}  // namespace platform
