// The settings file: a private-profile (INI) file read and written with the
// rules of Windows' own profile functions, and the INI class on top of it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

/// Longest value a read gives back, in bytes.
inline constexpr std::size_t kProfileValueMax = 2047;

/// Looks a key up in profile text. Section and key names compare without
/// regard to ASCII letter case, spaces and tabs around names and values are
/// ignored, one matching pair of quotes around a value is removed, lines
/// starting with ";" are comments, and the first section and the first key
/// of a name win. Returns false when the section or the key is missing.
bool ProfileLookup(std::string_view text, std::string_view section, std::string_view key,
                   std::string& value);

/// ProfileLookup for several keys of one section, in one pass over the text:
/// the value of each key, in the order of `keys`, or nothing when missing.
std::vector<std::optional<std::string>> ProfileLookupAll(std::string_view text,
                                                         std::string_view section,
                                                         std::span<const std::string_view> keys);

/// Returns `text` with `key` of `section` set to `value`: an existing value is
/// replaced in place, a new key goes to the end of its section, a new section
/// to the end of the text. Every other line keeps its bytes; new lines end in
/// CR LF.
std::string ProfileUpdate(std::string_view text, std::string_view section, std::string_view key,
                          std::string_view value);

/// One key and the value it is to get.
struct ProfileEntry {
  std::string_view key;
  std::string value;
};

/// ProfileUpdate for several different keys of one section, in one pass over
/// the text: the same text as updating them one after another, in order.
std::string ProfileUpdateAll(std::string_view text, std::string_view section,
                             std::span<const ProfileEntry> entries);

/// The INI class of the settings: one settings file, read once when it is
/// created and held as text. Reads look keys up in that text; writes change
/// the text, and UpdateFile replaces the file with it, atomically and only
/// when something changed. The write-only-if-changed pair writes nothing for
/// a key that already holds the value, so an unchanged file is never touched.
class TIniFileMine {
 public:
  /// Reads `fileName`; a missing or unreadable file reads as empty (an
  /// unreadable one is then never replaced, see UpdateFile). Throws
  /// platform::IoError, reading nothing, when it is not a regular file (a
  /// FIFO or device is never opened for long, nor read), and when it is
  /// UTF-16 text, which Windows' profile functions would read and append to
  /// in another encoding.
  explicit TIniFileMine(std::string fileName);
  /// Settings text already in memory, with no file behind it.
  static TIniFileMine FromText(std::string_view text);

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const;
  /// The value as an integer (decimal, or hexadecimal after "$" or "0x");
  /// `def` when the key is missing or holds no such integer.
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const;
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);

  /// Write only when the stored value differs from `value` (a missing key
  /// always differs): the value is read with a default that differs from it.
  void CheckWriteString(std::string_view section, std::string_view key, std::string_view value);
  void CheckWriteInteger(std::string_view section, std::string_view key, std::int32_t value);

  /// The values of several keys of one section, read in one pass.
  std::vector<std::optional<std::string>> ReadKeys(std::string_view section,
                                                   std::span<const std::string_view> keys) const;
  /// Writes several different keys of one section in one pass.
  void WriteKeys(std::string_view section, std::span<const ProfileEntry> entries);

  /// Replaces the file with the written text when a write changed it; throws
  /// platform::IoError("<file> に書き込めません: <reason>") when the file
  /// cannot be written, or when it exists but could not be read (so it is
  /// never replaced unseen).
  void UpdateFile();

  const std::string& FileName() const { return fileName_; }
  const std::string& Text() const { return text_; }
  /// Gives the text away, leaving this object empty.
  std::string TakeText() { return std::move(text_); }

 private:
  TIniFileMine() = default;

  std::string fileName_;
  std::string text_;
  std::string readError_;  // why an existing file could not be read; never replaced then
  bool changed_ = false;
};
