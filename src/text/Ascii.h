// Text rules that look only at ASCII: letter case, and integers written the
// Pascal way. The settings file, the switches and the definition's boolean
// values share them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace texts {

/// `c` in lower case when it is an ASCII capital letter; any other byte as it is.
inline char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}
/// The text with its ASCII capital letters in lower case.
std::string LowerAscii(std::string_view text);
/// Whether the texts are equal when ASCII letter case is ignored.
bool SameTextAscii(std::string_view a, std::string_view b);
/// Orders texts as SameTextAscii compares them: negative, zero or positive
/// as `a` comes before, with or after `b`, ASCII letter case aside.
int CompareCaseFree(std::string_view a, std::string_view b);
/// Whether `text` equals one of `words` when ASCII letter case is ignored.
bool SameTextAsAny(std::string_view text, std::span<const std::string_view> words);

/// Hashing and equality that ignore ASCII letter case, as Pascal compares
/// identifiers: `std::unordered_map<std::string_view, T, CaseFreeHash,
/// CaseFreeEqual>` finds a name however it is spelt.
struct CaseFreeHash {
  std::size_t operator()(std::string_view text) const noexcept { return Continue(kStart, text); }
  /// The hash of a text made of pieces, piece by piece (FNV-1a).
  static constexpr std::size_t kStart = 14695981039346656037ull;
  static std::size_t Continue(std::size_t hash, std::string_view piece) noexcept;
};
struct CaseFreeEqual {
  bool operator()(std::string_view a, std::string_view b) const { return SameTextAscii(a, b); }
};

/// Spaces and tabs: the blanks the settings file and the definition ignore
/// around names and values.
inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }
/// The text without blanks at either end.
std::string_view TrimBlanks(std::string_view text);

/// The value of `c` as a digit of `base` (8, 10 or 16), or -1.
int DigitValue(char c, unsigned base);

/// What an integer may look like besides an optional sign and its digits.
/// Both kinds accept "$" and "0x" (either case of x) before hexadecimal digits.
struct IntegerSyntax {
  bool leadingSpaces;  ///< spaces may stand before the sign
  bool bareX;          ///< "x" alone also starts hexadecimal digits
};
/// The settings file's integers: no leading spaces, no bare "x".
inline constexpr IntegerSyntax kProfileInteger{false, false};
/// Pascal's own conversion, which reads a boolean initial value: leading
/// spaces, and "x" alone before hexadecimal digits.
inline constexpr IntegerSyntax kPascalInteger{true, true};

/// Reads a signed 32-bit integer: decimal digits within -2147483648 to
/// 2147483647, or up to 8 hexadecimal digits naming the 32 bits themselves
/// ($FFFFFFFF is -1; a sign negates them). Nothing may follow the digits.
/// False, leaving `value` alone, when the text is not such an integer.
bool ParseInt32(std::string_view text, IntegerSyntax syntax, std::int32_t& value);

}  // namespace texts
