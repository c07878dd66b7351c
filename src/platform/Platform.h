// Everything that differs between POSIX and Windows; a call that can fail returns a Status.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// An input/output failure; the message is ready for the console.
struct IoError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

/// Why a call failed: the system's error number (errno, a Windows error code); 0 if it did not.
struct Status {
  int code = 0;
  bool Ok() const { return code == 0; }
  std::string Text() const;  ///< the system's message for `code`, ready for the console
};

/// What a path leads to (links followed): nothing, a regular file, or a folder, FIFO or device.
enum class PathKind { kMissing, kRegular, kOther };
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
/// Reads a whole regular file into `data` (empty on failure); a FIFO or a device is never read.
ReadResult ReadRegularFile(const std::string& path, std::string& data);

enum class FileFailure { kRead, kCreate, kWrite, kNotRegular };
/// "<path> を読み込めません: <reason>" and the like, for the console; no ": <reason>" if empty.
IoError FileError(std::string_view path, FileFailure failure, std::string_view reason);

/// A file written beside its target and renamed over it only on Commit: the target holds its old
/// bytes or all of the new ones. A link is resolved; a target that is no regular file, or may not
/// be written, is refused. An uncommitted file leaves nothing: on Linux it has no name until
/// Commit (O_TMPFILE); elsewhere it is removed on destruction and on SIGINT, SIGTERM and SIGHUP
/// (Ctrl-C, Ctrl-Break on Windows). All but Discard throw IoError, naming the target.
class ReplacementFile {
 public:
  /// Creates the temporary file in the target's folder; a failure is reported as `createFailure`.
  explicit ReplacementFile(std::string target, FileFailure createFailure = FileFailure::kCreate);
  ~ReplacementFile() { Discard(); }
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  void Write(std::string_view bytes);
  void Commit();  ///< gives the file the target's mode (or a new file's) and renames it into place
  void Discard() noexcept;  ///< closes and removes the temporary file

 private:
  [[noreturn]] void Fail(FileFailure failure, Status reason = {});  // Discard, then throw FileError
  std::string target_;  // the path as given, for messages
  std::string final_;   // the file that is replaced (links resolved)
  std::string temp_;    // the temporary file's name; empty while it has none
  std::intptr_t handle_ = -1;
  int cleanupSlot_ = -1;  // where an interruption finds temp_ to remove it
};

/// Full path of the running executable; `argv0` when the system cannot tell.
std::string ExecutablePath(const char* argv0);
/// '/', and on Windows '\\' and ':' too.
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
/// ConsoleText's converter (iconv): UTF-8 into the named set; nothing if it cannot hold the text.
std::optional<std::string> ConvertFromUtf8(std::string_view utf8, const char* charset);
#endif
Status WriteStandardOutput(std::string_view bytes);  ///< appends to standard output (buffered)
Status FlushStandardOutput();  ///< hands what standard output holds to the system
/// Console output in the user's locale; temporary files removed on interruption; a file outgrowing
/// the size limit fails to be written rather than ending the process before it removed them.
void InitProcess();

}  // namespace platform
