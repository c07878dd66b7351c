#include "model/PascalWords.h"

#include <algorithm>
#include <array>
#include <string>

#include "platform/Ascii.h"

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

// Lower case.
constexpr std::array<std::string_view, 17> kNumericTypes = {
    "integer", "shortint", "smallint", "longint", "int64",  "byte",     "word",     "longword",
    "cardinal", "uint64",  "nativeint", "nativeuint", "single", "double", "extended", "currency",
    "real"};

}  // namespace

bool IsReservedWord(std::string_view word) {
  // Every reserved word is 2 to 14 letters ("implementation" is the longest).
  char lower[14];
  if (word.size() < 2 || word.size() > sizeof lower) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    lower[i] = platform::LowerAscii(word[i]);
    if (lower[i] < 'a' || lower[i] > 'z') return false;
  }
  return std::binary_search(kReservedWords.begin(), kReservedWords.end(),
                            std::string_view(lower, word.size()));
}

bool IsNumericType(std::string_view type) {
  return std::any_of(kNumericTypes.begin(), kNumericTypes.end(), [&](std::string_view numeric) {
    return platform::SameTextAscii(type, numeric);
  });
}

bool IsBooleanType(std::string_view type) { return platform::SameTextAscii(type, "boolean"); }
