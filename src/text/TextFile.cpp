#include "text/TextFile.h"

#include <algorithm>

namespace texts {

namespace {
constexpr char kCtrlZ = '\x1a';
}

std::span<char> SkipByteOrderMark(std::span<char> text, bool& hadMark) {
  hadMark = std::string_view(text.data(), text.size()).starts_with(kUtf8ByteOrderMark);
  return hadMark ? text.subspan(kUtf8ByteOrderMark.size()) : text;
}

TextReader::TextReader(std::span<char> text)
    : data_(text.data()), size_(text.size()) {}

std::string_view TextReader::ReadLine() {
  ++line_;
  char* const start = data_ + pos_;
  const std::string_view rest(start, size_ - pos_);
  const std::size_t lineEnd = std::min(rest.find('\n'), rest.size());
  pos_ += lineEnd < rest.size() ? lineEnd + 1 : lineEnd;
  std::string_view line = rest.substr(0, lineEnd);
  line = line.substr(0, line.find(kCtrlZ));
  if (line.find('\r') == std::string_view::npos) return line;
  // CRs are removed where they stand: the rest of the line moves left.
  std::size_t length = 0;
  for (char c : line)
    if (c != '\r') start[length++] = c;
  return {start, length};
}

bool TextReader::Eof() const { return pos_ >= size_ || data_[pos_] == kCtrlZ; }

}  // namespace texts
