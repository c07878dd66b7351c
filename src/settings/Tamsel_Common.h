// The settings file: private-profile (INI) text read and written with the rules of Windows' own
// profile functions, and the INI class on top of it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

/// Longest value a read gives back, in bytes.
inline constexpr std::size_t kProfileValueMax = 2047;

/// The value of `key` in `section`; false when it is missing. Names compare without ASCII case,
/// blanks around names and values and one pair of quotes around a value are dropped, ";" starts a
/// comment line, and the first section and key of a name win.
bool ProfileLookup(std::string_view text, std::string_view section, std::string_view key,
                   std::string& value);
/// `text` with `key` set to `value` in `section`: a value is replaced in place, a new key goes to
/// the end of its section, a new section to the end; every other line keeps its bytes, and new
/// lines end in CR LF.
std::string ProfileUpdate(std::string_view text, std::string_view section, std::string_view key,
                          std::string_view value);

/// The INI class of the settings: one settings file, read when it is created and held as text.
/// Writes change the text; UpdateFile replaces the file with it, atomically, when one did.
class TIniFileMine {
 public:
  /// Reads `fileName`; missing or unreadable, it reads as empty (and an unreadable one is never
  /// replaced). Throws platform::IoError for a file that is not regular or is UTF-16 text.
  explicit TIniFileMine(std::string fileName);
  /// Settings text already in memory, with no file behind it.
  static TIniFileMine FromText(std::string_view text);

  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  /// The value as an integer (decimal, or hexadecimal after "$" or "0x"); `def` when there is none.
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const;
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
  /// Writes only when the stored value differs (reads with a default that differs from `value`).
  void CheckWriteString(std::string_view section, std::string_view key, std::string_view value);
  void CheckWriteInteger(std::string_view section, std::string_view key, std::int32_t value);

  /// Replaces the file when a write changed the text; throws platform::IoError ("<file> に書き込めま
  /// せん: <reason>") when it cannot, or when the file exists but could not be read.
  void UpdateFile();

  const std::string& Text() const { return text_; }
  std::string TakeText() { return std::move(text_); }  ///< leaves this object empty

 private:
  TIniFileMine() = default;

  std::string fileName_;
  std::string text_;
  std::string readError_;  // why an existing file could not be read; never replaced then
  bool changed_ = false;
};
