#include "platform/TextFile.h"

#include <cstring>

namespace platform {

namespace {
constexpr char kCtrlZ = '\x1a';
}

TextReader::TextReader(std::span<char> text)
    : data_(text.data()),
      size_(text.size()),
      nextCr_(NextOf('\r', 0)),
      nextCtrlZ_(NextOf(kCtrlZ, 0)) {}

// The position of the first `c` at or after `from`, or the text's size.
std::size_t TextReader::NextOf(char c, std::size_t from) const {
  if (from >= size_) return size_;
  const void* hit = std::memchr(data_ + from, c, size_ - from);
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - data_) : size_;
}

std::string_view TextReader::ReadLine() {
  char* const data = data_;
  const std::size_t size = size_;
  const std::size_t lineEnd = NextOf('\n', pos_);
  const std::size_t next = lineEnd < size ? lineEnd + 1 : size;
  if (nextCtrlZ_ < pos_) nextCtrlZ_ = NextOf(kCtrlZ, pos_);
  const std::size_t end = nextCtrlZ_ < lineEnd ? nextCtrlZ_ : lineEnd;
  std::size_t length = end - pos_;
  if (nextCr_ < pos_) nextCr_ = NextOf('\r', pos_);
  if (nextCr_ < end) {
    std::size_t to = nextCr_ - pos_;
    for (std::size_t from = to + 1; from < length; ++from)
      if (data[pos_ + from] != '\r') data[pos_ + to++] = data[pos_ + from];
    length = to;
    nextCr_ = NextOf('\r', next);
  }
  const std::string_view line(data + pos_, length);
  pos_ = next;
  return line;
}

bool TextReader::Eof() const { return pos_ >= size_ || data_[pos_] == kCtrlZ; }

}  // namespace platform
