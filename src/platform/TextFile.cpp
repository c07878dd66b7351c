#include "platform/TextFile.h"

#include <cstring>

namespace platform {

namespace {
constexpr char kCtrlZ = '\x1a';
}

void TextReader::ReadLine(std::string& line) {
  line.clear();
  const std::size_t size = data_.size();
  const char* base = data_.data();
  std::size_t end = pos_;
  // Find the line end; memchr keeps long lines cheap.
  const void* lf = (pos_ < size) ? std::memchr(base + pos_, '\n', size - pos_) : nullptr;
  std::size_t lineEnd = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - base) : size;
  std::size_t next = lf ? lineEnd + 1 : size;
  end = lineEnd;
  // Ctrl-Z cuts the line; what follows it up to the line end is skipped.
  const void* z = (end > pos_) ? std::memchr(base + pos_, kCtrlZ, end - pos_) : nullptr;
  if (z) end = static_cast<std::size_t>(static_cast<const char*>(z) - base);
  std::string_view raw = data_.substr(pos_, end - pos_);
  if (raw.find('\r') == std::string_view::npos) {
    line.assign(raw);
  } else {
    line.reserve(raw.size());
    for (char c : raw)
      if (c != '\r') line.push_back(c);
  }
  pos_ = next;
}

bool TextReader::Eof() const {
  return pos_ >= data_.size() || data_[pos_] == kCtrlZ;
}

}  // namespace platform
