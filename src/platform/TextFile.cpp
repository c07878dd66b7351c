#include "platform/TextFile.h"

#include <cstring>

namespace platform {

namespace {
constexpr char kCtrlZ = '\x1a';
}

TextReader::TextReader(std::string& text)
    : text_(text), nextCr_(NextOf('\r', 0)), nextCtrlZ_(NextOf(kCtrlZ, 0)) {}

// The position of the first `c` at or after `from`, or the text's size.
std::size_t TextReader::NextOf(char c, std::size_t from) const {
  if (from >= text_.size()) return text_.size();
  const void* hit = std::memchr(text_.data() + from, c, text_.size() - from);
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data())
             : text_.size();
}

std::string_view TextReader::ReadLine() {
  char* const data = text_.data();
  const std::size_t size = text_.size();
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

bool TextReader::Eof() const { return pos_ >= text_.size() || text_[pos_] == kCtrlZ; }

}  // namespace platform
