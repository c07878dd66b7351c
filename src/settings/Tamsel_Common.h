// The settings file: a private-profile (INI) file read and written with the
// rules of Windows' own profile functions, and the INI class on top of it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

/// Longest value a read gives back, in bytes.
inline constexpr std::size_t kProfileValueMax = 2047;

/// Looks a key up in profile text. Section and key names compare without
/// regard to ASCII letter case, spaces and tabs around names and values are
/// ignored, one matching pair of quotes around a value is removed, lines
/// starting with ";" are comments, and the first section and the first key
/// of a name win. Returns false when the section or the key is missing.
bool ProfileLookup(std::string_view text, std::string_view section, std::string_view key,
                   std::string& value);

/// Returns `text` with `key` of `section` set to `value`: an existing value is
/// replaced in place, a new key goes to the end of its section, a new section
/// to the end of the text. Every other line keeps its bytes; new lines end in
/// CR LF.
std::string ProfileUpdate(std::string_view text, std::string_view section, std::string_view key,
                          std::string_view value);

/// Parses an integer the way the settings file stores one: an optional sign,
/// then decimal digits, or hexadecimal digits after "$" or "0x". False when
/// the text is not such a number or does not fit in 32 bits.
bool ParseProfileInt(std::string_view text, std::int32_t& value);

/// The text of a settings file; empty when it is missing or cannot be read
/// (a later write then refuses to replace it).
std::string ReadProfileText(const std::string& file);

/// Replaces the settings file with `text`, atomically; throws
/// platform::IoError("<file> に書き込めません") when it cannot, or when the
/// existing file cannot be read (so it is never replaced unseen).
void WriteProfileText(const std::string& file, std::string_view text);

/// The four profile operations on a file, each reading the file afresh.
/// A missing or unreadable file reads as empty; a write replaces the file
/// atomically and throws platform::IoError("<file> に書き込めません") when it
/// cannot, or when the existing file cannot be read.
std::string GetProfileString(const std::string& file, std::string_view section,
                             std::string_view key, std::string_view def);
std::int32_t GetProfileInt(const std::string& file, std::string_view section, std::string_view key,
                           std::int32_t def);
void WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value);

/// The INI class of the settings: the profile operations on one file, plus
/// the write-only-if-changed pair.
class TIniFileMine {
 public:
  explicit TIniFileMine(std::string fileName) : fileName_(std::move(fileName)) {}

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const;
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const;
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);

  /// Writes only when the stored value differs from `value` (a missing key
  /// always differs).
  void CheckWriteString(std::string_view section, std::string_view key, std::string_view value);
  void CheckWriteInteger(std::string_view section, std::string_view key, std::int32_t value);

  const std::string& FileName() const { return fileName_; }

 private:
  std::string fileName_;
};
