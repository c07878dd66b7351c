#include "text/Ascii.h"

#include <algorithm>

namespace texts {

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = LowerAscii(c);
  return out;
}

bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  // From the end: names of one definition often share their beginnings.
  for (std::size_t i = a.size(); i-- > 0;)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

int CompareCaseFree(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char x = LowerAscii(a[i]), y = LowerAscii(b[i]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool SameTextAsAny(std::string_view text, std::span<const std::string_view> words) {
  for (std::string_view word : words)
    if (SameTextAscii(text, word)) return true;
  return false;
}

std::size_t CaseFreeHash::Continue(std::size_t hash, std::string_view piece) noexcept {
  for (char c : piece) hash = (hash ^ static_cast<unsigned char>(LowerAscii(c))) * 1099511628211ull;
  return hash;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

int DigitValue(char c, unsigned base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  const char lower = LowerAscii(c);
  if (lower >= 'a' && lower <= 'f') value = lower - 'a' + 10;
  return value >= 0 && static_cast<unsigned>(value) < base ? value : -1;
}

bool ParseInt32(std::string_view text, IntegerSyntax syntax, std::int32_t& value) {
  std::size_t i = 0;
  if (syntax.leadingSpaces)
    while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  unsigned base = 10;
  if (i < text.size() && (text[i] == '$' || (syntax.bareX && LowerAscii(text[i]) == 'x'))) {
    base = 16;
    i += 1;
  } else if (i + 1 < text.size() && text[i] == '0' && LowerAscii(text[i + 1]) == 'x') {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return false;
  std::uint64_t n = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i], base);
    if (digit < 0) return false;
    n = n * base + static_cast<unsigned>(digit);
    if (n > 0xFFFFFFFFull) return false;
  }
  if (base == 10) {
    if (n > (negative ? 2147483648ull : 2147483647ull)) return false;
    value = static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(n)
                                               : static_cast<std::int64_t>(n));
    return true;
  }
  std::uint32_t bits = static_cast<std::uint32_t>(n);
  if (negative) bits = 0u - bits;
  value = static_cast<std::int32_t>(bits);
  return true;
}

}  // namespace texts
