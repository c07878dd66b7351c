#include "model/PascalWords.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/Ascii.h"

namespace {

// The words Free Pascal refuses as names of parameters or variables in Delphi
// mode (its reserved words, and "constref" and "out", which are parameter
// modifiers there), and "inline", which Delphi reserves too. Sorted, in
// lower case.
constexpr std::array<std::string_view, 68> kReservedWords = {
    "and", "array", "as", "asm", "begin", "bitpacked", "case", "class", "const", "constref",
    "constructor", "destructor", "dispinterface", "div", "do", "downto", "else", "end", "except",
    "exports", "file", "finalization", "finally", "for", "function", "goto", "if",
    "implementation", "in", "inherited", "initialization", "inline", "interface", "is", "label",
    "library", "mod", "nil", "not", "object", "of", "or", "otherwise", "out", "packed",
    "procedure", "program", "property", "raise", "record", "repeat", "resourcestring", "set",
    "shl", "shr", "string", "then", "threadvar", "to", "try", "type", "unit", "until", "uses",
    "var", "while", "with", "xor"};

// Lower case. The date and time types are floating values too (days since
// 1899-12-30), written as numbers.
constexpr std::array<std::string_view, 20> kNumericTypes = {
    "integer", "shortint", "smallint", "longint", "int64",  "byte",     "word",     "longword",
    "cardinal", "uint64",  "nativeint", "nativeuint", "single", "double", "extended", "currency",
    "real", "tdatetime", "tdate", "ttime"};

}  // namespace

bool IsReservedWord(std::string_view word) {
  // Every reserved word is 2 to 14 letters ("implementation" is the longest).
  char lower[14];
  if (word.size() < 2 || word.size() > sizeof lower) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    lower[i] = texts::LowerAscii(word[i]);
    if (lower[i] < 'a' || lower[i] > 'z') return false;
  }
  return std::binary_search(kReservedWords.begin(), kReservedWords.end(),
                            std::string_view(lower, word.size()));
}

bool IsNumericType(std::string_view type) {
  return texts::SameTextAsAny(type, kNumericTypes);
}

bool IsBooleanType(std::string_view type) { return texts::SameTextAscii(type, "boolean"); }

bool IsStandardRootClass(std::string_view name) {
  static constexpr std::array<std::string_view, 3> kRoots = {"TObject", "TPersistent",
                                                             "TInterfacedObject"};
  return texts::SameTextAsAny(name, kRoots);
}

std::string_view StandardUnitOf(std::string_view name) {
  // The classes of the Classes unit a class of options may derive from.
  static constexpr std::array<std::string_view, 14> kClassesUnit = {
      "TPersistent", "TInterfacedPersistent", "TComponent", "TCollection", "TCollectionItem",
      "TOwnedCollection", "TStrings", "TStringList", "TList", "TThreadList", "TThread",
      "TStream", "TMemoryStream", "TFileStream"};
  return texts::SameTextAsAny(name, kClassesUnit) ? std::string_view("Classes") : std::string_view();
}

namespace {

constexpr std::array<std::string_view, 5> kStringTypes = {"string", "ansistring", "widestring",
                                                         "unicodestring", "shortstring"};
constexpr std::array<std::string_view, 3> kCharTypes = {"char", "ansichar", "widechar"};


// The type an alias names in Delphi mode, in lower case.
std::string CanonicalType(std::string_view type) {
  std::string lower = texts::LowerAscii(type);
  if (lower == "integer") return "longint";
  if (lower == "cardinal") return "longword";
  if (lower == "string") return "ansistring";
  if (lower == "char") return "ansichar";
  return lower;
}

struct IntegerRange {
  std::string_view type;
  std::uint64_t negative;  // the largest magnitude below zero
  std::uint64_t positive;
};

constexpr std::uint64_t kMax64 = ~std::uint64_t{0};
constexpr std::array<IntegerRange, 12> kIntegerRanges = {{
    {"shortint", 128, 127},
    {"smallint", 32768, 32767},
    {"integer", 2147483648u, 2147483647u},
    {"longint", 2147483648u, 2147483647u},
    {"int64", std::uint64_t{1} << 63, (std::uint64_t{1} << 63) - 1},
    {"nativeint", std::uint64_t{1} << 63, (std::uint64_t{1} << 63) - 1},
    {"byte", 0, 255},
    {"word", 0, 65535},
    {"longword", 0, 4294967295u},
    {"cardinal", 0, 4294967295u},
    {"uint64", 0, kMax64},
    {"nativeuint", 0, kMax64},
}};

// Reads digits of `base` from `text` at `pos` into `value`; false when there
// are none. `overflow` is set when the number does not fit 64 bits.
bool ReadDigits(std::string_view text, std::size_t& pos, unsigned base, std::uint64_t& value,
                bool& overflow) {
  const std::size_t start = pos;
  for (; pos < text.size(); ++pos) {
    const int digitValue = texts::DigitValue(text[pos], base);
    if (digitValue < 0) break;
    const auto digit = static_cast<std::uint64_t>(digitValue);
    if (value > (kMax64 - digit) / base) overflow = true;
    value = value * base + digit;
  }
  return pos > start;
}

// Reads a decimal point and digits, and an exponent, after the digits of a
// number; true when there was either.
bool ReadFraction(std::string_view text, std::size_t& pos) {
  std::uint64_t ignored = 0;
  bool overflow = false;
  bool fraction = false;
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    ReadDigits(text, pos, 10, ignored, overflow);
    fraction = true;
  }
  if (pos < text.size() && texts::LowerAscii(text[pos]) == 'e') {
    std::size_t exponent = pos + 1;
    if (exponent < text.size() && (text[exponent] == '-' || text[exponent] == '+')) ++exponent;
    if (ReadDigits(text, exponent, 10, ignored, overflow)) {
      pos = exponent;
      fraction = true;
    }
  }
  return fraction;
}

}  // namespace

bool IsStringType(std::string_view type) { return texts::SameTextAsAny(type, kStringTypes); }
bool IsCharType(std::string_view type) { return texts::SameTextAsAny(type, kCharTypes); }

bool IsStorableType(std::string_view type) {
  return IsStringType(type) || IsBooleanType(type) || IsNumericType(type);
}

bool SameType(std::string_view a, std::string_view b) {
  return texts::SameTextAscii(a, b) || CanonicalType(a) == CanonicalType(b);
}

bool IsIdentifier(std::string_view text) {
  // Free Pascal takes identifiers of up to 255 characters.
  if (text.empty() || text.size() > 255 || (text[0] >= '0' && text[0] <= '9')) return false;
  return std::all_of(text.begin(), text.end(), [](char c) {
    const char lower = texts::LowerAscii(c);
    return (lower >= 'a' && lower <= 'z') || (c >= '0' && c <= '9') || c == '_';
  });
}

bool IsQualifiedName(std::string_view text) {
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t dot = std::min(text.find('.', start), text.size());
    const std::string_view part = text.substr(start, dot - start);
    if (!IsIdentifier(part) || IsReservedWord(part)) return false;
    start = dot + 1;
  }
  return true;
}

TNumberText JudgeNumber(std::string_view type, std::string_view value) {
  value = texts::TrimBlanks(value);
  const auto range =
      std::find_if(kIntegerRanges.begin(), kIntegerRanges.end(),
                   [&](const IntegerRange& r) { return texts::SameTextAscii(type, r.type); });
  const bool integerType = range != kIntegerRanges.end();
  std::size_t pos = 0;
  const bool negative = !value.empty() && value[0] == '-';
  if (!value.empty() && (value[0] == '-' || value[0] == '+')) ++pos;
  const std::size_t start = pos;
  std::uint64_t number = 0;
  bool overflow = false;
  bool digits = false;
  bool hexadecimal = false;
  bool fraction = false;  // a decimal point or an exponent
  if (pos < value.size() && (value[pos] == '$' || value[pos] == '&')) {
    hexadecimal = value[pos] == '$';
    ++pos;
    digits = ReadDigits(value, pos, hexadecimal ? 16 : 8, number, overflow);
  } else {
    digits = ReadDigits(value, pos, 10, number, overflow);
    fraction = digits && ReadFraction(value, pos);
  }
  if (digits && pos == value.size()) {
    if (!integerType) {
      // Currency holds 64-bit integers of ten-thousandths.
      if (!texts::SameTextAscii(type, "currency")) return TNumberText::kLiteral;
      const double magnitude = std::strtod(std::string(value.substr(start)).c_str(), nullptr);
      return magnitude <= 922337203685477.5807 ? TNumberText::kLiteral : TNumberText::kOutOfRange;
    }
    if (fraction) return TNumberText::kMalformed;  // no integer
    // A hexadecimal literal names the bits of a 64-bit integer.
    const bool bits64 = hexadecimal && range->positive >= (std::uint64_t{1} << 63) - 1;
    const std::uint64_t limit = negative ? range->negative : bits64 ? kMax64 : range->positive;
    return !overflow && number <= limit ? TNumberText::kLiteral : TNumberText::kOutOfRange;
  }
  // Not one number: a name such as MaxInt, or an expression, is written as
  // it stands and may well compile; digits followed by anything but an
  // operator cannot.
  if (start == value.size()) return TNumberText::kMalformed;
  const char first = texts::LowerAscii(value[start]);
  if ((first >= 'a' && first <= 'z') || first == '_' || first == '(')
    return TNumberText::kExpression;
  if (!digits) return TNumberText::kMalformed;
  const std::size_t next = std::min(value.find_first_not_of(" \t", pos), value.size());
  return next < value.size() && std::string_view("+-*/").find(value[next]) != std::string_view::npos
             ? TNumberText::kExpression
             : TNumberText::kMalformed;
}
